// PNG pictures as written: read back by libpng's own reader they give the pixels drawn
// (alpha left out); the chunks are in order with good CRCs and the image data is one zlib
// stream that zlib's inflater takes; and a picture that cannot be written leaves no file.
#include <gtest/gtest.h>
#include <zlib.h>

#include <array>
#include <random>

#include "support/arquivos_teste.h"
#include "support/png_teste.h"
#include "view/imagem/deflate.h"
#include "view/imagem/png.h"

using namespace tevra;

namespace {

using Pixel = std::array<std::uint8_t, 4>;

template <class F>
Imagem desenhar(int l, int a, F cor) {
    Imagem img;
    img.alocar(l, a);
    for (int y = 0; y < a; ++y)
        for (int x = 0; x < l; ++x) {
            const Pixel p = cor(x, y);
            std::copy(p.begin(), p.end(), img.rgba.begin() + (static_cast<std::ptrdiff_t>(y) * l + x) * 4);
        }
    return img;
}

// Every pixel different, so that no row or channel can be confused with another.
Imagem padrao(int l, int a) {
    return desenhar(l, a, [](int x, int y) {
        return Pixel{static_cast<std::uint8_t>(x * 7 + y), static_cast<std::uint8_t>(y * 13 + x * 3),
                     static_cast<std::uint8_t>((x ^ y) * 5), static_cast<std::uint8_t>(x)};  // alpha: not kept
    });
}

std::uint32_t be32(const std::string& b, std::size_t p) {
    std::uint32_t v = 0;
    for (int k = 0; k < 4; ++k) v = v << 8 | static_cast<unsigned char>(b[p + k]);
    return v;
}

// The file chunk by chunk: names in order, each CRC checked, the IDATs' data joined.
struct Chunks {
    std::vector<std::string> nomes;
    std::string dados;
    bool crcs = true;
};
Chunks lerChunks(const std::string& png) {
    Chunks c;
    for (std::size_t p = 8; p + 12 <= png.size();) {
        const std::uint32_t n = be32(png, p);
        if (p + 12 + n > png.size()) break;
        c.nomes.push_back(png.substr(p + 4, 4));
        const auto* tipoEDados = reinterpret_cast<const Bytef*>(png.data() + p + 4);
        c.crcs = c.crcs && crc32(0, tipoEDados, 4 + n) == be32(png, p + 8 + n);
        if (c.nomes.back() == "IDAT") c.dados += png.substr(p + 8, n);
        p += 12 + n;
    }
    return c;
}

// Encodes and checks everything about the file; its bytes.
std::string conferir(const Imagem& img, const std::string& caso) {
    SCOPED_TRACE(caso + " " + std::to_string(img.largura) + "x" + std::to_string(img.altura));
    const std::string png = codificarPng(img);
    const Imagem lida = lerPng(png);
    EXPECT_EQ(lida.largura, img.largura);
    EXPECT_EQ(lida.altura, img.altura);
    EXPECT_EQ(pixelsDiferentes(img, lida), 0);
    for (std::size_t k = 3; k < lida.rgba.size(); k += 4)
        if (lida.rgba[k] != 255) {
            ADD_FAILURE() << "alpha " << int(lida.rgba[k]) << " at byte " << k;
            break;
        }

    const Chunks c = lerChunks(png);
    EXPECT_EQ(png.substr(0, 8), "\x89PNG\r\n\x1a\n");
    EXPECT_TRUE(c.crcs);
    if (c.nomes.size() < 3) {
        ADD_FAILURE() << "chunks: " << c.nomes.size();
        return png;
    }
    EXPECT_EQ(c.nomes.front(), "IHDR");
    EXPECT_EQ(c.nomes.back(), "IEND");
    for (std::size_t k = 1; k + 1 < c.nomes.size(); ++k) EXPECT_EQ(c.nomes[k], "IDAT");
    // Each row is a filter byte and 3 bytes a pixel: exactly that, with the stream's check.
    const std::size_t esperado = static_cast<std::size_t>(img.altura) * (3 * static_cast<std::size_t>(img.largura) + 1);
    std::vector<Bytef> bruto(esperado + 1);
    uLongf n = bruto.size();
    EXPECT_EQ(uncompress(bruto.data(), &n, reinterpret_cast<const Bytef*>(c.dados.data()), c.dados.size()), Z_OK);
    EXPECT_EQ(n, esperado);
    return png;
}

Imagem ruido(int l, int a, std::uint32_t semente) {
    std::mt19937 g(semente);
    return desenhar(l, a, [&](int, int) {
        const std::uint32_t v = g();
        return Pixel{static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
                     static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)};
    });
}

TEST(Png, TamanhosDeUmPixelAUmQuadroInteiro) {
    for (auto [l, a] : {std::pair{1, 1}, std::pair{1, 9}, std::pair{9, 1}, std::pair{3, 2}, std::pair{5, 7},
                        std::pair{64, 1}, std::pair{599, 507}, std::pair{600, 600}})
        conferir(padrao(l, a), "pattern");
}

TEST(Png, ConteudosDeTodoTipo) {
    for (auto [l, a] : {std::pair{600, 600}, std::pair{37, 41}}) {
        conferir(desenhar(l, a, [](int, int) { return Pixel{0, 0, 0, 255}; }), "black");
        conferir(desenhar(l, a, [](int, int) { return Pixel{200, 100, 50, 255}; }), "one colour");
        conferir(ruido(l, a, 1), "noise");
        conferir(desenhar(l, a,
                          [](int x, int y) {
                              return Pixel{static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y),
                                           static_cast<std::uint8_t>(x + y), 255};
                          }),
                 "gradient");
        // Rows in groups of five that repeat the row above; every group different.
        const Imagem base = ruido(l, a, 2);
        conferir(desenhar(l, a,
                          [&](int x, int y) {
                              const auto* p = base.pixel(x, y / 5 * 5);
                              return Pixel{p[0], p[1], p[2], p[3]};
                          }),
                 "repeated rows");
    }
    // Runs of one byte (a row of one grey less the row above) across many 258-byte matches,
    // between noise, so that blocks close in the middle of runs.
    const Imagem base = ruido(1000, 60, 3);
    conferir(desenhar(1000, 60,
                      [&](int x, int y) {
                          const auto* p = base.pixel(x, y);
                          if (x >= (y * 97) % 500 && x < (y * 97) % 500 + 300 + y * 7)
                              return Pixel{p[0], p[1], p[2], 255};
                          const auto g = static_cast<std::uint8_t>(y * 37);
                          return Pixel{g, g, g, 255};
                      }),
             "runs");
}

TEST(Png, QuasePretaComUmaSuperficieTexturizada) {
    // The window's camera: a small surface in the middle of black, moving a little from one
    // row to the next so that the rows match the one above only at both ends.
    const Imagem textura = ruido(64, 64, 5);
    const Imagem img = desenhar(600, 600, [&](int x, int y) {
        const int x0 = 250 + (y - 250) / 3;
        if (y < 250 || y >= 360 || x < x0 || x >= x0 + 90) return Pixel{0, 0, 0, 255};
        const auto* t = textura.pixel((x - x0) * 64 / 90, (y - 250) * 64 / 110);
        return Pixel{t[0], t[1], static_cast<std::uint8_t>(t[2] | 0x80), 255};
    });
    conferir(img, "mostly black");

    // One channel of one pixel changed at each place along a row, and two apart, in a
    // picture otherwise one colour: the stretches that match the row above end exactly there.
    for (const int l : {1, 2, 3, 4, 5, 8, 9, 17}) {
        conferir(desenhar(l, 6 * l + 1,
                          [&](int x, int y) {
                              Pixel p{1, 2, 3, 255};
                              if (y % 2 == 1 && (x == y / 6 || x == y / 6 + 2)) p[y / 2 % 3] ^= 1;
                              return p;
                          }),
                 "one channel changed");
    }
}

TEST(Png, PretaEmPoucosBytesRuidoEmMuitosBlocos) {
    const Imagem preta = desenhar(600, 600, [](int, int) { return Pixel{0, 0, 0, 255}; });
    EXPECT_LT(conferir(preta, "black").size(), 4000u);
    // A literal for every byte: the stream is many blocks, each with its own codes.
    ASSERT_GT(600 * 600 * 3, 20 * static_cast<int>(CompressorDeflate::kSimbolosPorBloco));
    EXPECT_LT(conferir(ruido(600, 600, 6), "noise").size(), 600 * 600 * 3 * 101 / 100);
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

    // A picture without pixels is not a PNG, nor one whose pixels do not fill its size.
    EXPECT_TRUE(codificarPng(Imagem{}).empty());
    Imagem curta = padrao(4, 4);
    curta.rgba.pop_back();
    EXPECT_TRUE(codificarPng(curta).empty());
    EXPECT_TRUE(gravarPng(pasta / "vazia.png", Imagem{}));
    EXPECT_FALSE(std::filesystem::exists(pasta / "vazia.png"));
    std::size_t arquivos = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(*pasta)) ++arquivos;
    EXPECT_EQ(arquivos, 1u) << "no temporary file stays";
}

}  // namespace
