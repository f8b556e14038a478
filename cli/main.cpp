// tevra-sim: runs a scene script without windows and writes its frame files.
#include <unistd.h>
#include <CLI/CLI.hpp>

#include <cstdio>
#include <string>

#include "app/cena/configuracao.h"
#include "app/cena/conversao_cena.h"
#include "app/cena/script_cena.h"
#include "app/execucao/execucao.h"
#include "base/barra_progresso.h"
#include "base/erros.h"
#include "model/solver.h"
#include "view/exportacao/exportacao_execucao.h"

using namespace tevra;

namespace {

std::string listaSolvers() {
    std::string s;
    for (std::string_view n : nomesSolver) s += (s.empty() ? "\"" : ", \"") + std::string(n) + "\"";
    return s;
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"Runs a Tevra scene script and writes its frame files"};
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
    std::string exportar;
    app.add_option("--export", exportar,
                   "also write every frame as vtu (superficieNNNN.vtu and superficie.pvd, full precision, for "
                   "ParaView) or obj (superficieNNNN.obj, for Blender)");
    CLI11_PARSE(app, argc, argv);
    const std::optional<FormatoExportacao> formato = formatoExportacao(exportar);
    if (!exportar.empty() && !formato) {
        std::fprintf(stderr, "tevra-sim: --export: '%s' is neither vtu nor obj\n", exportar.c_str());
        return 2;
    }

    std::unique_ptr<Execucao> execucao;
    const ExportacaoExecucao* exportacao = nullptr;
    try {
        FormularioCena form;
        carregarScript(std::filesystem::path(script), form);
        if (!solver.empty()) form.solver = solver;
        execucao = std::make_unique<Execucao>(converterCena(form, '.'), OpcoesExecucao{pasta, dados, threads});
        if (formato) {
            auto x = criarExportacao(*formato, *execucao);
            exportacao = x.get();
            execucao->adicionarSaida(std::move(x));
        }
    } catch (const ErroEntrada& e) {
        std::fprintf(stderr, "tevra-sim: %s: %s\n", script.c_str(), e.what());
        return 2;
    }

    BarraProgresso barra(isatty(STDERR_FILENO) != 0);
    execucao->progresso = [&barra](int feitos, int total) { barra.mostrar(feitos, total); };
    ResultadoExecucao res;
    try {
        res = execucao->executar();
    } catch (const ObjetoInvalido& e) {
        std::printf("%s\n", e.what());
        return 1;
    }
    barra.terminar();

    std::printf("%s\n", resumoExecucao(res).c_str());
    if (exportacao && exportacao->removidos() > 0)
        std::printf("%d file(s) of an earlier export removed from %s\n", exportacao->removidos(),
                    execucao->pasta().c_str());
    if (res.falhas > 0) {
        std::fprintf(stderr, "tevra-sim: %s\n", textoFalhas(res).c_str());
        return 3;
    }
    return 0;
}
