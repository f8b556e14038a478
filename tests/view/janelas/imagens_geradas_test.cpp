// The images in assets/ are the generator's output, byte for byte, and well-formed BMPs.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "support/arquivos_teste.h"

namespace {

const char* const kImagens[] = {"flag_brasil_hi_4.bmp", "play_blue24_h.bmp",   "pause_blue24_h.bmp",
                                "stop_blue24_h.bmp",    "first_blue24_h.bmp",  "last_blue24_h.bmp",
                                "back_blue24_h.bmp",    "forward_blue24_h.bmp"};

std::uint32_t u32(const std::string& b, std::size_t p) {
    return static_cast<std::uint8_t>(b[p]) | static_cast<std::uint8_t>(b[p + 1]) << 8 |
           static_cast<std::uint8_t>(b[p + 2]) << 16 |
           static_cast<std::uint32_t>(static_cast<std::uint8_t>(b[p + 3])) << 24;
}

TEST(ImagensGeradas, ImagensDeAssetsSaoAsQueOGeradorDesenha) {
    PastaTemporaria pasta;
    const std::string cmd = std::string("'") + TEVRA_GERAR_IMAGENS + "' '" + (*pasta).string() + "'";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
    for (const char* nome : kImagens) {
        const std::string novo = lerArquivo(*pasta / nome);
        const std::string guardado = lerArquivo(std::filesystem::path(TEVRA_SOURCE_DIR) / "assets" / nome);
        ASSERT_FALSE(guardado.empty()) << nome;
        EXPECT_TRUE(novo == guardado) << nome << " differs from the generator's output";

        // 24-bit uncompressed BMP; glyphs 24 x 24, the texture within 256 x 256.
        ASSERT_GT(guardado.size(), 54u);
        EXPECT_EQ(guardado.substr(0, 2), "BM");
        EXPECT_EQ(u32(guardado, 2), guardado.size());
        EXPECT_EQ(static_cast<std::uint8_t>(guardado[28]), 24) << nome;
        EXPECT_EQ(u32(guardado, 30), 0u);
        const std::uint32_t largura = u32(guardado, 18), altura = u32(guardado, 22);
        if (std::string(nome).find("flag") == 0) {
            EXPECT_LE(largura, 256u);
            EXPECT_LE(altura, 256u);
        } else {
            EXPECT_EQ(largura, 24u);
            EXPECT_EQ(altura, 24u);
            // The top-left corner is the transparent magenta (rows are stored bottom-up).
            const std::size_t canto = 54 + 23 * 72;
            EXPECT_EQ(static_cast<std::uint8_t>(guardado[canto]), 255);
            EXPECT_EQ(static_cast<std::uint8_t>(guardado[canto + 1]), 0);
            EXPECT_EQ(static_cast<std::uint8_t>(guardado[canto + 2]), 255);
        }
    }
}

}  // namespace
