// The run loop and the files it leaves behind.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <atomic>
#include <bit>
#include <cstdint>

#include "base/limites.h"
#include "dynamics/arquivos.h"
#include "dynamics/simulacao.h"
#include "model/equipe.h"
#include "support/arquivos_teste.h"
#include "support/superficie.h"

using namespace tevra;

namespace {

namespace fs = std::filesystem;

std::unique_ptr<ObjDeformavel> cena(int quadros, int intervalo, int solver = SolverEulerSemiExplicito) {
    Cena c = comPesos(cenaFolha(2, 3, 2, 2, 0, solver), 1.0, 0.1, 0.05);
    c.acel = {0, 0, -9.8};
    c.velInicial = {0, 0.5, 0};
    c.passo = 0.01;
    c.quadros = quadros;
    c.intervalo = intervalo;
    return construirObjeto(c);
}

std::vector<std::string> arquivos(const fs::path& pasta) {
    std::vector<std::string> r;
    for (const auto& e : fs::directory_iterator(pasta)) r.push_back(e.path().filename().string());
    std::sort(r.begin(), r.end());
    return r;
}

TEST(Simulacao, QuadrosGravadosPorIteracoesEIntervalo) {
    struct Caso {
        int quadros, intervalo;
        std::vector<std::string> esperado;
        int passoFinal;
    };
    const Caso casos[] = {
        {1, 1, {"pontos0001.txt"}, 1},
        {0, 1, {"pontos0001.txt"}, 1},
        {11, 5, {"pontos0001.txt", "pontos0002.txt", "pontos0003.txt"}, 11},
        {6, 10, {"pontos0001.txt"}, 6},
    };
    for (const Caso& c : casos) {
        PastaTemporaria pasta;
        auto o = cena(c.quadros, c.intervalo);
        const ResultadoSimulacao r = simular(*o, {*pasta, {}, {}, nullptr});
        EXPECT_EQ(arquivos(*pasta), c.esperado) << c.quadros << "/" << c.intervalo;
        EXPECT_EQ(r.passoFinal, c.passoFinal);
        EXPECT_EQ(o->passoAtual, c.passoFinal);
        EXPECT_EQ(r.falhas, 0);
    }
    EXPECT_EQ(quadrosDaSimulacao(11, 5), 3);
    EXPECT_EQ(quadrosDaSimulacao(1, 1), 1);
}

TEST(Simulacao, FormatoDoQuadroUmEDosSeguintes) {
    PastaTemporaria pasta;
    auto o = cena(2, 1);
    simular(*o, {*pasta, {}, {}, nullptr});
    const auto q1 = linhas(lerArquivo(pasta / "pontos0001.txt"));
    ASSERT_EQ(q1.size(), 3u + 12u);
    EXPECT_EQ(q1[0], "Objeto: 0");
    EXPECT_EQ(q1[1], "Area: 4");
    EXPECT_EQ(q1[2], "Densidade de Massa:  0.25");
    EXPECT_EQ(q1[3], "0: -1 -1 0");
    EXPECT_EQ(q1[4], "0: 0 0 1");
    EXPECT_EQ(q1[5], "1: -1 0 0");
    EXPECT_EQ(q1[14], "5: 0 0 1");
    for (int k = 0; k < 12; ++k) EXPECT_EQ(q1[3 + k].substr(0, 3), std::to_string(k / 2) + ": ");
    const auto q2 = linhas(lerArquivo(pasta / "pontos0002.txt"));
    ASSERT_EQ(q2.size(), 2u + 12u);
    EXPECT_EQ(q2[0].substr(0, 6), "Area: ");
    EXPECT_EQ(q2[1], "Densidade de Massa:  0.25");
    EXPECT_EQ(q2[2].substr(0, 3), "0: ");
}

TEST(Simulacao, NomeDoArquivoTemQuatroDigitos) {
    EXPECT_EQ(nomeArquivoQuadro("/t/pontosXXXX.txt", 7), fs::path("/t/pontos0007.txt"));
    EXPECT_EQ(nomeArquivoQuadro("/t/pontosXXXX.txt", 123), fs::path("/t/pontos0123.txt"));
    EXPECT_EQ(nomeArquivoQuadro("/t/dedosXXXX.txt", 9999), fs::path("/t/dedos9999.txt"));
    EXPECT_TRUE(nomeArquivoQuadro("/t/pontosXXXX.txt", 10000).empty());
    EXPECT_TRUE(nomeArquivoQuadro("/t/pontosXXXX.txt", 0).empty());
}

TEST(Simulacao, SemIntegradorOsQuadrosRepetemOPrimeiro) {
    PastaTemporaria pasta;
    auto o = cena(4, 1, 99);
    simular(*o, {*pasta, {}, {}, nullptr});
    const auto q1 = linhas(lerArquivo(pasta / "pontos0001.txt"));
    const auto q4 = linhas(lerArquivo(pasta / "pontos0004.txt"));
    ASSERT_EQ(q1.size(), q4.size() + 1);
    for (std::size_t k = 2; k < q4.size(); ++k) EXPECT_EQ(q4[k], q1[k + 1]);
}

TEST(Simulacao, DumpsSoComFlagDados) {
    PastaTemporaria pasta;
    auto o = cena(5, 2);
    o->flagDados = 1;
    simular(*o, {*pasta, {}, {}, nullptr});
    EXPECT_EQ(arquivos(*pasta), (std::vector<std::string>{"dados0001.txt", "dedos0002.txt", "dedos0003.txt",
                                                          "pontos0001.txt", "pontos0002.txt", "pontos0003.txt"}));
    const auto d = linhas(lerArquivo(pasta / "dados0001.txt"));
    // 6 nodes: Pontos, Vetor Normal, then four sections after an empty line, then 4 lines per node.
    ASSERT_EQ(d.size(), (1u + 6) * 2 + (2u + 6) * 4 + 2 + 24);
    EXPECT_EQ(d[0], "Pontos:");
    EXPECT_EQ(d[7], "Vetor Normal:");
    EXPECT_EQ(d[14], "");
    EXPECT_EQ(d[15], "Acelera\xE7\xE3o:");
    EXPECT_EQ(d[16], "0: 0 0 0") << "nothing has moved before the first step";
    EXPECT_EQ(d[22], "");
    EXPECT_EQ(d[23], "Forca Externa:");
    EXPECT_EQ(d[31], "Forca Interna:");
    EXPECT_EQ(d[39], "e_tio:");
    EXPECT_EQ(d[47], "Termos e_chapeu:");
    EXPECT_EQ(d[48].substr(0, 3), "0: ");
    EXPECT_EQ(d[51].substr(0, 3), "0: ");
    EXPECT_EQ(d[52].substr(0, 3), "1: ");

    PastaTemporaria outra;
    auto p = cena(5, 2);
    simular(*p, {*outra, {}, {}, nullptr});
    EXPECT_EQ(arquivos(*outra).size(), 3u);
}

TEST(Simulacao, PastaQueFaltaEhCriadaEPastaImpossivelNaoDeixaComecar) {
    PastaTemporaria pasta;
    auto o = cena(3, 1);
    const ResultadoSimulacao r = simular(*o, {pasta / "a" / "b", {}, {}, nullptr});
    EXPECT_EQ(r.falhas, 0);
    EXPECT_TRUE(fs::exists(pasta / "a" / "b" / "pontos0003.txt"));

    // A file where the folder should be, or above it: found before anything is computed.
    escreverArquivo(pasta / "arquivo", "x");
    for (const fs::path& destino : {pasta / "arquivo", pasta / "arquivo" / "sub"}) {
        auto p = cena(3, 1);
        int passos = 0;
        const ResultadoSimulacao s = simular(*p, {destino, [&](int, int) { ++passos; }, {}, nullptr});
        EXPECT_EQ(s.passos, 0);
        EXPECT_EQ(passos, 0);
        EXPECT_EQ(s.quadros, 0);
        EXPECT_EQ(s.falhas, 1);
        ASSERT_TRUE(s.primeiraFalha);
        EXPECT_EQ(s.primeiraFalha->arquivo, destino) << s.primeiraFalha->texto();
    }
    EXPECT_EQ(lerArquivo(pasta / "arquivo"), "x");
}

TEST(Simulacao, CancelarParaDepoisDoPassoEGuardaOsQuadros) {
    PastaTemporaria pasta;
    auto o = cena(100, 1);
    std::atomic<bool> cancelar{false};
    int chamadas = 0;
    OpcoesSimulacao op{*pasta,
                       [&](int feitos, int total) {
                           ++chamadas;
                           EXPECT_EQ(total, 99);
                           if (feitos == 3) cancelar = true;
                       },
                       {},
                       &cancelar};
    const ResultadoSimulacao r = simular(*o, op);
    EXPECT_TRUE(r.cancelado);
    EXPECT_EQ(r.passos, 3);
    EXPECT_EQ(chamadas, 3);
    EXPECT_EQ(arquivos(*pasta).size(), 4u);
}

TEST(Simulacao, ResultadoNaoDependeDoNumeroDeThreads) {
    for (int s = SolverEulerSemiExplicito; s <= SolverVerlet; ++s) {
        PastaTemporaria um, dois;
        Cena c = comPesos(cenaTubo(17, 13, 1.0, 3.0, s), 3.0, 0.01, 0.02);
        c.acel = {0, -2, -9.8};
        c.quadros = 21;
        c.intervalo = 10;
        c.fluidoAtivo = true;
        c.fluido_cte = 0.1;
        c.fluido = {1, 1, 0};
        auto a = construirObjeto(c);
        auto b = construirObjeto(c);
        definirThreads(1);
        simular(*a, {*um, {}, {}, nullptr});
        definirThreads(2);
        simular(*b, {*dois, {}, {}, nullptr});
        definirThreads(0);
        for (int q = 1; q <= 3; ++q) {
            const std::string nome = "pontos000" + std::to_string(q) + ".txt";
            EXPECT_EQ(lerArquivo(um / nome), lerArquivo(dois / nome)) << nomesSolver[s - 3] << " " << nome;
        }
    }
}

// An output other than the dumps (an export) asks for the forces with prepararDados alone:
// the step fills them as for a run with its dumps, and moves nothing differently.
TEST(Simulacao, ForcasPedidasSemDumpsSaoAsDosDumps) {
    for (int s = SolverEulerSemiExplicito; s <= SolverVerlet; ++s) {
        Cena c = comPesos(cenaTubo(9, 7, 1.0, 3.0, s), 3.0, 0.01, 0.02);
        c.acel = {0, -2, -9.8};
        c.fluidoAtivo = true;
        c.fluido_cte = 0.1;
        c.fluido = {1, 1, 0};
        c.restricoes = {fixa(0, 3, 0, 1, 0)};
        auto dumps = construirObjeto(c);
        auto pedido = construirObjeto(c);
        dumps->flagDados = 1;
        pedido->prepararDados();
        for (ObjDeformavel* o : {dumps.get(), pedido.get()}) {
            o->passoAtual = 1;
            o->inicializar();
            for (int i = 1; i <= 3; ++i) avancarPasso(*o, i);
        }
        ASSERT_TRUE(pedido->temDados());
        auto iguais = [&](double* const* a, double* const* b, const char* nome) {
            for (int k = 0; k < 3; ++k)
                for (int idx = 0; idx < c.grade_i * c.grade_j; ++idx)
                    ASSERT_EQ(std::bit_cast<std::uint64_t>(a[k][idx]), std::bit_cast<std::uint64_t>(b[k][idx]))
                        << nomesSolver[s - 3] << " " << nome << " " << k << " " << idx;
        };
        iguais(dumps->pos, pedido->pos, "pos");
        iguais(dumps->forcaExterna, pedido->forcaExterna, "forcaExterna");
        iguais(dumps->forcaInterna, pedido->forcaInterna, "forcaInterna");
        iguais(dumps->aceleracao, pedido->aceleracao, "aceleracao");
        iguais(dumps->e_tio, pedido->e_tio, "e_tio");
        for (int e = 0; e < 4; ++e) iguais(dumps->e_chapeu[e], pedido->e_chapeu[e], "e_chapeu");
        bool externaNaoNula = false;
        for (int idx = 0; idx < c.grade_i * c.grade_j; ++idx)
            externaNaoNula = externaNaoNula || pedido->forcaExterna[2][idx] != 0.0;
        EXPECT_TRUE(externaNaoNula) << nomesSolver[s - 3] << ": the forces were filled";
    }
}

}  // namespace
