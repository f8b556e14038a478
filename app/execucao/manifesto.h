#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/cena/cena.h"
#include "app/execucao/execucao.h"
#include "app/execucao/threads.h"
#include "base/erros.h"

namespace tevra {

// Every run leaves this file in its folder: what ran, where, how and how it ended, so that a
// sweep can be gathered and any row rerun exactly (the effective scene is in it as a script).
inline constexpr const char* kArquivoManifesto = "tevra-run.json";

// How the run was started, as its front door knows it.
struct OrigemExecucao {
    std::string programa;                    // "tevra-sim"
    std::string script;                      // the script as given
    std::vector<std::string> sobreposicoes;  // the KEY=VALUE overrides, in order
    ThreadsExecucao threads;
};

// "done", "diverged", "interrupted", "write-failure", or "cancelled" (a user's Cancel in a
// window); the same order of precedence as the exit code.
const char* estadoExecucao(const ResultadoExecucao& r);

// The manifest of one run: written with status "running" before the first step and
// replaced, atomically, with the outcome at the end. A run whose manifest still says
// "running" ended without a chance to say how (killed, out of memory, out of time).
class Manifesto {
public:
    // The start time is now.
    Manifesto(const Execucao& execucao, OrigemExecucao origem);

    Escrita gravarInicio();
    Escrita gravarFim(const ResultadoExecucao& resultado, int codigoSaida);

    // The JSON text as it stands (running or ended).
    std::string texto() const;
    std::filesystem::path arquivo() const { return pasta_ / kArquivoManifesto; }

private:
    OrigemExecucao origem_;
    Cena cena_;
    std::filesystem::path pasta_;
    int passosTotais_;
    std::chrono::system_clock::time_point inicio_;
    std::optional<std::chrono::system_clock::time_point> fim_;
    std::optional<ResultadoExecucao> resultado_;
    int codigo_ = 0;
};

// A moment as UTC ISO 8601 to the second: "2025-03-01T14:05:09Z".
std::string textoUtc(std::chrono::system_clock::time_point t);

}  // namespace tevra
