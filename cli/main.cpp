// tevra-sim: runs a scene script without windows and writes its frame files.
#include <CLI/CLI.hpp>
#include <omp.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "app/cena/configuracao.h"
#include "app/cena/script_cena.h"
#include "cli/barra_progresso.h"
#include "dynamics/simulacao.h"
#include "base/tevra_home.h"
#include "model/solver.h"

using namespace tevra;

int main(int argc, char** argv) {
    CLI::App app{"Runs a Tevra scene script and writes its frame files"};
    std::string script;
    std::string solver = std::string(nomesSolver[0]);
    std::string pasta;
    bool dados = false;
    int threads = 0;
    app.add_option("SCRIPT", script, "scene script")->required();
    app.add_option("--solver", solver,
                   "integrator: \"Semi-explicit Euler\", \"Midpoint\", \"Runge-Kutta\", \"Leapfrog\" or \"Verlet\"");
    app.add_option("--out", pasta, "folder for the frame files (default: the Tevra home's tmp folder)");
    app.add_flag("--data", dados, "also write the data dumps (dados0001.txt, dedosNNNN.txt)");
    app.add_option("--threads", threads, "worker threads (default: all cores)")->check(CLI::PositiveNumber);
    CLI11_PARSE(app, argc, argv);

    FormularioCena form;
    const ResultadoCarga carga = carregarScript(std::filesystem::path(script), form);
    if (!carga.completo) {
        std::fprintf(stderr, "tevra-sim: %s: %s\n", script.c_str(), carga.erro.c_str());
        return 2;
    }
    form.solver = solver;

    std::unique_ptr<ObjDeformavel> obj;
    try {
        obj = criarObjeto(form, '.');
    } catch (const ErroConfiguracao& e) {
        std::fprintf(stderr, "tevra-sim: %s: %s\n", script.c_str(), e.what());
        return 2;
    }
    obj->flagDados = dados ? 1 : 0;
    if (threads > 0) omp_set_num_threads(threads);

    OpcoesSimulacao op;
    if (pasta.empty()) {
        tevra::home::criarPastas();
        op.pasta = tevra::home::tmp();
    } else {
        op.pasta = pasta;
    }
    BarraProgresso barra(isatty(STDERR_FILENO) != 0);
    op.progresso = [&barra](int feitos, int total) { barra.mostrar(feitos, total); };

    const auto inicio = std::chrono::steady_clock::now();
    ResultadoSimulacao res;
    try {
        res = simular(*obj, op);
    } catch (const ObjetoInvalido& e) {
        std::printf("%s\n", e.what());
        return 1;
    }
    const double segundos = std::chrono::duration<double>(std::chrono::steady_clock::now() - inicio).count();
    barra.terminar();

    const double nosPassos = static_cast<double>(res.passos) * obj->numNos();
    std::printf("%d steps, %d frames written to %s, %.3f s wall time, %.3g node-steps per second\n", res.passos,
                res.quadros - res.falhas, op.pasta.string().c_str(), segundos,
                segundos > 0 ? nosPassos / segundos : 0.0);
    if (res.falhas > 0) {
        std::fprintf(stderr, "tevra-sim: %d file(s) could not be written; the first: %s\n", res.falhas,
                     res.primeiraFalha.c_str());
        return 3;
    }
    return 0;
}
