#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tevra {

// A table of numbers with a heading line, as diagnostico.csv holds it: comma-separated,
// numbers with a point.
struct TabelaCsv {
    std::vector<std::string> colunas;
    std::vector<std::vector<double>> linhas;  // each as long as `colunas`
    // The first line that could not be read ("line 7 holds 'x'"); empty when all were.
    std::string problema;

    // The column of that heading; -1 when there is none.
    int coluna(std::string_view nome) const;
};

// Reads the table up to its first line that is not complete: a last line without its line
// break is being written and is left for later; a line with another number of fields or a
// field that is no number ends the table there, with `problema` saying where. A file that
// is missing, unreadable or not a regular file gives an empty table (no columns).
TabelaCsv tabelaCsv(std::string_view texto);
TabelaCsv lerTabelaCsv(const std::filesystem::path& arquivo);

}  // namespace tevra
