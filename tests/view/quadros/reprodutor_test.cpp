// The player's states: which frame is on screen and whether it plays.
#include <gtest/gtest.h>

#include <vector>

#include "view/quadros/reprodutor.h"

using namespace tevra;

namespace {

Reprodutor em(int quadros, int atual, bool tocando) {
    Reprodutor r;
    r.numQuadros = quadros;
    r.quadroAtual = atual;
    r.tocando = tocando;
    return r;
}

TEST(Reprodutor, TocarEPausarAlternamEORecomecoSaiDoUltimoQuadro) {
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

TEST(Reprodutor, SaltosEPassos) {
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

TEST(Reprodutor, ReproducaoVaiAteOUltimoQuadroEParaAli) {
    Reprodutor r = em(3, 1, true);
    std::vector<int> vistos;
    while (r.tocando) {
        vistos.push_back(r.quadroAtual);      // the picture
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
