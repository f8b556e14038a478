#pragma once

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>

namespace tevra {

// Where a value that could not be used was typed: a box of a window by its object name, or
// a cell of the restrictions table. The windows use it to show the box; what() never
// mentions it.
struct OrigemEntrada {
    std::string caixa;  // object name ("passoEdit", "solverComboBox"); empty for a table cell
    int linha = -1;     // restriction number as the table shows it (from 0), for a cell
    int coluna = -1;    // the cell's column, 1 ("U") to 8 ("Z")

    bool celula() const { return caixa.empty() && linha >= 0; }
    bool operator==(const OrigemEntrada&) const = default;
};

// Input that cannot become a run: a script, a box of a window, an override, a set-up check.
// Thrown by the scene code and caught only by the front doors, which show what() as it
// stands: the text is written for the user. `origem` says which box, when the input came
// from one.
struct ErroEntrada : std::runtime_error {
    using std::runtime_error::runtime_error;
    ErroEntrada(const std::string& texto, OrigemEntrada onde) : std::runtime_error(texto), origem(std::move(onde)) {}

    std::optional<OrigemEntrada> origem;
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
