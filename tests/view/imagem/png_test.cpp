// PNG pictures as written: read back by libpng's own reader they give the pixels drawn
// (alpha left out), and a picture that cannot be written leaves no file behind.
#include <gtest/gtest.h>

#include "support/arquivos_teste.h"
#include "support/png_teste.h"
#include "view/imagem/png.h"

using namespace tevra;

namespace {

// Every pixel different, so that no row or channel can be confused with another.
Imagem padrao(int l, int a) {
    Imagem img;
    img.alocar(l, a);
    for (int y = 0; y < a; ++y)
        for (int x = 0; x < l; ++x) {
            auto* p = img.rgba.data() + (static_cast<std::size_t>(y) * l + x) * 4;
            p[0] = static_cast<std::uint8_t>(x * 7 + y);
            p[1] = static_cast<std::uint8_t>(y * 13 + x * 3);
            p[2] = static_cast<std::uint8_t>((x ^ y) * 5);
            p[3] = static_cast<std::uint8_t>(x);  // not kept: pictures are opaque
        }
    return img;
}

TEST(Png, LidoDeVoltaDaOsMesmosPixelsOpacos) {
    for (auto [l, a] : {std::pair{1, 1}, std::pair{3, 2}, std::pair{599, 507}, std::pair{64, 1}}) {
        const Imagem img = padrao(l, a);
        const Imagem lida = lerPng(codificarPng(img));
        ASSERT_EQ(lida.largura, l);
        ASSERT_EQ(lida.altura, a);
        EXPECT_EQ(pixelsDiferentes(img, lida), 0) << l << "x" << a;
        for (std::size_t k = 3; k < lida.rgba.size(); k += 4) ASSERT_EQ(lida.rgba[k], 255);
    }
}

TEST(Png, ArquivoCompletoOuAusente) {
    PastaTemporaria pasta;
    const Imagem img = padrao(40, 30);
    EXPECT_FALSE(gravarPng(pasta / "a.png", img));
    EXPECT_EQ(pixelsDiferentes(lerPng(pasta / "a.png"), img), 0);

    // A folder that does not exist: the failure names the file, and nothing is left.
    const auto ruim = gravarPng(pasta / "nao" / "b.png", img);
    ASSERT_TRUE(ruim);
    EXPECT_NE(ruim->texto().find("b.png"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(pasta / "nao"));

    // A picture without pixels is not a PNG.
    EXPECT_TRUE(codificarPng(Imagem{}).empty());
    EXPECT_TRUE(gravarPng(pasta / "vazia.png", Imagem{}));
    EXPECT_FALSE(std::filesystem::exists(pasta / "vazia.png"));
    std::size_t arquivos = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(*pasta)) ++arquivos;
    EXPECT_EQ(arquivos, 1u) << "no temporary file stays";
}

}  // namespace
