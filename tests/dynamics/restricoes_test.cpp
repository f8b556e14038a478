// Which restriction acts on which node in which step.
#include <gtest/gtest.h>

#include "dynamics/restricoes.h"
#include "support/superficie.h"

using namespace tevra;

namespace {

int id(const ObjDeformavel& o, int i, int j) { return i * o.grade_j + j; }

std::unique_ptr<ObjDeformavel> folhaParada() {
    auto o = folhaPlana(3, 3, 2, 2, 0);
    o->inicializar();
    return o;
}

TEST(Restricoes, JanelaDePassosERegrasDeConflito) {
    auto o = folhaParada();
    // Force (0, 0, 10) from step counter 5 to 7: acts while passoAtual is 5 or 6, i.e. steps 4 and 5.
    o->restricoes = {forca(0, 0, {0, 0, 10}, 5, 7)};
    o->nRestricoes = 1;
    for (int passo = 1; passo <= 7; ++passo) {
        o->passoAtual = passo + 1;
        atualizarRestricoes(*o);
        EXPECT_EQ(o->restricaoDoNo[0], (passo == 4 || passo == 5) ? 1 : 0) << "step " << passo;
    }
    // The later row wins; rows outside the grid name no node; inicio >= fim never acts.
    o->passoAtual = 2;
    usar(*o, {fixa(1, 2, 0, 0, 0), forca(1, 2, {1, 0, 0}), fixa(3, 0, 0, 0, 0), fixa(0, -1, 0, 0, 0),
              fixa(2, 2, 0, 0, 0, 5, 5), fixa(0, 1, 0, 0, 0, 0, 2)});
    EXPECT_EQ(o->restricaoDoNo[id(*o, 1, 2)], 2);
    EXPECT_TRUE(componenteLivre(*o, id(*o, 1, 2), 2)) << "a later force frees the node";
    EXPECT_EQ(o->restricaoDoNo[id(*o, 2, 2)], 0);
    EXPECT_EQ(o->restricaoDoNo[id(*o, 0, 1)], 0) << "end step 2 never acts";
    int ativos = 0;
    for (int v = 0; v < o->numNos(); ++v) ativos += o->restricaoDoNo[v] != 0;
    EXPECT_EQ(ativos, 1);
}

}  // namespace
