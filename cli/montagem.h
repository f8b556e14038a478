#pragma once

#include <filesystem>

#include "app/cena/cena.h"
#include "cli/opcoes.h"

namespace tevra {

// The effective scene of a command line: the script, then --solver, then every --set in
// order, checked as a run would check it. Throws ErroEntrada with one line for the user that
// names the script or the override at fault.
Cena montarCena(const OpcoesLinha& o);

// Where the run's files go: --out, else the Tevra home's tmp folder (not created here).
std::filesystem::path pastaDeSaida(const OpcoesLinha& o);

}  // namespace tevra
