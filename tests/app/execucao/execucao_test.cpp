// The run controller: what every front door gets from a run, and what it hands on.
#include <gtest/gtest.h>

#include <regex>
#include <thread>

#include "app/cena/configuracao.h"
#include "app/cena/script_cena.h"
#include "app/execucao/codigos_saida.h"
#include "app/execucao/execucao.h"
#include "base/gravacao.h"
#include "base/limites.h"
#include "base/nomes_arquivos.h"
#include "dynamics/arquivos.h"
#include "dynamics/simulacao.h"
#include "support/arquivos_teste.h"

using namespace tevra;

namespace {

namespace fs = std::filesystem;

Cena exemploCurto(int quadros = 101, int intervalo = 25) {
    Cena c = carregarCena(TEVRA_SOURCE_DIR "/assets/scenes/script.anisot1");
    c.quadros = quadros;
    c.intervalo = intervalo;
    return c;
}

// Records every frame it is handed, and fails on one of them.
class SaidaGravadora : public SaidaQuadro {
public:
    std::vector<int> quadros;
    std::vector<std::string> ultimasLinhas;  // the last node's position as its frame file prints it
    int falharNo = -1;
    bool concluida = false;

    Escrita quadro(const ObjDeformavel& o, int n, const fs::path& arquivo) override {
        quadros.push_back(n);
        // The object as the frame holds it, while the writer thread may still be at work on
        // the file: printed the way the file prints it.
        std::vector<char> buffer;
        const auto texto = linhas(std::string(textoQuadro(vistaDoObjeto(o, n, false), buffer)));
        ultimasLinhas.push_back(texto[texto.size() - 2]);
        EXPECT_EQ(arquivo.filename(), nomeArquivoQuadro(kPadraoPontos, n));
        if (n == falharNo) return FalhaEscrita{arquivo.parent_path() / "extra.vtu", "No space left on device"};
        return std::nullopt;
    }
    Escrita concluir() override {
        concluida = true;
        return std::nullopt;
    }
};

TEST(Execucao, EscreveOQueOMotorEscreveEAvisaCadaQuadro) {
    PastaTemporaria a, b;
    Execucao e(exemploCurto(), OpcoesExecucao{*a, true, 0});
    std::vector<std::pair<int, fs::path>> avisados;
    e.quadroGravado = [&](int n, const fs::path& p) { avisados.emplace_back(n, p); };
    auto saida = std::make_unique<SaidaGravadora>();
    SaidaGravadora* s = saida.get();
    e.adicionarSaida(std::move(saida));
    const ResultadoExecucao r = e.executar();

    EXPECT_EQ(r.passos, 100);
    EXPECT_EQ(r.passosTotais, 100);
    EXPECT_EQ(r.quadros, 5);
    EXPECT_EQ(r.falhas, 0);
    EXPECT_FALSE(r.cancelado);
    ASSERT_EQ(avisados.size(), 5u);
    for (int k = 0; k < 5; ++k) {
        EXPECT_EQ(avisados[k].first, k + 1);
        EXPECT_EQ(avisados[k].second, caminhoQuadro(*a, k + 1)) << "the path the run wrote, in its own folder";
    }
    EXPECT_EQ(s->quadros, (std::vector<int>{1, 2, 3, 4, 5}));
    EXPECT_TRUE(s->concluida);
    for (int k = 0; k < 5; ++k) {
        const auto arquivo = linhas(lerArquivo(caminhoQuadro(*a, k + 1)));
        EXPECT_EQ(s->ultimasLinhas[k], arquivo[arquivo.size() - 2]) << "the output saw frame " << k + 1 << " itself";
    }
    EXPECT_NE(s->ultimasLinhas.front(), s->ultimasLinhas.back());

    // The same scene straight through the engine: the same bytes.
    auto o = criarObjeto(exemploCurto());
    o->flagDados = 1;
    simular(*o, {*b, {}, {}, nullptr});
    for (const char* nome : {"pontos0001.txt", "pontos0005.txt", "dados0001.txt", "dedos0003.txt"})
        EXPECT_EQ(lerArquivo(*a / nome), lerArquivo(*b / nome)) << nome;
}

TEST(Execucao, FalhaDeUmaSaidaParaAExecucao) {
    PastaTemporaria a;
    Execucao e(exemploCurto(), OpcoesExecucao{*a, false, 0});
    auto saida = std::make_unique<SaidaGravadora>();
    saida->falharNo = 3;
    e.adicionarSaida(std::move(saida));
    const ResultadoExecucao r = e.executar();
    EXPECT_EQ(r.falhas, 1);
    EXPECT_EQ(r.passos, 50) << "frame 3 is the state after step 50; nothing is computed after it";
    EXPECT_EQ(r.quadros, 3) << "the frame handed to the writer before the output failed is still written";
    EXPECT_FALSE(fs::exists(caminhoQuadro(*a, 4)));
    EXPECT_EQ(textoFalhas(r), "Cannot write " + (*a / "extra.vtu").string() +
                                  ": No space left on device; the run stopped after step 50 of 100, frames 1 to 3 are "
                                  "complete.");
    EXPECT_EQ(codigoSaida(r), SaidaFalhaEscrita);
}

// Made of the frame files' text, on the writer's thread: fails on one frame.
class SaidaDoTexto : public SaidaQuadro {
public:
    std::vector<int> quadros;
    std::vector<std::string> textos;
    std::vector<std::thread::id> threads;
    int falharNo = -1;

    Escrita quadroEscrito(const VistaQuadro& q, std::string_view texto) override {
        quadros.push_back(q.n);
        textos.emplace_back(texto);
        threads.push_back(std::this_thread::get_id());
        if (q.n == falharNo) return FalhaEscrita{"quadro.png", "No space left on device"};
        return std::nullopt;
    }
};

TEST(Execucao, SaidaDoTextoEscritoRecebeCadaArquivoEmOrdemForaDaRodadaEPodeParala) {
    PastaTemporaria a;
    {
        Execucao e(exemploCurto(), OpcoesExecucao{*a, true, 0});
        auto saida = std::make_unique<SaidaDoTexto>();
        SaidaDoTexto* s = saida.get();
        e.adicionarSaida(std::move(saida));
        const ResultadoExecucao r = e.executar();
        EXPECT_EQ(r.falhas, 0);
        ASSERT_EQ(s->quadros, (std::vector<int>{1, 2, 3, 4, 5}));
        for (int k = 0; k < 5; ++k) {
            EXPECT_EQ(s->textos[k], lerArquivo(caminhoQuadro(*a, k + 1))) << "frame " << k + 1 << ": the file's own text";
            EXPECT_NE(s->threads[k], std::this_thread::get_id()) << "the run does not wait for it";
        }
    }
    PastaTemporaria b;
    Execucao e(exemploCurto(), OpcoesExecucao{*b, false, 0});
    auto saida = std::make_unique<SaidaDoTexto>();
    saida->falharNo = 3;
    e.adicionarSaida(std::move(saida));
    const ResultadoExecucao r = e.executar();
    EXPECT_EQ(r.falhas, 1);
    EXPECT_EQ(r.quadros, 3) << "frame 3's file was complete before its output failed";
    EXPECT_FALSE(fs::exists(caminhoQuadro(*b, 4)));
    EXPECT_FALSE(fs::exists(caminhoQuadro(*b, 5)));
    EXPECT_NE(textoFalhas(r).find("quadro.png: No space left on device"), std::string::npos) << textoFalhas(r);
    EXPECT_EQ(codigoSaida(r), SaidaFalhaEscrita);
}

TEST(Execucao, DumpQueFalhaNaoTiraSeuQuadroDaConta) {
    // Frame 3's dump cannot be written (its temporary name is taken by a folder); frame 3
    // itself went to disk before it.
    PastaTemporaria a;
    fs::create_directories(nomeTemporario(nomeArquivoQuadro(*a / kPadraoDedos, 3)));
    Execucao e(exemploCurto(), OpcoesExecucao{*a, true, 1});
    const ResultadoExecucao r = e.executar();
    EXPECT_EQ(r.falhas, 1);
    EXPECT_EQ(r.quadros, 3);
    EXPECT_EQ(r.quadrosGravados(), 3) << "frames a player can show, whatever became of the dumps";
    EXPECT_TRUE(fs::exists(caminhoQuadro(*a, 3)));
    EXPECT_FALSE(fs::exists(caminhoQuadro(*a, 4)));
    EXPECT_NE(textoFalhas(r).find("dedos0003.txt"), std::string::npos) << textoFalhas(r);
    EXPECT_NE(textoFalhas(r).find("frames 1 to 3 are complete."), std::string::npos) << textoFalhas(r);
}

TEST(Execucao, CancelarGuardaOsQuadrosEExplicaOndeParou) {
    PastaTemporaria a;
    Execucao e(exemploCurto(1001, 10), OpcoesExecucao{*a, false, 1});
    e.progresso = [&](int feitos, int total) {
        EXPECT_EQ(total, 1000);
        if (feitos == 35) e.cancelar();
    };
    const ResultadoExecucao r = e.executar();
    EXPECT_TRUE(r.cancelado);
    EXPECT_EQ(r.passos, 35);
    EXPECT_EQ(r.quadros, 4);
    EXPECT_EQ(textoCancelamento(r), "The simulation was cancelled after step 35 of 1000; frames 1 to 4 are kept.");
    EXPECT_TRUE(fs::exists(*a / "pontos0004.txt"));
    EXPECT_FALSE(fs::exists(*a / "pontos0005.txt"));
}

TEST(Execucao, ResumoEmUmaLinha) {
    PastaTemporaria a;
    Execucao e(exemploCurto(), OpcoesExecucao{*a, false, 0});
    const ResultadoExecucao r = e.executar();
    const std::string linha = resumoExecucao(r);
    EXPECT_TRUE(std::regex_match(linha, std::regex("100 steps, 5 frames written to .+, [0-9]+\\.[0-9]{3} s wall time, "
                                                   "[0-9.e+]+ node-steps per second")))
        << linha;
    EXPECT_NE(linha.find((*a).string()), std::string::npos);
}

TEST(Execucao, CenaRecusadaNaoEscreveNada) {
    PastaTemporaria a;
    Cena c = exemploCurto();
    c.intervalo = 0;
    EXPECT_THROW(Execucao(c, OpcoesExecucao{*a / "saida", false, 0}), ErroEntrada);
    EXPECT_FALSE(fs::exists(*a / "saida"));
}

TEST(Execucao, ThreadsDemaisSaoRecusadas) {
    PastaTemporaria a;
    EXPECT_NO_THROW(Execucao(exemploCurto(), OpcoesExecucao{*a, false, limiteThreads()}));
    for (int n : {limiteThreads() + 1, 100000}) {
        try {
            Execucao e(exemploCurto(), OpcoesExecucao{*a, false, n});
            ADD_FAILURE() << n << " threads taken";
        } catch (const ErroEntrada& e) {
            EXPECT_EQ(std::string(e.what()), mensagemThreads(n));
            EXPECT_NE(std::string(e.what()).find(std::to_string(n) + " were asked for"), std::string::npos);
        }
    }
    EXPECT_EQ(mensagemThreads(limiteThreads()), "");
}

TEST(Execucao, DivergenciaEInterrupcaoTemSeusTextosECodigos) {
    PastaTemporaria a;
    Cena c = exemploCurto(401, 2);
    c.passo = 0.01;
    Execucao e(c, OpcoesExecucao{*a, false, 0});
    const ResultadoExecucao r = e.executar();
    EXPECT_EQ(codigoSaida(r), SaidaDivergiu);
    EXPECT_EQ(
        textoDivergencia(r),
        "The run diverged at step 9 (simulated time 0.09): node (0, 1) has a non-finite position x; frames 1 to 5 "
        "are kept.");
    EXPECT_TRUE(fs::exists(caminhoQuadro(*a, 5)));
    EXPECT_FALSE(fs::exists(caminhoQuadro(*a, 6)));

    // A surface too large to be finite is reported before any frame.
    c = exemploCurto();
    c.comp[0] = c.comp[1] = 1e308;
    Execucao grande(c, OpcoesExecucao{*a, false, 0});
    const ResultadoExecucao g = grande.executar();
    EXPECT_EQ(codigoSaida(g), SaidaDivergiu);
    EXPECT_EQ(textoDivergencia(g),
              "The surface as built is not finite: the surface has a non-finite area (a value of the scene too "
              "large?); no frame was written.");
    EXPECT_EQ(textoRemovidos(g),
              "Removed 5 files of an earlier run (pontos, dados, dedos) from " + (*a).string() + ".");

    Execucao i(exemploCurto(1001, 10), OpcoesExecucao{*a, false, 0});
    i.progresso = [&](int feitos, int) {
        if (feitos == 35) i.interromper();
    };
    const ResultadoExecucao s = i.executar();
    EXPECT_TRUE(s.cancelado);
    EXPECT_TRUE(s.interrompido) << "a signal, not the window's Cancel";
    EXPECT_EQ(codigoSaida(s), SaidaInterrompida);
    EXPECT_EQ(textoInterrupcao(s),
              "Interrupted after step 35 of 1000; frames 1 to 4 are complete in " + (*a).string() + ".");
    EXPECT_EQ(textoRemovidos(s), "") << "the run before wrote nothing";
}

}  // namespace
