#pragma once

#include <filesystem>
#include <istream>
#include <string>

#include "app/cena/cena.h"
#include "app/cena/formulario_cena.h"

namespace tevra {

// Longest token a script may hold.
inline constexpr std::size_t kMaxToken = 31;

// Reads a scene script into the form, section by section, as text. Boxes of sections the
// load reaches are overwritten; the others keep their text. The restriction rows (and the
// solver, when the script names one after them) are replaced only by a complete load.
// Throws ErroEntrada when the load cannot reach its end: the form then holds what was read.
void carregarScript(std::istream& entrada, FormularioCena& form);
void carregarScript(const std::filesystem::path& arquivo, FormularioCena& form);

// A script file as a scene, numbers written with a point; throws ErroEntrada.
Cena carregarCena(const std::filesystem::path& arquivo);

}  // namespace tevra
