#include "cli/opcoes.h"

#include <CLI/CLI.hpp>

#include "app/cena/sobreposicoes.h"
#include "app/execucao/codigos_saida.h"
#include "model/solver.h"

namespace tevra {

namespace {

std::string listaSolvers() {
    std::string s;
    for (std::string_view n : nomesSolver) s += (s.empty() ? "\"" : ", \"") + std::string(n) + "\"";
    return s;
}

}  // namespace

std::optional<int> lerOpcoes(int argc, char** argv, OpcoesLinha& o) {
    CLI::App app{"Runs a Tevra scene script and writes its frame files"};
    app.add_option("SCRIPT", o.script, "scene script");
    app.add_option("--solver", o.solver, "integrator: " + listaSolvers() + " (default: the script's, else the first)");
    app.add_option("--set", o.sobreposicoes,
                   "KEY=VALUE: change one value of the script (repeatable, later wins); KEY is one of " +
                       textoChavesSobreposicao() +
                       ", with a component where the keyword holds several values (eta.01=5, aceleracao.z=-1.62, "
                       "fluido.cte=0.3, grid=32,32, obj_deformavel=cilindro,0.5,2, restricoes.0.fim=500)")
        ->allow_extra_args(false);
    app.add_option("--out", o.pasta, "folder for the frame files (default: the Tevra home's tmp folder)");
    app.add_flag("--data", o.dados, "also write the data dumps (dados0001.txt, dedosNNNN.txt)");
    app.add_option("--threads", o.threads,
                   "worker threads (default: OMP_NUM_THREADS, else SLURM_CPUS_PER_TASK, else every core)")
        ->check(CLI::PositiveNumber);
    app.add_flag("--quiet", o.silencioso, "no progress (neither the bar nor the log lines)");
    app.add_option("--export", o.exportar,
                   "also write every frame as vtu (superficieNNNN.vtu and superficie.pvd, full precision, for "
                   "ParaView) or obj (superficieNNNN.obj, for Blender)")
        ->check(CLI::IsMember({"vtu", "obj"}));
    auto* imprimir = app.add_flag("--print-scene", o.imprimirCena,
                                  "print the scene, after --solver and --set, as a script and stop");
    auto* verificar = app.add_flag("--check", o.verificar,
                                   "run every set-up check (grid, memory, frames, output folder) and stop; "
                                   "writes nothing");
    auto* coletar = app.add_option("--collect", o.coletar,
                                   "gather the tevra-run.json of these run folders into one CSV on standard output")
                        ->expected(1, -1);
    adicionarOpcoesRender(app, o.render);
    imprimir->excludes(verificar);
    coletar->excludes(imprimir)->excludes(verificar);
    app.footer(kTextoCodigosSaida);
    try {
        app.parse(argc, argv);
        if (o.coletar.empty() && o.script.empty()) throw CLI::RequiredError("SCRIPT");
        if (!o.coletar.empty() && !o.script.empty())
            throw CLI::ValidationError("--collect", "takes run folders and no SCRIPT");
    } catch (const CLI::ParseError& e) {
        // CLI11 has an exit code per kind of mistake; the runner keeps one for all of them.
        return app.exit(e) == 0 ? 0 : static_cast<int>(SaidaEntradaRecusada);
    }
    return std::nullopt;
}

}  // namespace tevra
