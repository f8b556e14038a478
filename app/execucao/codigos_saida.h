#pragma once

#include "app/execucao/execucao.h"

namespace tevra {

// Exit status of the command-line front doors; each has one meaning.
enum CodigoSaida : int {
    SaidaConcluida = 0,        // the run did all its steps and wrote all its files
    SaidaObjetoInvalido = 1,   // a shape code the engine refuses ("Objeto invalido!")
    SaidaEntradaRecusada = 2,  // script, options, overrides or set-up refused; nothing written
    SaidaFalhaEscrita = 3,     // a file could not be written
    SaidaDivergiu = 4,         // a position or velocity became non-finite
    SaidaInterrompida = 5,     // SIGINT or SIGTERM; the files written are complete
    // tevra-convert, tevra-render: frames missing, unreadable or of another grid were skipped
    SaidaQuadroIgnorado = 6,
    SaidaSemOpenGL = 7,  // no off-screen OpenGL context could be made; no picture drawn
};

// The table of the codes as --help shows it (the README holds the same).
inline constexpr const char* kTextoCodigosSaida =
    "Exit status:\n"
    "  0  done: every step run, every file written\n"
    "  1  invalid shape code (\"Objeto invalido!\")\n"
    "  2  input refused (script, options, overrides, set-up checks); nothing written\n"
    "  3  a file or the output folder could not be written; the run stopped there\n"
    "  4  the run diverged (a position or velocity became non-finite); the frames before are kept\n"
    "  5  interrupted (SIGINT or SIGTERM) after a step; the files written are complete\n"
    "  7  --render: no off-screen OpenGL context could be made; nothing run\n";

// What a finished run exits with. A run can meet more than one of these; the order says
// which one it reports.
inline CodigoSaida codigoSaida(const ResultadoExecucao& r) {
    if (r.falhas > 0) return SaidaFalhaEscrita;
    if (r.divergencia) return SaidaDivergiu;
    if (r.interrompido) return SaidaInterrompida;
    return SaidaConcluida;
}

}  // namespace tevra
