// The surface's quads, texture coordinates and texture.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "view/gl/malha.h"

using namespace tevra;

namespace {

std::vector<std::pair<int, int>> quads(int ni, int nj, bool fechada) {
    std::vector<std::pair<int, int>> r;
    percorrerQuads(ni, nj, fechada, [&](int k, int m) { r.emplace_back(k, m); });
    return r;
}

TEST(Malha, QuadsDaGradeAbertaPulamOFimDeCadaLinha) {
    // 3 x 4: near sides start at 0, 1, 2 and 4, 5, 6; the far side is one row (4 nodes) on.
    const std::vector<std::pair<int, int>> esperado = {{0, 4}, {1, 5}, {2, 6}, {4, 8}, {5, 9}, {6, 10}};
    EXPECT_EQ(quads(3, 4, false), esperado);
}

TEST(Malha, GradeFechadaAcrescentaAFaixaDeVoltaALinhaZero) {
    const std::vector<std::pair<int, int>> esperado = {{0, 4},  {1, 5}, {2, 6}, {4, 8}, {5, 9},
                                                       {6, 10}, {8, 0}, {9, 1}, {10, 2}};
    EXPECT_EQ(quads(3, 4, true), esperado);
    // Every vertex a quad uses (k, k + 1, m, m + 1) lies on the grid.
    for (auto [ni, nj] : {std::pair{2, 2}, std::pair{5, 3}, std::pair{1, 4}, std::pair{7, 9}})
        for (bool fechada : {false, true})
            for (auto [k, m] : quads(ni, nj, fechada)) {
                ASSERT_GE(std::min(k, m), 0);
                ASSERT_LT(std::max(k, m) + 1, ni * nj);
                ASSERT_NE((k + 1) % nj, 0) << "k on the end of a row";
                ASSERT_EQ(k % nj, m % nj) << "far side in another column";
            }
}

TEST(Malha, GradesDegeneradasNaoDesenhamNada) {
    EXPECT_TRUE(quads(5, 1, false).empty());
    EXPECT_TRUE(quads(5, 1, true).empty());
    EXPECT_TRUE(quads(0, 4, true).empty());
    EXPECT_TRUE(quads(1, 4, false).empty());
    EXPECT_TRUE(quads(-2, 4, true).empty());
    EXPECT_TRUE(quads(3, 0, true).empty());
}

TEST(Malha, CoordenadasDeTexturaDividemOsDoisIndicesPelaContagemInterna) {
    const CoordTextura c = coordTextura(9, 4);  // i = 2, j = 1
    EXPECT_FLOAT_EQ(c.s, 0.5f);
    EXPECT_FLOAT_EQ(c.t, 0.25f);
    const CoordTextura d = coordTextura(14, 5);  // i = 2, j = 4 of a 3 x 5 grid: s over 5, not 3
    EXPECT_FLOAT_EQ(d.s, 0.4f);
    EXPECT_FLOAT_EQ(d.t, 0.8f);
}

TEST(Malha, TexturaEhAImagemTranspostaSobreBranco) {
    // A 3 x 2 image whose pixel (x, y) is 0x00BBGGRR = (x, y, 7).
    const auto cor = [](int x, int y) {
        return static_cast<std::uint32_t>(x) | static_cast<std::uint32_t>(y) << 8 | 7u << 16;
    };
    const std::vector<std::uint8_t> t = montarTextura(3, 2, cor);
    ASSERT_EQ(t.size(), 256u * 256u * 4u);
    auto texel = [&](int r, int c) {
        return std::vector<int>(t.begin() + (r * 256 + c) * 4, t.begin() + (r * 256 + c) * 4 + 4);
    };
    EXPECT_EQ(texel(2, 1), (std::vector<int>{2, 1, 7, 255}));  // row r = x, column c = y
    EXPECT_EQ(texel(1, 0), (std::vector<int>{1, 0, 7, 255}));
    EXPECT_EQ(texel(1, 2), (std::vector<int>{255, 255, 255, 255}));  // y beyond the image
    EXPECT_EQ(texel(3, 0), (std::vector<int>{255, 255, 255, 255}));  // x beyond the image
    EXPECT_EQ(texel(255, 255), (std::vector<int>{255, 255, 255, 255}));

    // Of a larger image only the top-left 256 x 256 pixels are asked for.
    int maior = -1;
    montarTextura(300, 400, [&](int x, int y) {
        maior = std::max({maior, x, y});
        return 0u;
    });
    EXPECT_EQ(maior, 255);
}

}  // namespace
