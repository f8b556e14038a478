// Per-step geometry and stress terms against their rest values.
#include <gtest/gtest.h>

#include <cmath>

#include "support/superficie.h"

using namespace tevra;

namespace {

int id(const ObjDeformavel& o, int i, int j) { return i * o.grade_j + j; }

void passo1(ObjDeformavel& o) {
    o.calcularNormais(1);
    o.atualizarGeometria(1);
}

TEST(Geometria, EmRepousoNenhumaTensao) {
    auto o = tubo(6, 5, 1.0, 2.0);
    pesos(*o, 3.0, 0.5, 0.25);
    o->inicializar();
    passo1(*o);
    EXPECT_EQ(o->massa, o->densidade0);
    for (int v = 0; v < o->numNos(); ++v)
        for (int a = 0; a < 4; ++a) {
            EXPECT_EQ(o->nos.dG[a][v], 0.0);
            EXPECT_EQ(o->nos.B[a][v], o->nos.B0[a][v]);
            EXPECT_EQ(o->alfa[a][v], 0.0);
            EXPECT_EQ(o->beta[a][v], 0.0);
            EXPECT_EQ(o->nos.psiG[a][v], 0.0);
            EXPECT_EQ(o->nos.psiB[a][v], 0.0);
            EXPECT_EQ(o->divBeta[a][v], 0.0);
            EXPECT_EQ(o->nos.divBetaNo[a][v], 0.0);
        }
}

TEST(Geometria, FolhaEsticadaEmXDobraAreaEMetadeDaDensidade) {
    auto o = folhaPlana(3, 3, 2, 2, 0);
    const double eta00 = 1.5;
    o->eta[0][0] = eta00;
    o->inicializar();
    for (int v = 0; v < o->numNos(); ++v) o->pos[0][v] *= 2.0;
    passo1(*o);
    EXPECT_EQ(o->area, 2.0 * o->area0);
    EXPECT_EQ(o->massa, o->densidade0 / 2.0);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            const int v = id(*o, i, j);
            EXPECT_EQ(o->nos.G[0][v], 4.0 * o->nos.G0[0][v]);
            const double h = o->nos.H0[0][v];
            const double esperado = i < 2 ? 3.0 * eta00 * h * h * 3.0 * o->nos.G0[0][v] * 0.5 : 0.0;
            EXPECT_DOUBLE_EQ(o->alfa[0][v], esperado) << i << "," << j;
            for (int a = 0; a < 4; ++a) {
                EXPECT_EQ(o->beta[a][v], 0.0);
                EXPECT_EQ(o->nos.B[a][v], 0.0);
            }
        }
}

TEST(Geometria, FolhaPlanaEsticadaZeraAsBordasDosTermos) {
    auto o = folhaPlana(5, 4, 2, 3, 0);
    pesos(*o, 2.0, 1.0, 0.0);
    o->inicializar();
    for (int v = 0; v < o->numNos(); ++v) {
        o->pos[0][v] *= 1.3;
        o->pos[1][v] *= 0.8;
    }
    passo1(*o);
    for (int j = 0; j < 4; ++j) {
        const int ult = id(*o, 4, j);
        EXPECT_EQ(o->alfa[0][ult], 0.0);
        EXPECT_EQ(o->alfa[1][ult], 0.0);
        EXPECT_EQ(o->alfa[2][ult], 0.0);
        if (j < 3)
            EXPECT_NE(o->alfa[3][ult], 0.0) << "the (1,1) term only needs a next node along j";
        else
            EXPECT_EQ(o->alfa[3][ult], 0.0);
        EXPECT_EQ(o->beta[0][id(*o, 0, j)], 0.0);
        EXPECT_EQ(o->beta[0][ult], 0.0);
    }
    EXPECT_NE(o->alfa[0][id(*o, 0, 0)], 0.0);
}

TEST(Geometria, DivBetaNaPrimeiraLinhaEhSoOProprioTermo) {
    auto o = tubo(6, 6, 1.0, 3.0);
    pesos(*o, 1.0, 2.0, 0.5);
    o->inicializar();
    for (int v = 0; v < o->numNos(); ++v) o->pos[1][v] *= 1.0 + 0.05 * (v % 5);
    passo1(*o);
    for (int j = 0; j < 6; ++j)
        for (int k = 0; k < 2; ++k) {
            const int v = id(*o, 0, j);
            EXPECT_EQ(o->divBeta[kl(k, 0)][v], o->beta[kl(k, 0)][v] / o->delta[0]);
        }
    // Inside: a backward difference along l.
    const int v = id(*o, 3, 2);
    EXPECT_EQ(o->divBeta[kl(1, 0)][v],
              o->beta[kl(1, 0)][v] / o->delta[0] - o->beta[kl(1, 0)][v - o->grade_j] / o->delta[0]);
    EXPECT_EQ(o->divBeta[kl(0, 1)][v], o->beta[kl(0, 1)][v] / o->delta[1] - o->beta[kl(0, 1)][v - 1] / o->delta[1]);
}

TEST(Geometria, NormaisSobrevivemEmGradeFina) {
    // Every cross product of a 100 x 100 sheet of 2 x 1 units is about 2e-4 long: below a
    // fixed 1e-7 on its square, but its edges are at right angles.
    auto o = folhaPlana(100, 100, 2, 1, 0);
    o->inicializar();
    for (int v = 0; v < o->numNos(); ++v) {
        EXPECT_EQ(o->nos.normal[2][v], 1.0) << v;
    }
    const int v = id(*o, 50, 50);
    for (int q = 0; q < 4; ++q) EXPECT_EQ(o->nos.normalQuadrante[q][2][v], 1.0);
}

TEST(Geometria, QuadranteDegeneradoNaoContaNaNormal) {
    auto o = folhaPlana(3, 3, 2, 2, 0);
    o->inicializar();
    // Fold node (1,2) onto the line of (1,1)-(2,1): the +i/+j quadrant of (1,1) collapses.
    const int c = id(*o, 1, 1);
    const int a = id(*o, 2, 1);
    const int b = id(*o, 1, 2);
    o->pos[0][b] = o->pos[0][c] + 2.0 * (o->pos[0][a] - o->pos[0][c]);
    o->pos[1][b] = o->pos[1][c];
    o->calcularNormais(1);
    for (int k = 0; k < 3; ++k) EXPECT_EQ(o->nos.normalQuadrante[0][k][c], 0.0);
    EXPECT_EQ(o->nos.normal[2][c], 1.0);
}

TEST(Geometria, MetricaDegeneradaTemInversaNula) {
    auto o = folhaPlana(3, 3, 2, 2, 0);
    o->inicializar();
    for (int v = 0; v < o->numNos(); ++v) o->pos[1][v] = 0.0;  // the sheet collapses onto a line
    passo1(*o);
    for (int v = 0; v < o->numNos(); ++v) {
        EXPECT_EQ(o->nos.detG[v], 0.0);
        for (int a = 0; a < 4; ++a) EXPECT_EQ(o->nos.Ginv[a][v], 0.0);
        EXPECT_EQ(o->nos.normal[2][v], 0.0);
    }
    EXPECT_EQ(o->area, 0.0);
    EXPECT_TRUE(std::isinf(o->massa));
}

TEST(Geometria, DerivadasNasBordas) {
    auto o = folhaPlana(3, 4, 2, 3, 0);
    o->inicializar();
    for (int v = 0; v < o->numNos(); ++v) o->pos[2][v] = 0.1 * v * v;
    const auto P = [&](int i, int j) { return o->pos[2][id(*o, i, j)]; };
    EXPECT_EQ(o->derivada(0, 0, 0).z, (P(1, 0) - P(0, 0)) / o->delta[0]);
    EXPECT_EQ(o->derivada(2, 1, 0).z, (P(2, 1) - P(1, 1)) / o->delta[0]);
    EXPECT_EQ(o->derivada(1, 3, 1).z, (P(1, 3) - P(1, 2)) / o->delta[1]);
    const double dd = o->delta[0] * o->delta[1];
    EXPECT_EQ(o->derivadaSegunda(0, 0, 0, 1).z, (((P(1, 1) - P(1, 0)) - P(0, 1)) + P(0, 0)) / dd);
    EXPECT_EQ(o->derivadaSegunda(0, 3, 1, 0).z, (((P(1, 2) - P(1, 3)) - P(0, 2)) + P(0, 3)) / dd);
    EXPECT_EQ(o->derivadaSegunda(2, 1, 0, 1).z, (((P(1, 2) - P(1, 1)) - P(2, 2)) + P(2, 1)) / dd);
    EXPECT_EQ(o->derivadaSegunda(2, 3, 0, 1).z, (((P(1, 2) - P(1, 3)) - P(2, 2)) + P(2, 3)) / dd);
    const double d11 = o->delta[1] * o->delta[1];
    EXPECT_EQ(o->derivadaSegunda(1, 1, 1, 1).z, ((P(1, 2) - 2.0 * P(1, 1)) + P(1, 0)) / d11);
    EXPECT_EQ(o->derivadaSegunda(2, 0, 1, 1).z, (((P(1, 1) - P(1, 0)) - P(2, 1)) + P(2, 0)) / d11);
    const double d00 = o->delta[0] * o->delta[0];
    EXPECT_EQ(o->derivadaSegunda(0, 3, 0, 0).z, (((P(1, 2) - P(1, 3)) - P(0, 2)) + P(0, 3)) / d00);
    EXPECT_EQ(o->derivadaSegunda(1, 2, 0, 0).z, ((P(2, 2) - 2.0 * P(1, 2)) + P(0, 2)) / d00);
}

}  // namespace
