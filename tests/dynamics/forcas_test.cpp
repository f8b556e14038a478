// External forces and the clean-up of the elastic terms.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "dynamics/forcas.h"
#include "dynamics/restricoes.h"
#include "support/superficie.h"

using namespace tevra;

namespace {

int id(const ObjDeformavel& o, int i, int j) { return i * o.grade_j + j; }

// A flat 3 x 3 sheet at rest, geometry of step 1 computed; no elastic force.
std::unique_ptr<ObjDeformavel> folhaParada() {
    auto o = folhaPlana(3, 3, 2, 2, 0);
    o->acel = {0.0, 0.0, -9.8};
    o->inicializar();
    o->passoAtual = 2;
    o->atualizarGeometria(1);
    return o;
}

TEST(Forcas, SemFluidoSoOCampoDeAceleracao) {
    auto o = folhaParada();
    o->fluido = {5, 5, 5};  // ignored: the fluid is off
    o->fluido_cte = 3;
    usar(*o, {});
    calcularForcas(*o, 1);
    for (int v = 0; v < o->numNos(); ++v) {
        EXPECT_EQ(o->forcaExterna[0][v], 0.0);
        EXPECT_EQ(o->forcaExterna[2][v], o->massa * -9.8);
        EXPECT_EQ(o->restricaoDoNo[v], 0);
    }
}

TEST(Forcas, FluidoEmpurraAoLongoDaNormal) {
    auto o = folhaParada();
    o->acel = {};
    o->fluidoAtivo = 1;
    o->fluido_cte = 0.5;
    o->fluido = {0.3, -0.2, 2.0};
    usar(*o, {});
    calcularForcas(*o, 1);
    for (int v = 0; v < o->numNos(); ++v) {
        EXPECT_EQ(o->forcaExterna[2][v], 0.5 * 2.0 * 1.0);
        EXPECT_EQ(o->forcaExterna[0][v], 0.0);
    }
    // A flow in the sheet's plane pushes nothing; a node moving with the flow feels nothing.
    o->fluido = {1.0, 2.0, 0.0};
    for (int c = 0; c < 3; ++c) o->vel[c][4] = c == 2 ? 0.0 : 7.0;
    calcularForcas(*o, 1);
    for (int v = 0; v < o->numNos(); ++v)
        for (int c = 0; c < 3; ++c) EXPECT_EQ(o->forcaExterna[c][v], 0.0);
}

TEST(Forcas, FixacaoTiraFluidoEGravidadeDosEixosPresos) {
    auto o = folhaParada();
    o->acel = {1.0, 2.0, -9.8};
    o->fluidoAtivo = 1;
    o->fluido_cte = 1.0;
    o->fluido = {0, 0, 3};
    usar(*o, {fixa(1, 1, 1, 1, 0)});
    calcularForcas(*o, 1);
    const int v = id(*o, 1, 1);
    const double m = o->massa;
    EXPECT_EQ(o->forcaExterna[0][v], m * 1.0);
    EXPECT_EQ(o->forcaExterna[1][v], m * 2.0);
    EXPECT_EQ(o->forcaExterna[2][v], 0.0);
    EXPECT_EQ(o->forcaExterna[2][id(*o, 0, 0)], 3.0 + m * -9.8);
}

TEST(Forcas, ForcaPontualSomaAoCampoEAoFluido) {
    auto o = folhaParada();
    o->fluidoAtivo = 1;
    o->fluido_cte = 2.0;
    o->fluido = {0, 0, 1};
    usar(*o, {forca(2, 2, {0, 0, 5})});
    calcularForcas(*o, 1);
    const int v = id(*o, 2, 2);
    EXPECT_EQ(o->forcaExterna[2][v], (2.0 + o->massa * -9.8) + 5.0);
}

TEST(Forcas, LimpezaZeraSoOQueNaoPassaDe1e7) {
    auto o = folhaParada();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double valores[] = {5e-8, 2e-7, 1e-7, -1e-7, -3e-7, nan, 0.0, -0.0, 4.0};
    for (int v = 0; v < 9; ++v) {
        o->somaChapeu[0][v] = valores[v];
        o->e_tio[1][v] = valores[v];
        o->forcaExterna[2][v] = valores[v];
    }
    limparForcas(*o, 1);
    const double esperado[] = {0.0, 2e-7, 0.0, 0.0, -3e-7, nan, 0.0, 0.0, 4.0};
    for (int v = 0; v < 9; ++v) {
        if (std::isnan(esperado[v])) {
            EXPECT_TRUE(std::isnan(o->somaChapeu[0][v]));
            EXPECT_TRUE(std::isnan(o->e_tio[1][v]));
        } else {
            EXPECT_EQ(o->somaChapeu[0][v], esperado[v]) << v;
            EXPECT_EQ(o->e_tio[1][v], esperado[v]) << v;
        }
    }
    EXPECT_EQ(o->forcaExterna[2][0], 5e-8) << "the external force is not cleaned";
    EXPECT_FALSE(std::signbit(o->somaChapeu[0][3])) << "a cleaned entry is a plain zero";
}

TEST(Forcas, SuperficieEmRepousoNaoTemForcaInterna) {
    auto o = tubo(8, 6, 1.0, 2.0);
    pesos(*o, 3.0, 0.2, 0.1);
    o->inicializar();
    o->passoAtual = 2;
    o->atualizarGeometria(1);
    atualizarRestricoes(*o);
    calcularForcas(*o, 1);
    limparForcas(*o, 1);
    for (int v = 0; v < o->numNos(); ++v)
        for (int c = 0; c < 3; ++c) {
            EXPECT_EQ(o->somaChapeu[c][v], 0.0);
            EXPECT_EQ(o->e_tio[c][v], 0.0);
        }
}

TEST(Forcas, EChapeuSomaAsQuatroContribuicoes) {
    auto o = tubo(7, 6, 1.0, 2.0);
    pesos(*o, 3.0, 0.2, 0.1);
    o->inicializar();
    for (int v = 0; v < o->numNos(); ++v) {
        o->pos[1][v] *= 1.0 + 0.03 * (v % 4);
        o->pos[0][v] *= 1.1;
    }
    o->calcularNormais(1);
    o->atualizarGeometria(1);
    atualizarRestricoes(*o);
    calcularForcas(*o, 1);
    double total = 0;
    for (int v = 0; v < o->numNos(); ++v)
        for (int c = 0; c < 3; ++c) {
            const double soma =
                o->e_chapeu[0][c][v] + o->e_chapeu[1][c][v] + o->e_chapeu[2][c][v] + o->e_chapeu[3][c][v];
            EXPECT_NEAR(soma, o->somaChapeu[c][v], 1e-9 * (1 + std::fabs(soma)));
            total += std::fabs(o->e_tio[c][v]) + std::fabs(o->somaChapeu[c][v]);
        }
    EXPECT_GT(total, 0.0) << "a stretched, bent tube feels elastic forces";
}

}  // namespace
