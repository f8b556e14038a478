#pragma once

#include "app/cena/cena.h"
#include "app/execucao/threads.h"
#include "cli/opcoes.h"

namespace tevra {

// The run of a checked scene: its manifest, its progress on standard error, the summary
// line on standard output, a line for each way it fell short, and the exit status.
int rodarCena(const OpcoesLinha& o, const Cena& cena, const ThreadsExecucao& threads);

// --check: the set-up checks have passed; the output folder must take a file too. One line,
// the exit status (0 or 2), and nothing written.
int verificarExecucao(const OpcoesLinha& o, const Cena& cena, const ThreadsExecucao& threads);

}  // namespace tevra
