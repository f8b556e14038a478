#pragma once

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>

namespace tevra {

// Input that cannot become a run: a script, a box of a window, an override, a set-up check.
// Thrown by the scene code and caught only by the front doors, which show what() as it
// stands: the text is written for the user.
struct ErroEntrada : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// A file a run could not write, and why. Writers do not throw: they return
// std::optional<FalhaEscrita>, empty when the file was written.
struct FalhaEscrita {
    std::filesystem::path arquivo;
    std::string motivo;  // the system's reason, or what was wrong with the name

    // "file: reason", as messages show it.
    std::string texto() const { return arquivo.empty() ? motivo : arquivo.string() + ": " + motivo; }
};

using Escrita = std::optional<FalhaEscrita>;

}  // namespace tevra
