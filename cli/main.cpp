// tevra-sim: runs a scene script without windows and writes its frame files.
#include <signal.h>
#include <unistd.h>
#include <CLI/CLI.hpp>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <string>

#include "app/cena/configuracao.h"
#include "app/cena/conversao_cena.h"
#include "app/cena/script_cena.h"
#include "app/execucao/codigos_saida.h"
#include "app/execucao/execucao.h"
#include "base/barra_progresso.h"
#include "base/erros.h"
#include "base/texto_imprimivel.h"
#include "model/solver.h"

using namespace tevra;

namespace {

constexpr const char* kCodigosSaida =
    "Exit status:\n"
    "  0  done: every step run, every file written\n"
    "  1  invalid shape code in the scene (\"Objeto invalido!\")\n"
    "  2  the script, an option or the scene was refused; nothing was written\n"
    "  3  a file or the output folder could not be written; the run stopped there\n"
    "  4  the run diverged (a position or velocity became non-finite); the frames before it are kept\n"
    "  5  interrupted by SIGINT or SIGTERM after a step; every frame file left is complete\n";

// The run a signal stops; null outside the run.
std::atomic<Execucao*> execucaoAtual{nullptr};
volatile std::sig_atomic_t sinalRecebido = 0;

// Async-signal-safe: a flag and the run's two atomic stores. The handler is then reset, so a
// second Ctrl+C ends the process at once (the files on disk are still whole or absent).
extern "C" void aoSinal(int) {
    sinalRecebido = 1;
    if (Execucao* e = execucaoAtual.load(std::memory_order_relaxed)) e->interromper();
}

void instalarSinais() {
    struct sigaction sa {};
    sa.sa_handler = aoSinal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART | SA_RESETHAND;
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
}

std::string listaSolvers() {
    std::string s;
    for (std::string_view n : nomesSolver) s += (s.empty() ? "\"" : ", \"") + std::string(n) + "\"";
    return s;
}

void erro(const std::string& texto) { std::fprintf(stderr, "tevra-sim: %s\n", texto.c_str()); }

}  // namespace

int main(int argc, char** argv) {
    static_assert(std::atomic<Execucao*>::is_always_lock_free, "the signal handler reads it");
    CLI::App app{"Runs a Tevra scene script and writes its frame files"};
    app.footer(kCodigosSaida);
    std::string script;
    std::string solver;
    std::string pasta;
    bool dados = false;
    int threads = 0;
    app.add_option("SCRIPT", script, "scene script")->required();
    app.add_option("--solver", solver, "integrator: " + listaSolvers() + " (default: the script's, else the first)");
    app.add_option("--out", pasta, "folder for the frame files (default: the Tevra home's tmp folder)");
    app.add_flag("--data", dados, "also write the data dumps (dados0001.txt, dedosNNNN.txt)");
    app.add_option("--threads", threads, "worker threads (default: all cores)")->check(CLI::PositiveNumber);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        // --help is a success; every refused option is input refused.
        return app.exit(e) == 0 ? SaidaConcluida : SaidaEntradaRecusada;
    }
    instalarSinais();
    if (std::string m = mensagemThreads(threads); !m.empty()) {
        erro("--threads: " + m);
        return SaidaEntradaRecusada;
    }

    std::unique_ptr<Execucao> execucao;
    try {
        FormularioCena form;
        carregarScript(std::filesystem::path(script), form);
        if (!solver.empty()) form.solver = solver;
        execucao = std::make_unique<Execucao>(converterCena(form, '.'), OpcoesExecucao{pasta, dados, threads});
    } catch (const ErroEntrada& e) {
        erro(textoImprimivel(script) + ": " + e.what());
        return SaidaEntradaRecusada;
    }

    execucaoAtual.store(execucao.get());
    if (sinalRecebido) {
        erro("interrupted before the run started; nothing was written");
        return SaidaInterrompida;
    }
    BarraProgresso barra(isatty(STDERR_FILENO) != 0);
    execucao->progresso = [&barra](int feitos, int total) { barra.mostrar(feitos, total); };
    ResultadoExecucao res;
    try {
        res = execucao->executar();
    } catch (const ObjetoInvalido& e) {
        std::printf("%s\n", e.what());
        return SaidaObjetoInvalido;
    }
    execucaoAtual.store(nullptr);
    barra.terminar();

    if (std::string t = textoRemovidos(res); !t.empty()) std::printf("%s\n", t.c_str());
    std::printf("%s\n", resumoExecucao(res).c_str());
    std::fflush(stdout);
    const CodigoSaida codigo = codigoSaida(res);
    switch (codigo) {
        case SaidaFalhaEscrita: erro(textoFalhas(res)); break;
        case SaidaDivergiu: erro(textoDivergencia(res)); break;
        case SaidaInterrompida: erro(textoInterrupcao(res)); break;
        default: break;
    }
    return codigo;
}
