// The toolkit-free BMP reader on bitmaps built byte by byte: every layout it accepts gives
// the pixels put in, and what it cannot read is refused with a reason (never a crash).
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <string>
#include <vector>

#include "base/erros.h"
#include "support/arquivos_teste.h"
#include "view/imagem/leitor_bmp.h"

using namespace tevra;

namespace {

void u16(std::string& s, std::uint32_t v) {
    s += static_cast<char>(v & 0xFF);
    s += static_cast<char>((v >> 8) & 0xFF);
}
void u32(std::string& s, std::uint32_t v) {
    u16(s, v & 0xFFFF);
    u16(s, v >> 16);
}

// A bitmap of `cores` (0x00BBGGRR, rows from the top) at `bits` a pixel. With a palette
// (1, 4, 8 bits) the colours are given by index into `paleta`; 32 bits with `mascaras`
// stores red, green, blue under those masks.
struct Bmp {
    int largura = 0;
    int altura = 0;
    int bits = 24;
    bool deCimaParaBaixo = false;
    std::vector<std::uint32_t> cores{};  // or palette indices
    std::vector<std::uint32_t> paleta{};
    std::vector<std::uint32_t> mascaras{};  // red, green, blue
    std::uint32_t compressao = 0;

    std::string bytes() const {
        const std::size_t passo = (static_cast<std::size_t>(largura) * bits + 31) / 32 * 4;
        const std::uint32_t extra = mascaras.empty() ? 0 : 12;
        const std::uint32_t inicio = 14 + 40 + extra + static_cast<std::uint32_t>(paleta.size()) * 4;
        std::string s = "BM";
        u32(s, inicio + static_cast<std::uint32_t>(passo * altura));
        u32(s, 0);
        u32(s, inicio);
        u32(s, 40);
        u32(s, static_cast<std::uint32_t>(largura));
        u32(s, static_cast<std::uint32_t>(deCimaParaBaixo ? -altura : altura));
        u16(s, 1);
        u16(s, static_cast<std::uint32_t>(bits));
        u32(s, mascaras.empty() ? compressao : 3);
        u32(s, static_cast<std::uint32_t>(passo * altura));
        u32(s, 2835);
        u32(s, 2835);
        u32(s, static_cast<std::uint32_t>(paleta.size()));
        u32(s, 0);
        for (std::uint32_t m : mascaras) u32(s, m);
        for (std::uint32_t c : paleta) {  // blue, green, red, 0
            s += static_cast<char>((c >> 16) & 0xFF);
            s += static_cast<char>((c >> 8) & 0xFF);
            s += static_cast<char>(c & 0xFF);
            s += '\0';
        }
        for (int r = 0; r < altura; ++r) {
            const int y = deCimaParaBaixo ? r : altura - 1 - r;
            std::string linha(passo, '\0');
            for (int x = 0; x < largura; ++x) {
                const std::uint32_t v = cores[static_cast<std::size_t>(y * largura + x)];
                if (bits <= 8) {
                    const std::size_t bit = static_cast<std::size_t>(x) * bits;
                    linha[bit / 8] =
                        static_cast<char>(static_cast<unsigned char>(linha[bit / 8]) | (v << (8 - bits - bit % 8)));
                } else if (bits == 24) {
                    linha[x * 3] = static_cast<char>((v >> 16) & 0xFF);
                    linha[x * 3 + 1] = static_cast<char>((v >> 8) & 0xFF);
                    linha[x * 3 + 2] = static_cast<char>(v & 0xFF);
                } else if (bits == 32) {
                    std::uint32_t bruto = 0;
                    if (mascaras.empty()) {
                        bruto = ((v & 0xFF) << 16) | (v & 0xFF00) | ((v >> 16) & 0xFF);  // BGRX in memory
                    } else {
                        const std::uint32_t canais[3] = {v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF};
                        for (int c = 0; c < 3; ++c) bruto |= canais[c] << std::countr_zero(mascaras[c]);
                    }
                    for (int k = 0; k < 4; ++k) linha[x * 4 + k] = static_cast<char>((bruto >> (8 * k)) & 0xFF);
                }
            }
            s += linha;
        }
        return s;
    }
};

std::vector<std::uint32_t> esperado(const Bmp& b) {
    if (b.paleta.empty()) return b.cores;
    std::vector<std::uint32_t> r;
    for (std::uint32_t i : b.cores) r.push_back(b.paleta[i]);
    return r;
}

void conferir(const Bmp& b) {
    const ImagemBmp img = lerBmp(std::string_view(b.bytes()));
    ASSERT_EQ(img.largura, b.largura);
    ASSERT_EQ(img.altura, b.altura);
    EXPECT_EQ(img.pixels, esperado(b)) << b.bits << " bits";
}

TEST(LeitorBmp, CadaFormatoAceitoDaOsPixelsDeCimaParaBaixo) {
    // Widths that leave padding at the end of every row.
    Bmp b24{5, 3, 24};
    for (int k = 0; k < 15; ++k) b24.cores.push_back(0x00010203u * static_cast<std::uint32_t>(k + 1) ^ 0x00C08040u);
    conferir(b24);
    Bmp deCima = b24;
    deCima.deCimaParaBaixo = true;
    conferir(deCima);

    Bmp b32{3, 2, 32, false, {0x00112233u, 0x00445566u, 0x00778899u, 0x00AABBCCu, 0x00DDEEFFu, 0x00000000u}};
    conferir(b32);
    Bmp mascarado = b32;
    mascarado.mascaras = {0x000000FFu, 0x0000FF00u, 0x00FF0000u};  // red in the low byte
    conferir(mascarado);

    const std::vector<std::uint32_t> paleta = {0x000000FFu, 0x0000FF00u, 0x00FF0000u, 0x00FFFFFFu};
    Bmp b8{7, 2, 8, false, {0, 1, 2, 3, 3, 2, 1, 1, 0, 3, 2, 0, 1, 2}, paleta};
    conferir(b8);
    Bmp b4{5, 2, 4, false, {3, 0, 1, 2, 3, 2, 2, 1, 0, 0}, paleta};
    conferir(b4);
    Bmp b1{11,
           2,
           1,
           false,
           {0, 1, 1, 0, 1, 0, 0, 0, 1, 1, 1, 1, 0, 1, 0, 1, 0, 1, 0, 1, 1, 0},
           {0x00102030u, 0x00F0E0D0u}};
    conferir(b1);
}

TEST(LeitorBmp, TexturaDistribuidaTemSeuTamanhoESuasCores) {
    const ImagemBmp img = lerBmp(std::filesystem::path(TEVRA_SOURCE_DIR) / "assets" / "flag_brasil_hi_4.bmp");
    EXPECT_EQ(img.largura, 240);
    EXPECT_EQ(img.altura, 168);
    // A flag: green at the corners, the yellow diamond around the middle, blue at the centre.
    const std::uint32_t canto = img.cor(0, 0);
    EXPECT_GT((canto >> 8) & 0xFF, (canto & 0xFF) + 50);  // green over red
    const std::uint32_t centro = img.cor(120, 84);
    EXPECT_GT((centro >> 16) & 0xFF, centro & 0xFF);  // blue over red
}

TEST(LeitorBmp, RecusaOQueNaoLeComUmMotivo) {
    Bmp b{4, 4, 24};
    b.cores.assign(16, 0x00808080u);
    const std::string bom = b.bytes();
    Bmp rle{4, 4, 8, false, std::vector<std::uint32_t>(16, 0), {0, 0xFFFFFF}};
    rle.compressao = 1;
    Bmp dezesseis{4, 4, 16, false, std::vector<std::uint32_t>(16, 0)};
    std::string semAssinatura = bom;
    semAssinatura[0] = 'X';
    std::string largura0 = bom;
    for (int k = 18; k < 22; ++k) largura0[k] = '\0';
    const std::pair<std::string, std::string> casos[] = {
        {semAssinatura, "not a BMP"},     {bom.substr(0, bom.size() - 5), "cut short"},
        {bom.substr(0, 30), "cut short"}, {rle.bytes(), "compressed"},
        {dezesseis.bytes(), "16-bit"},    {largura0, "no pixels"},
        {std::string(), "not a BMP"},
    };
    for (const auto& [bytes, motivo] : casos) {
        try {
            lerBmp(std::string_view(bytes));
            ADD_FAILURE() << "accepted: " << motivo;
        } catch (const ErroEntrada& e) {
            EXPECT_NE(std::string(e.what()).find(motivo), std::string::npos) << e.what();
        }
    }
    // From a file, the message names it.
    PastaTemporaria pasta;
    try {
        lerBmp(pasta / "nenhuma.bmp");
        ADD_FAILURE();
    } catch (const ErroEntrada& e) {
        EXPECT_NE(std::string(e.what()).find("nenhuma.bmp"), std::string::npos) << e.what();
    }
}

}  // namespace
