// The scene File > "Novo" starts from, and the restrictions a run will ignore.
#include <gtest/gtest.h>

#include <cmath>

#include "app/cena/cena_nova.h"
#include "app/cena/configuracao.h"
#include "app/cena/conversao_cena.h"
#include "app/cena/restricoes_fora.h"
#include "app/execucao/execucao.h"
#include "support/arquivos_teste.h"
#include "support/cenas.h"

using namespace tevra;

namespace {

TEST(CenaNova, FormularioEhACenaComoUmScriptADeixaria) {
    const FormularioCena f = formularioNovo();
    EXPECT_EQ(converterCena(f, '.'), cenaNova());
    EXPECT_EQ(f.objeto, "plano");
    EXPECT_EQ(f.texto(caixa::fluido_cte), "") << "no fluid";
    for (const char* b : caixa::fluido) EXPECT_EQ(f.texto(b), "");
    // Switching to the tube gives a scene that the set-up takes.
    FormularioCena tubo = f;
    tubo.objeto = "cilindro";
    EXPECT_NO_THROW(verificarCena(converterCena(tubo, '.')));
}

// Checks every frame it is handed.
class SaidaFinita : public SaidaQuadro {
public:
    int quadros = 0;
    double maiorAltura = 0.0;
    Escrita quadro(const ObjDeformavel& obj, int, const std::filesystem::path&) override {
        ++quadros;
        for (int c = 0; c < 3; ++c)
            for (int idx = 0; idx < obj.numNos(); ++idx) {
                EXPECT_TRUE(std::isfinite(obj.pos[c][idx]) && std::isfinite(obj.vel[c][idx]));
                if (c == 2) maiorAltura = std::max(maiorAltura, std::abs(obj.pos[2][idx]));
            }
        return std::nullopt;
    }
};

TEST(CenaNova, RodaAteOFimEFicaFinita) {
    const Cena c = cenaNova();
    EXPECT_TRUE(restricoesForaDaGrade(c).empty());
    PastaTemporaria pasta;
    Execucao e(c, OpcoesExecucao{*pasta, false, 1});
    auto saida = std::make_unique<SaidaFinita>();
    SaidaFinita& s = *saida;
    e.adicionarSaida(std::move(saida));
    const ResultadoExecucao r = e.executar();
    EXPECT_EQ(r.passos, c.quadros - 1);
    EXPECT_EQ(s.quadros, 201);
    EXPECT_FALSE(r.divergencia);
    // Held at two corners, the 2 x 2 sheet swings down (its far edge 2 below the held one)
    // and stretches a little, no more.
    EXPECT_GT(s.maiorAltura, 1.5);
    EXPECT_LT(s.maiorAltura, 3.0);
}

TEST(RestricoesForaDaGrade, ListadasPeloNumeroDaTabela) {
    Cena c = cenaFolha(4, 5, 1, 1, 0);
    c.restricoes = {fixa(0, 0, 0, 0, 0), fixa(4, 0, 0, 0, 0), fixa(3, 4, 0, 0, 0), fixa(-1, 2, 0, 0, 0),
                    forca(0, 5, {1, 0, 0})};
    EXPECT_EQ(restricoesForaDaGrade(c), (std::vector<int>{1, 3, 4}));
    EXPECT_EQ(avisoRestricoesForaDaGrade(c),
              "Restrictions 1 (node 4, 0), 3 (node -1, 2) and 4 (node 0, 5) lie outside the 4 x 5 grid and are "
              "ignored.");
    c.restricoes.resize(2);
    EXPECT_EQ(avisoRestricoesForaDaGrade(c), "Restriction 1 (node 4, 0) lies outside the 4 x 5 grid and is ignored.");
    c.restricoes.resize(1);
    EXPECT_EQ(avisoRestricoesForaDaGrade(c), "");
}

}  // namespace
