// The surface's quads, texture coordinates and texture, and the player's states.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "view/gl/malha.h"
#include "view/quadros/reprodutor.h"

using namespace tevra;

namespace {

std::vector<std::pair<int, int>> quads(int ni, int nj, bool fechada) {
    std::vector<std::pair<int, int>> r;
    percorrerQuads(ni, nj, fechada, [&](int k, int m) { r.emplace_back(k, m); });
    return r;
}

TEST(Malha, OpenGridQuadsSkipTheEndOfEachRow) {
    // 3 x 4: near sides start at 0, 1, 2 and 4, 5, 6; the far side is one row (4 nodes) on.
    const std::vector<std::pair<int, int>> esperado = {{0, 4}, {1, 5}, {2, 6}, {4, 8}, {5, 9}, {6, 10}};
    EXPECT_EQ(quads(3, 4, false), esperado);
}

TEST(Malha, ClosedGridAddsTheStripBackToRowZero) {
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

TEST(Malha, DegenerateGridsDrawNothing) {
    EXPECT_TRUE(quads(5, 1, false).empty());
    EXPECT_TRUE(quads(5, 1, true).empty());
    EXPECT_TRUE(quads(0, 4, true).empty());
    EXPECT_TRUE(quads(1, 4, false).empty());
    EXPECT_TRUE(quads(-2, 4, true).empty());
    EXPECT_TRUE(quads(3, 0, true).empty());
}

TEST(Malha, TextureCoordinatesDivideBothIndicesByTheInnerCount) {
    const CoordTextura c = coordTextura(9, 4);  // i = 2, j = 1
    EXPECT_FLOAT_EQ(c.s, 0.5f);
    EXPECT_FLOAT_EQ(c.t, 0.25f);
    const CoordTextura d = coordTextura(14, 5);  // i = 2, j = 4 of a 3 x 5 grid: s over 5, not 3
    EXPECT_FLOAT_EQ(d.s, 0.4f);
    EXPECT_FLOAT_EQ(d.t, 0.8f);
}

TEST(Malha, TextureIsTheTransposedImageOnWhite) {
    // A 3 x 2 image whose pixel (x, y) is 0x00BBGGRR = (x, y, 7).
    const auto cor = [](int x, int y) { return static_cast<std::uint32_t>(x) | static_cast<std::uint32_t>(y) << 8 | 7u << 16; };
    const std::vector<std::uint8_t> t = montarTextura(3, 2, cor);
    ASSERT_EQ(t.size(), 256u * 256u * 4u);
    auto texel = [&](int r, int c) { return std::vector<int>(t.begin() + (r * 256 + c) * 4, t.begin() + (r * 256 + c) * 4 + 4); };
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

// ---- The player --------------------------------------------------------------------------

Reprodutor em(int quadros, int atual, bool tocando) {
    Reprodutor r;
    r.numQuadros = quadros;
    r.quadroAtual = atual;
    r.tocando = tocando;
    return r;
}

TEST(Reprodutor, PlayPauseToggleAndRestartFromTheLastFrame) {
    Reprodutor r = em(10, 4, false);
    r.playPause();
    EXPECT_TRUE(r.tocando);
    EXPECT_EQ(r.quadroAtual, 4);
    r.playPause();
    EXPECT_FALSE(r.tocando);
    EXPECT_EQ(r.quadroAtual, 4);

    r = em(10, 10, false);  // paused on the last frame: play again from the start
    r.playPause();
    EXPECT_TRUE(r.tocando);
    EXPECT_EQ(r.quadroAtual, 1);

    r = em(10, 10, true);  // playing on the last frame: only pauses
    r.playPause();
    EXPECT_FALSE(r.tocando);
    EXPECT_EQ(r.quadroAtual, 10);
}

TEST(Reprodutor, JumpsAndSteps) {
    for (bool tocando : {false, true}) {
        Reprodutor r = em(10, 6, tocando);
        r.parar();
        EXPECT_EQ(r.quadroAtual, 1);
        EXPECT_FALSE(r.tocando);

        r = em(10, 6, tocando);
        r.irParaPrimeiro();
        EXPECT_EQ(r.quadroAtual, 1);
        EXPECT_EQ(r.tocando, tocando);

        r = em(10, 6, tocando);
        r.irParaUltimo();
        EXPECT_EQ(r.quadroAtual, 10);
        EXPECT_FALSE(r.tocando);

        r = em(10, 6, tocando);
        r.reiniciar();
        EXPECT_EQ(r.quadroAtual, 1);
        EXPECT_TRUE(r.tocando);
    }
    Reprodutor r = em(3, 1, false);
    EXPECT_FALSE(r.voltar());
    EXPECT_EQ(r.quadroAtual, 1);
    EXPECT_TRUE(r.avancar());
    EXPECT_TRUE(r.avancar());
    EXPECT_FALSE(r.avancar());
    EXPECT_EQ(r.quadroAtual, 3);
    EXPECT_TRUE(r.voltar());
    EXPECT_EQ(r.quadroAtual, 2);
}

TEST(Reprodutor, PlaybackRunsToTheLastFrameAndStopsThere) {
    Reprodutor r = em(3, 1, true);
    std::vector<int> vistos;
    while (r.tocando) {
        vistos.push_back(r.quadroAtual);  // the picture
        if (r.aposImagem()) ++r.quadroAtual;  // the pause, then the next frame
    }
    EXPECT_EQ(vistos, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(r.quadroAtual, 3);

    // No frames: playing stops after the first picture; the counter stays at 1.
    r = em(0, 1, false);
    r.playPause();
    EXPECT_TRUE(r.tocando);
    EXPECT_FALSE(r.aposImagem());
    EXPECT_FALSE(r.tocando);
    EXPECT_EQ(r.quadroAtual, 1);

    // A new series keeps playing or paused as it was and restarts at 1.
    r = em(5, 4, true);
    r.carregado(7);
    EXPECT_EQ(r.quadroAtual, 1);
    EXPECT_EQ(r.numQuadros, 7);
    EXPECT_TRUE(r.tocando);
}

}  // namespace
