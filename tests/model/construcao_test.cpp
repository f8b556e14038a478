// Rest shape and rest geometry of the two surfaces.
#include <gtest/gtest.h>

#include <cmath>

#include "support/superficie.h"

using namespace tevra;

namespace {

int id(const ObjDeformavel& o, int i, int j) { return i * o.grade_j + j; }

TEST(Construcao, FolhaTresPorTresTemMetricaAreaENormaisDoPlano) {
    auto o = folhaPlana(3, 3, 2, 2, 0);
    o->inicializar();
    EXPECT_EQ(o->delta[0], 0.5);
    EXPECT_EQ(o->delta[1], 0.5);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            const int v = id(*o, i, j);
            EXPECT_EQ(o->pos[0][v], -1.0 + i);
            EXPECT_EQ(o->pos[1][v], -1.0 + j);
            EXPECT_EQ(o->pos[2][v], 0.0);
            EXPECT_EQ(o->posAnterior[0][v], o->pos[0][v]);
            EXPECT_EQ(o->nos.G0[0][v], 4.0);
            EXPECT_EQ(o->nos.G0[1][v], 0.0);
            EXPECT_EQ(o->nos.G0[2][v], 0.0);
            EXPECT_EQ(o->nos.G0[3][v], 4.0);
            EXPECT_EQ(o->nos.detG[v], 16.0);
            EXPECT_EQ(o->nos.Ginv[0][v], 0.25);
            EXPECT_EQ(o->nos.H0[3][v], 0.25);
            EXPECT_EQ(o->nos.normal[0][v], 0.0);
            EXPECT_EQ(o->nos.normal[1][v], 0.0);
            EXPECT_EQ(o->nos.normal[2][v], 1.0);
            for (int a = 0; a < 4; ++a) {
                EXPECT_EQ(o->nos.B[a][v], 0.0);
                EXPECT_EQ(o->nos.B0[a][v], 0.0);
            }
        }
    EXPECT_EQ(o->area0, 4.0);
    EXPECT_EQ(o->area, 4.0);
    EXPECT_EQ(o->densidade0, 0.25);
    EXPECT_EQ(o->massa, 1.0) << "the total mass stays until the first step";
}

TEST(Construcao, CantoTemUmQuadranteValidoEOsOutrosMarcados) {
    auto o = folhaPlana(3, 3, 2, 2, 0);
    o->inicializar();
    const int v = id(*o, 0, 0);
    EXPECT_EQ(o->nos.normalQuadrante[0][2][v], 1.0);
    for (int q = 1; q < 4; ++q) {
        EXPECT_EQ(o->nos.normalQuadrante[q][0][v], 0.0);
        EXPECT_EQ(o->nos.normalQuadrante[q][1][v], -10.0);
        EXPECT_EQ(o->nos.normalQuadrante[q][2][v], 0.0);
    }
    // The far corner opens only the -i/-j quadrant.
    const int w = id(*o, 2, 2);
    EXPECT_EQ(o->nos.normalQuadrante[2][2][w], 1.0);
    EXPECT_EQ(o->nos.normalQuadrante[0][1][w], -10.0);
}

TEST(Construcao, FolhaInclinadaSobeEmYEZ) {
    auto o = folhaPlana(5, 4, 3, 4, 3);
    o->inicializar();
    const int ult = id(*o, 4, 3);
    EXPECT_EQ(o->pos[0][ult], 1.5);
    EXPECT_EQ(o->pos[1][ult], 2.0);
    EXPECT_EQ(o->pos[2][ult], 1.5);
    EXPECT_NEAR(o->area0, 3.0 * 5.0, 1e-12);
    EXPECT_NEAR(o->nos.normal[1][id(*o, 2, 1)], -0.6, 1e-15);
    EXPECT_NEAR(o->nos.normal[2][id(*o, 2, 1)], 0.8, 1e-15);
}

TEST(Construcao, CilindroUsaSuaConstanteEDeixaAPontaSemNo) {
    auto o = tubo(4, 5, 2.0, 10.0);
    o->velInicial = {0.5, -1, 2};
    o->inicializar();
    const double dTheta = 6.28318530719586 / 4;
    EXPECT_EQ(o->delta[0], dTheta);
    EXPECT_EQ(o->delta[1], 2.0);
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 5; ++j) {
            const int v = id(*o, i, j);
            EXPECT_EQ(o->pos[0][v], -5.0 + 2.0 * j);
            EXPECT_EQ(o->pos[1][v], 2.0 * std::cos(i * dTheta));
            EXPECT_EQ(o->pos[2][v], 2.0 * std::sin(i * dTheta));
            EXPECT_EQ(o->vel[2][v], 2.0);
            EXPECT_EQ(o->velAnterior[0][v], 0.5);
        }
    // Node i = 3 has no neighbour i = 4: its (0,0) second difference is the one-sided cell stencil.
    const Vetor3 d = o->derivadaSegunda(3, 1, 0, 0);
    const auto P = [&](int i, int j, int c) { return o->pos[c][id(*o, i, j)]; };
    for (int c = 0; c < 3; ++c) {
        const double q = ((P(2, 2, c) - P(2, 1, c)) - P(3, 2, c)) + P(3, 1, c);
        EXPECT_EQ(d[c], q / (dTheta * dTheta));
    }
}

TEST(Construcao, ChristoffelSoComEspacamentoGrosso) {
    // 10 x 10: spacing product 1/729 > 1e-4, the symbols of a curved surface are computed.
    auto grosso = tubo(10, 10, 1.0, 1.0);
    grosso->inicializar();
    double soma = 0;
    for (int a = 0; a < 8; ++a)
        for (int v = 0; v < grosso->numNos(); ++v) soma += std::fabs(grosso->nos.christoffel[a][v]);
    EXPECT_GT(soma, 0.0);
    for (int m = 0; m < 2; ++m)
        for (int v = 0; v < grosso->numNos(); ++v)
            EXPECT_EQ(grosso->nos.christoffel[mkl(m, 1, 0)][v], grosso->nos.christoffel[mkl(m, 0, 1)][v]);

    // 30 x 30 unit sheet: spacing product about 4.1e-5, every symbol stays a plain zero.
    auto fino = folhaPlana(30, 30, 1, 1, 0);
    fino->inicializar();
    for (int v = 0; v < fino->numNos(); ++v) fino->pos[2][v] = 0.01 * (v % 7);
    fino->calcularNormais(1);
    fino->atualizarGeometria(1);
    for (int a = 0; a < 8; ++a)
        for (int v = 0; v < fino->numNos(); ++v) {
            EXPECT_EQ(fino->nos.christoffel[a][v], 0.0);
            EXPECT_FALSE(std::signbit(fino->nos.christoffel[a][v]));
        }
}

TEST(Construcao, ObjetoInvalidoEhRecusado) {
    auto o = folhaPlana(3, 3, 1, 1, 0);
    o->objeto = 1;
    EXPECT_THROW(o->inicializar(), ObjetoInvalido);
    try {
        o->inicializar();
    } catch (const ObjetoInvalido& e) {
        EXPECT_STREQ(e.what(), "Objeto invalido!");
    }
}

TEST(Construcao, MemoriaPorNoCabeNoOrcamento) {
    EXPECT_LT(ObjDeformavel::bytesPorNo(SolverEulerSemiExplicito), 1200u);
    EXPECT_LT(ObjDeformavel::bytesPorNo(SolverRungeKutta), 1200u);
    EXPECT_GT(ObjDeformavel::bytesNecessarios(100000, 100000, SolverVerlet), 1000000000000ULL);
}

}  // namespace
