#pragma once

#include <filesystem>
#include <istream>
#include <string>

#include "app/cena/formulario_cena.h"

namespace tevra {

// Longest token a script may hold.
inline constexpr std::size_t kMaxToken = 31;

struct ResultadoCarga {
    bool completo = false;  // the load reached its end; the window may simulate
    std::string erro;       // why it stopped, when it did not
};

// Reads a scene script into the form, section by section, as text. Boxes of sections the
// load reaches are overwritten; the others keep their text. The restriction rows are
// replaced only by a complete load.
ResultadoCarga carregarScript(std::istream& entrada, FormularioCena& form);
ResultadoCarga carregarScript(const std::filesystem::path& arquivo, FormularioCena& form);

}  // namespace tevra
