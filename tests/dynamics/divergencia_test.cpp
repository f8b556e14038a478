// The divergence flag a step leaves, against a full sweep of the values it speaks of.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "app/cena/configuracao.h"
#include "dynamics/divergencia.h"
#include "dynamics/simulacao.h"
#include "model/equipe.h"
#include "support/cenas.h"

using namespace tevra;

namespace {

bool varreduraCompleta(const ObjDeformavel& o) {
    for (int c = 0; c < 3; ++c)
        for (int idx = 0; idx < o.numNos(); ++idx)
            if (!std::isfinite(o.pos[c][idx]) || !std::isfinite(o.vel[c][idx])) return true;
    return false;
}

// A stiff sheet with a time step far too long: it blows up within a few dozen steps.
Cena explosiva(int solver) {
    Cena c = cenaFolha(12, 9, 4, 4, 0, solver);
    c.eta[0][0] = c.eta[1][1] = 50;
    c.qsi[0][0] = c.qsi[1][1] = 0.001;
    c.acel = {0, 0, -9.8};
    c.gama = 0.5;
    c.fluidoAtivo = true;
    c.fluido = {0, 0, 2};
    c.fluido_cte = 0.05;
    c.passo = 0.01;
    c.restricoes = {fixa(0, 0, 0, 0, 0), fixa(5, 8, 1, 0, 1)};
    return c;
}

TEST(Divergencia, OFlagDoPassoEhOQueUmaVarreduraCompletaAcharia) {
    for (int s = SolverEulerSemiExplicito; s <= SolverVerlet; ++s)
        for (int threads : {1, 2}) {
            definirThreads(threads);
            auto o = construirObjeto(explosiva(s));
            o->passoAtual = 1;
            o->inicializar();
            EXPECT_FALSE(algumNaoFinito(*o));
            int primeiro = 0;
            for (int i = 1; i <= 60; ++i) {
                avancarPasso(*o, i);
                ASSERT_EQ(algumNaoFinito(*o), varreduraCompleta(*o)) << nomesSolver[s - 3] << ", step " << i;
                if (algumNaoFinito(*o) && !primeiro) {
                    primeiro = i;
                    const auto d = localizarNaoFinito(*o, i);
                    ASSERT_TRUE(d);
                    EXPECT_EQ(d->passo, i);
                }
            }
            if (s != SolverVerlet) {
                EXPECT_GT(primeiro, 1) << nomesSolver[s - 3] << ": the scene blows up, later";
            }
            definirThreads(0);
        }
}

// A held node's velocity is read by nothing else, so only the flag can tell it is not finite.
TEST(Divergencia, ValorPresoNaoFinitoTambemConta) {
    Cena c = cenaFolha(6, 7, 1, 1, 0);
    c.acel = {0, 0, -1};
    c.restricoes = {fixa(2, 6, 0, 0, 0)};
    auto o = construirObjeto(c);
    o->passoAtual = 1;
    o->inicializar();
    avancarPasso(*o, 1);
    EXPECT_FALSE(algumNaoFinito(*o));
    o->vel[1][2 * 7 + 6] = std::numeric_limits<double>::infinity();
    avancarPasso(*o, 2);
    EXPECT_TRUE(algumNaoFinito(*o));
    EXPECT_TRUE(std::isfinite(o->pos[1][2 * 7 + 6]));
    const auto d = localizarNaoFinito(*o, 2);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->i, 2);
    EXPECT_EQ(d->j, 6);
    EXPECT_EQ(d->grandeza, "velocity y");
}

TEST(Divergencia, InicializarMarcaUmEstadoInicialNaoFinito) {
    Cena c = cenaFolha(3, 4, 1, 1, 0);
    auto o = construirObjeto(c);
    o->inicializar();
    EXPECT_FALSE(algumNaoFinito(*o));
    c.velInicial = {0, std::numeric_limits<double>::quiet_NaN(), 0};
    auto p = construirObjeto(c);
    p->inicializar();
    EXPECT_TRUE(algumNaoFinito(*p));
}

}  // namespace
