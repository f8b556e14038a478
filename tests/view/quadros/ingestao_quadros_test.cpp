// The one loop that brings frames into the viewer's series, fed by a live run or by the
// background reader: order, broken frames, which frames keep a picture, and the time slices.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <utility>
#include <vector>

#include "view/quadros/ingestao_quadros.h"
#include "view/quadros/quadros_teste.h"

using namespace tevra;
using namespace std::chrono_literals;

namespace {

// The frames up to n whose compact frame the series holds.
std::vector<int> comImagem(const SerieQuadros& serie, int n) {
    std::vector<int> r;
    for (int q = 1; q <= n; ++q)
        if (serie.quadro(q)) r.push_back(q);
    return r;
}

TEST(IngestaoQuadros, ExecucaoAoVivoLeOsArquivosDeQueEhAvisada) {
    PastaTemporaria pasta;
    SerieQuadros serie;
    ASSERT_TRUE(serie.iniciar(0, 2, 3));
    FonteAoVivo fonte(2, 3);
    // Files under names of the run's own choosing, one of them never written.
    escreverArquivo(*pasta / "a.txt", textoQuadro(1, 2, 3, folhaSubindo, 2));
    escreverArquivo(*pasta / "b.txt", textoQuadro(2, 2, 3, folhaSubindo));
    escreverArquivo(*pasta / "d.txt", textoQuadro(4, 2, 3, folhaSubindo));
    fonte.gravado(1, *pasta / "a.txt");
    fonte.gravado(2, *pasta / "b.txt");
    fonte.gravado(3, *pasta / "c.txt");
    fonte.gravado(4, *pasta / "d.txt");

    EXPECT_FALSE(ingerirQuadros(fonte, serie, 10s));
    EXPECT_FALSE(fonte.temPendentes());
    EXPECT_EQ(comImagem(serie, 4), (std::vector<int>{1, 2, 4}));
    EXPECT_EQ(serie.quadro(4)->pos[3 * 5 + 2], 0.4f);
    EXPECT_EQ(serie.numQuadros(), 4) << "a live series grows with the run";
    EXPECT_EQ(serie.quadrosProntos(), 4);
    EXPECT_EQ(serie.imagemDoQuadro(3), 2);
    EXPECT_TRUE(serie.superficieFechada());
    EXPECT_DOUBLE_EQ(serie.nos().z[5], 0.4);
    EXPECT_FALSE(fonte.acabou()) << "a run ends when the window says so";

    // Nothing pending: nothing happens, and later frames carry on.
    EXPECT_FALSE(ingerirQuadros(fonte, serie, 10s));
    EXPECT_EQ(serie.quadrosProntos(), 4);
    escreverArquivo(*pasta / "e.txt", textoQuadro(5, 2, 3, folhaSubindo));
    fonte.gravado(5, *pasta / "e.txt");
    ingerirQuadros(fonte, serie, 10s);
    EXPECT_EQ(comImagem(serie, 5), (std::vector<int>{1, 2, 4, 5}));
    EXPECT_DOUBLE_EQ(serie.nos().z[0], 0.5);
}

TEST(IngestaoQuadros, FatiaVencidaAindaTomaUmQuadro) {
    PastaTemporaria pasta;
    escreverSerie(*pasta, 3, 2, 2, folhaSubindo);
    SerieQuadros serie;
    ASSERT_TRUE(serie.iniciar(0, 2, 2));
    FonteAoVivo fonte(2, 2);
    for (int n = 1; n <= 3; ++n) fonte.gravado(n, caminhoQuadro(*pasta, n));

    for (int n = 1; n <= 3; ++n) {
        EXPECT_TRUE(ingerirQuadros(fonte, serie, 0ms)) << n;
        EXPECT_EQ(serie.quadrosProntos(), n);
    }
    EXPECT_FALSE(ingerirQuadros(fonte, serie, 0ms));
    EXPECT_EQ(comImagem(serie, 3).size(), 3u);
}

TEST(IngestaoQuadros, QuadrosAoVivoDeOutraGradeNaoSaoTomados) {
    PastaTemporaria pasta;
    escreverSerie(*pasta, 2, 2, 2, folhaSubindo);
    SerieQuadros serie;
    ASSERT_TRUE(serie.iniciar(0, 3, 3));
    FonteAoVivo fonte(3, 3);
    for (int n = 1; n <= 2; ++n) fonte.gravado(n, caminhoQuadro(*pasta, n));
    ingerirQuadros(fonte, serie, 10s);
    EXPECT_TRUE(comImagem(serie, 2).empty());
    EXPECT_EQ(serie.quadrosFalhos(), 2);
    EXPECT_EQ(serie.imagemDoQuadro(2), 0);
    ASSERT_TRUE(serie.outraGrade());
    EXPECT_EQ(serie.outraGrade()->n, 1);
    EXPECT_EQ(serie.outraGrade()->nos, 4);
}

TEST(IngestaoQuadros, SerieGravadaLidaPorTrabalhadoresGuardaCadaQuadroCompleto) {
    PastaTemporaria pasta;
    escreverSerie(*pasta, 6, 2, 2, folhaSubindo);
    std::filesystem::remove(caminhoQuadro(*pasta, 4));
    SerieQuadros serie;
    ASSERT_TRUE(serie.iniciar(6, 2, 2));
    OpcoesCarga opcoes;
    opcoes.trabalhadores = 2;
    FonteSerie fonte(std::make_unique<CarregadorSerie>(*pasta, serie.arquivosASerLidos(), 2, 2, nullptr, opcoes));

    const auto limite = std::chrono::steady_clock::now() + 20s;
    while (!fonte.acabou() && std::chrono::steady_clock::now() < limite) {
        ingerirQuadros(fonte, serie, 10ms);
        std::this_thread::sleep_for(1ms);
    }
    ASSERT_TRUE(fonte.acabou());
    EXPECT_EQ(comImagem(serie, 6), (std::vector<int>{1, 2, 3, 5, 6}));
    EXPECT_EQ(serie.quadrosProntos(), 6);
    EXPECT_EQ(serie.imagemDoQuadro(4), 3);
    EXPECT_DOUBLE_EQ(serie.nos().z[0], 0.6);
    EXPECT_EQ(serie.quadro(5)->pos[2], 0.5f);
}

}  // namespace
