// The five integrators: free motion, held components, and what each leaves behind.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "dynamics/forcas.h"
#include "dynamics/integradores.h"
#include "dynamics/restricoes.h"
#include "dynamics/simulacao.h"
#include "support/superficie.h"

using namespace tevra;

namespace {

const int kSolvers[] = {SolverEulerSemiExplicito, SolverPontoMedio, SolverRungeKutta, SolverLeapfrog, SolverVerlet};

// Runs `passos` steps of the run loop on an initialised object.
void rodar(ObjDeformavel& o, int passos) {
    for (int i = 1; i <= passos; ++i) avancarPasso(o, i);
}

std::unique_ptr<ObjDeformavel> folhaLivre(int solver) {
    auto o = folhaPlana(4, 5, 2, 3, 0, solver);
    o->velInicial = {0.25, -0.5, 1.5};
    o->passo = 0.01;
    o->inicializar();
    return o;
}

TEST(Integradores, SemForcasAndamDtVezesAVelocidade) {
    for (int s : kSolvers) {
        auto o = folhaLivre(s);
        std::vector<double> x0(o->pos[2], o->pos[2] + o->numNos());
        rodar(*o, 3);
        for (int v = 0; v < o->numNos(); ++v) {
            if (s == SolverVerlet) {
                // The first move has no velocity term, and then nothing moves it.
                EXPECT_EQ(o->pos[2][v], x0[v]);
                EXPECT_EQ(o->vel[2][v], 0.0);
            } else {
                EXPECT_NEAR(o->pos[2][v], x0[v] + 3 * 0.01 * 1.5, 1e-14) << nomesSolver[s - 3];
                EXPECT_EQ(o->vel[2][v], 1.5) << nomesSolver[s - 3];
            }
        }
    }
}

std::unique_ptr<ObjDeformavel> tuboPesado(int solver, Restricao r) {
    auto o = tubo(6, 5, 1.0, 2.0, solver);
    pesos(*o, 2.0, 0.05, 0.02);
    o->acel = {0.3, -1.0, -9.8};
    o->velInicial = {0.1, 0.2, 0.3};
    o->gama = 0.1;
    o->fluidoAtivo = 1;
    o->fluido_cte = 0.2;
    o->fluido = {1, 0, 0.5};
    o->passo = 0.002;
    o->restricoes = {r};
    o->nRestricoes = 1;
    o->inicializar();
    return o;
}

TEST(Integradores, ComponentesPresasNaoMudamEmNenhumIntegrador) {
    Restricao presa;
    presa.u = 2;
    presa.v = 3;
    presa.fim = 1000;
    Restricao soZ = presa;
    soZ.eixo[0] = soZ.eixo[1] = 1;
    for (int s : kSolvers) {
        auto o = tuboPesado(s, presa);
        const int v = 2 * 5 + 3;
        const double x[3] = {o->pos[0][v], o->pos[1][v], o->pos[2][v]};
        rodar(*o, 6);
        for (int c = 0; c < 3; ++c) {
            EXPECT_EQ(o->pos[c][v], x[c]) << nomesSolver[s - 3];
            EXPECT_EQ(o->vel[c][v], o->velInicial[c]) << nomesSolver[s - 3];
        }

        auto p = tuboPesado(s, soZ);
        const double z = p->pos[2][v], xx = p->pos[0][v];
        rodar(*p, 6);
        EXPECT_EQ(p->pos[2][v], z) << nomesSolver[s - 3];
        EXPECT_NE(p->pos[0][v], xx) << nomesSolver[s - 3];
    }
}

TEST(Integradores, LeapfrogComecaComOPontoMedio) {
    Restricao nenhuma;
    nenhuma.u = -1;
    auto a = tuboPesado(SolverLeapfrog, nenhuma);
    auto b = tuboPesado(SolverPontoMedio, nenhuma);
    rodar(*a, 1);
    rodar(*b, 1);
    const std::size_t n = sizeof(double) * a->numNos();
    for (int c = 0; c < 3; ++c) {
        EXPECT_EQ(std::memcmp(a->pos[c], b->pos[c], n), 0);
        EXPECT_EQ(std::memcmp(a->vel[c], b->vel[c], n), 0);
        EXPECT_EQ(std::memcmp(a->nos.normal[c], b->nos.normal[c], n), 0);
    }
    // From step 2 on they differ: leapfrog kicks a whole step.
    rodar(*a, 2);
    auto c2 = tuboPesado(SolverPontoMedio, nenhuma);
    rodar(*c2, 2);
    EXPECT_NE(std::memcmp(a->pos[2], c2->pos[2], n), 0);
}

TEST(Integradores, SoOEulerPreencheAceleracaoEForcaInterna) {
    Restricao nenhuma;
    nenhuma.u = -1;
    for (int s : kSolvers) {
        auto o = tuboPesado(s, nenhuma);
        rodar(*o, 2);
        double acel = 0, interna = 0;
        for (int v = 0; v < o->numNos(); ++v)
            for (int c = 0; c < 3; ++c) {
                acel += std::fabs(o->aceleracao[c][v]);
                interna += std::fabs(o->forcaInterna[c][v]);
            }
        if (s == SolverEulerSemiExplicito) {
            EXPECT_GT(acel, 0.0);
            EXPECT_GT(interna, 0.0);
            const int v = 7;
            EXPECT_EQ(o->forcaInterna[1][v], o->e_tio[1][v] + o->somaChapeu[1][v]);
        } else {
            EXPECT_EQ(acel, 0.0) << nomesSolver[s - 3];
            EXPECT_EQ(interna, 0.0) << nomesSolver[s - 3];
        }
    }
}

TEST(Integradores, RungeKuttaUsaOsPesosUmSextoEUmTerco) {
    // Constant force, no elastic term, no damping: the step is exact arithmetic of the stages.
    auto o = folhaPlana(2, 2, 1, 1, 0, SolverRungeKutta);
    o->acel = {0, 0, -2.0};
    o->velInicial = {0, 0, 1.0};
    o->passo = 0.1;
    o->inicializar();
    const double x0 = o->pos[2][0];
    rodar(*o, 1);
    const double dt = 0.1, a = o->forcaExterna[2][0] / o->massa;
    const double k1 = dt * (1.0 + 0.5 * dt * a);
    const double k2 = dt * (1.0 + 0.5 * dt * a);
    const double k3 = dt * (1.0 + 0.5 * dt * a);
    const double k4 = dt * (1.0 + dt * a);
    EXPECT_EQ(o->pos[2][0], x0 + (1.0 / 6.0) * k1 + (1.0 / 3.0) * k2 + (1.0 / 3.0) * k3 + (1.0 / 6.0) * k4);
    EXPECT_EQ(o->vel[2][0], 1.0 + dt * a);
}

}  // namespace
