// Input quoted in a message: control bytes escaped, printable text (UTF-8 too) unchanged.
#include <gtest/gtest.h>

#include <string>

#include "base/conversao.h"
#include "base/texto_imprimivel.h"

using namespace tevra;

namespace {

TEST(TextoImprimivel, ControlesViramEscapesEOResto) {
    using namespace std::string_literals;
    EXPECT_EQ(textoImprimivel("a\0b"s), "a\\x00b");
    EXPECT_EQ(textoImprimivel("\x1b[2J"), "\\x1B[2J") << "no terminal escape reaches the screen";
    EXPECT_EQ(textoImprimivel("x\ry\nz\t\x7f"), "x\\x0Dy\\x0Az\\x09\\x7F");
    EXPECT_EQ(textoImprimivel("\xc2\x85"), "\\xC2\\x85") << "C1 control NEL, well-formed UTF-8";
    EXPECT_EQ(textoImprimivel("\xe7\xe3o"), "\\xE7\\xE3o") << "ISO 8859-1 bytes are not UTF-8";
    EXPECT_EQ(textoImprimivel("\xc3"), "\\xC3") << "a sequence cut by the end";
    EXPECT_EQ(textoImprimivel("\xc0\xaf"), "\\xC0\\xAF") << "overlong form";
    EXPECT_EQ(textoImprimivel("\xed\xa0\x80"), "\\xED\\xA0\\x80") << "surrogate";
    EXPECT_EQ(textoImprimivel("\xf4\x90\x80\x80"), "\\xF4\\x90\\x80\\x80") << "above U+10FFFF";
}

TEST(TextoImprimivel, TextoImprimivelFicaComoEsta) {
    for (const char* t : {"", "massa = 1,5", "'quote' \\ back", "Aceleração", "ζ ξ ψ", "日本", "😀", "\xc2\xa0nbsp",
                          "~!@#$%^&*()_+{}|:<>?"})
        EXPECT_EQ(textoImprimivel(t), t);
}

TEST(TextoImprimivel, MensagensDeConversaoCitamSemControles) {
    using namespace std::string_literals;
    EXPECT_EQ(mensagemRealInvalido("1\0"s), "'1\\x00' is not a valid floating point value");
    EXPECT_EQ(mensagemInteiroInvalido("\x07"), "'\\x07' is not a valid integer value");
    EXPECT_EQ(mensagemRealInvalido("ação"), "'ação' is not a valid floating point value");
}

}  // namespace
