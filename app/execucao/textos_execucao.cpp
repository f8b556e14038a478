// The texts a front door shows for the end of a run: the runner's lines, the window's
// messages and status.
#include <cstdio>

#include "app/execucao/execucao.h"
#include "base/texto_imprimivel.h"

namespace tevra {

namespace {

std::string passoDeTotal(const ResultadoExecucao& r) {
    return "step " + std::to_string(r.passos) + " of " + std::to_string(r.passosTotais);
}

// "frames 1 to M are" (also for M = 1, as the window's messages have always said it); for a
// run that wrote at least one frame.
std::string quadrosGuardados(const ResultadoExecucao& r) { return "frames 1 to " + std::to_string(r.quadros) + " are"; }

std::string quadrosMantidos(const ResultadoExecucao& r) {
    return r.quadros == 0 ? "no frame was written" : quadrosGuardados(r) + " kept";
}

}  // namespace

std::string resumoExecucao(const ResultadoExecucao& r) {
    const double nosPassos = static_cast<double>(r.passos) * static_cast<double>(r.nos);
    char buf[128];
    std::snprintf(buf, sizeof buf, ", %.3f s wall time, %.3g node-steps per second", r.segundos,
                  r.segundos > 0 ? nosPassos / r.segundos : 0.0);
    return std::to_string(r.passos) + " steps, " + std::to_string(r.quadros) + " frames written to " +
           textoImprimivel(r.pasta.string()) + buf;
}

std::string textoCancelamento(const ResultadoExecucao& r) {
    return "The simulation was cancelled after " + passoDeTotal(r) + "; " + quadrosMantidos(r) + ".";
}

std::string textoInterrupcao(const ResultadoExecucao& r) {
    const std::string quadros = r.quadros == 0
                                    ? "no frame was written"
                                    : quadrosGuardados(r) + " complete in " + textoImprimivel(r.pasta.string());
    return "Interrupted after " + passoDeTotal(r) + "; " + quadros + ".";
}

std::string textoDivergencia(const ResultadoExecucao& r) {
    if (!r.divergencia) return {};
    const Divergencia& d = *r.divergencia;
    const std::string onde =
        d.i < 0 ? "the surface" : "node (" + std::to_string(d.i) + ", " + std::to_string(d.j) + ")";
    const std::string oQue = onde + " has a non-finite " + d.grandeza;
    if (d.passo == 0)
        return "The surface as built is not finite: " + oQue + " (a value of the scene too large?); " +
               quadrosMantidos(r) + ".";
    char tempo[32];
    std::snprintf(tempo, sizeof tempo, "%.6g", d.tempo);
    return "The run diverged at step " + std::to_string(d.passo) + " (simulated time " + tempo + "): " + oQue + "; " +
           quadrosMantidos(r) + ".";
}

std::string textoFalhas(const ResultadoExecucao& r) {
    if (r.falhas == 0) return {};
    std::string t =
        "Cannot write " + (r.primeiraFalha ? textoImprimivel(r.primeiraFalha->texto()) : std::string("a file"));
    if (r.passos == 0 && r.quadros == 0)
        t += "; nothing was run.";
    else
        t += "; the run stopped after " + passoDeTotal(r) + ", " +
             (r.quadros == 0 ? "no frame was written." : quadrosGuardados(r) + " complete.");
    if (r.falhas > 1) {
        t += ' ';
        t += std::to_string(r.falhas - 1);
        t += " more file(s) could not be written.";
    }
    return t;
}

std::string textoRemovidos(const ResultadoExecucao& r) {
    if (r.removidos == 0) return {};
    return "Removed " + std::to_string(r.removidos) + (r.removidos == 1 ? " file" : " files") +
           " of an earlier run (pontos, dados, dedos) from " + textoImprimivel(r.pasta.string()) + ".";
}

}  // namespace tevra
