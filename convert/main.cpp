// tevra-convert: a recorded series of frame files as VTK XML (.vtu and .pvd) or OBJ files.
#include <unistd.h>
#include <CLI/CLI.hpp>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <new>
#include <string>

#include "app/execucao/codigos_saida.h"
#include "base/barra_progresso.h"
#include "base/erros.h"
#include "base/limites.h"
#include "view/exportacao/conversao_serie.h"

using namespace tevra;

namespace {

std::atomic<bool> parar{false};
static_assert(std::atomic<bool>::is_always_lock_free, "set from a signal handler");

extern "C" void aoSinal(int) { parar.store(true, std::memory_order_relaxed); }

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{
        "Converts a recorded series of Tevra frame files (pontosNNNN.txt) into VTK XML files for ParaView "
        "(superficieNNNN.vtu listed in superficie.pvd) or OBJ files for Blender (superficieNNNN.obj), with "
        "the positions and normals the frames hold.\n\nExit status: 0 every frame converted, 2 input refused, "
        "3 a file could not be written, 5 interrupted, 6 some frames skipped (missing, unreadable or of "
        "another grid)"};
    OpcoesConversao op;
    std::string pasta, saida, formato;
    std::vector<int> grade;
    app.add_option("DIR", pasta, "folder of the frame files")->required();
    app.add_option("--grid", grade, "nodes along i and along j, as the scene's grid")->required()->expected(2);
    int quadros = 0;
    CLI::Option* opcaoQuadros =
        app.add_option("--frames", quadros, "convert frames 1 to N (default: up to the last frame file in DIR)");
    app.add_option("--to", formato, "vtu or obj")->required();
    app.add_option("--out", saida, "folder for the converted files (default: DIR)");
    app.add_option("--frame-time", op.tempoPorQuadro,
                   "simulated time between two frames, the scene's pula x delta_t, for the .pvd (default: 1)");
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        if (e.get_exit_code() == 0) return app.exit(e);  // --help
        std::fprintf(stderr, "tevra-convert: %s (see --help)\n", e.what());
        return SaidaEntradaRecusada;
    }

    const std::optional<FormatoExportacao> f = formatoExportacao(formato);
    if (!f) {
        std::fprintf(stderr, "tevra-convert: --to: '%s' is neither vtu nor obj\n", formato.c_str());
        return SaidaEntradaRecusada;
    }
    op.formato = *f;
    op.pasta = pasta;
    op.saida = saida;
    op.gradeI = grade[0];
    op.gradeJ = grade[1];
    if (opcaoQuadros->count() > 0 && (quadros < 1 || quadros > kMaxQuadros)) {
        std::fprintf(stderr, "tevra-convert: --frames: %d is not between 1 and %d\n", quadros, kMaxQuadros);
        return SaidaEntradaRecusada;
    }
    op.quadros = quadros;

    std::signal(SIGINT, aoSinal);
    std::signal(SIGTERM, aoSinal);
    BarraProgresso barra(isatty(STDERR_FILENO) != 0, "frames");
    ResultadoConversao r;
    try {
        r = converterSerie(
            op, [&barra](int feitos, int total) { barra.mostrar(feitos, total); }, &parar);
    } catch (const ErroEntrada& e) {
        std::fprintf(stderr, "tevra-convert: %s\n", e.what());
        return SaidaEntradaRecusada;
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "tevra-convert: not enough memory for a frame of the grid %d x %d\n", op.gradeI,
                     op.gradeJ);
        return SaidaEntradaRecusada;
    }
    barra.terminar();
    if (r.saidaRecusada) {
        std::fprintf(stderr, "tevra-convert: cannot write to %s\n", r.falha->texto().c_str());
        return SaidaFalhaEscrita;
    }

    for (const std::string& linha : textoIgnorados(r, op.gradeI, op.gradeJ))
        std::fprintf(stderr, "tevra-convert: skipped %s\n", linha.c_str());
    if (r.formaDesconhecida && r.convertidos > 0)
        std::fprintf(stderr,
                     "tevra-convert: frame 1 could not be read, so the surface is taken as a sheet (a tube's "
                     "closing strip is not drawn)\n");
    if (r.removidos > 0) std::printf("%d file(s) of an earlier export removed from %s\n", r.removidos, r.saida.c_str());
    const char* tipo = op.formato == FormatoExportacao::Vtu ? ".vtu files listed in superficie.pvd" : ".obj files";
    std::printf("%d of %d frames converted to %s in %s\n", r.convertidos, r.quadros, tipo, r.saida.c_str());
    if (r.falha) {
        std::fprintf(stderr, "tevra-convert: %s\n", r.falha->texto().c_str());
        return SaidaFalhaEscrita;
    }
    if (r.interrompida) {
        std::fprintf(stderr, "tevra-convert: interrupted; the files written are complete\n");
        return SaidaInterrompida;
    }
    return r.ignorados.empty() ? SaidaConcluida : SaidaQuadroIgnorado;
}
