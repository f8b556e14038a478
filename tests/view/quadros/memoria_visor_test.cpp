// How a showing of a series fits the viewer's budget of memory (what the budget starts from
// is base/memoria's, tested with it).
#include <gtest/gtest.h>

#include "view/quadros/memoria_visor.h"
#include "view/quadros/quadro_compacto.h"

using namespace tevra;

namespace {

TEST(PlanoCarga, CabeNoOrcamentoComTudoQueAJanelaGuarda) {
    const long long nos = 100 * 100;
    const std::size_t fixos = 400;
    const std::size_t quadro = static_cast<std::size_t>(nos) * kBytesPorNoCompacto;
    const std::size_t emVoo = static_cast<std::size_t>(nos) * (48 + kBytesPorNoCompacto);
    for (std::size_t orcamento : {std::size_t{1} << 34, std::size_t{64} << 20, std::size_t{12} << 20}) {
        const PlanoCarga p = planejarCarga(orcamento, nos, fixos, 2);
        ASSERT_TRUE(p.cabe) << orcamento;
        EXPECT_GE(p.orcamentoQuadros, quadro);
        // Everything the window holds for the series adds up to the budget.
        const std::size_t total = static_cast<std::size_t>(nos) * fixos + quadro + 3 * emVoo +
                                  static_cast<std::size_t>(p.trabalhadores + p.adiantados) * emVoo + p.orcamentoQuadros;
        EXPECT_EQ(total, orcamento);
    }
    EXPECT_EQ(planejarCarga(std::size_t{1} << 34, nos, fixos, 2).adiantados, 4);
    EXPECT_EQ(planejarCarga(std::size_t{1} << 34, nos, fixos, 3).trabalhadores, 3);
    // Tight: fewer frames in flight, down to one reader with one frame ahead.
    const PlanoCarga justo =
        planejarCarga(static_cast<std::size_t>(nos) * fixos + 5 * emVoo + 2 * quadro, nos, fixos, 2);
    ASSERT_TRUE(justo.cabe);
    EXPECT_EQ(justo.trabalhadores, 1);
    EXPECT_EQ(justo.adiantados, 1);
    // No room for one frame: it does not fit, whatever the grid.
    EXPECT_FALSE(planejarCarga(std::size_t{4} << 20, nos, fixos, 2).cabe);
    EXPECT_FALSE(planejarCarga(std::size_t{1} << 30, 2000LL * 2000, fixos, 2).cabe);
    EXPECT_TRUE(planejarCarga(std::size_t{1} << 30, 0, fixos, 2).cabe);
}

}  // namespace
