#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>

#include "view/quadros/leitor_quadros.h"

namespace tevra {

enum class EstadoConferido {
    Completo,    // every node of the grid, and nothing after them
    Ausente,     // no such file
    Ilegivel,    // not a regular file, cannot be read, ends early or holds a non-number
    OutraGrade,  // a whole frame, but of another number of nodes
};

struct LeituraConferida {
    EstadoConferido estado = EstadoConferido::Ausente;
    std::optional<double> objeto;    // the value after "Objeto:" (first frame only)
    std::int64_t nosNoArquivo = -1;  // for OutraGrade: the nodes the file holds; -1 when too many to tell
};

// lerQuadro's verdict in the converter's terms: a file that is there but cannot be taken
// (a folder, a FIFO, no permission) is Ilegivel, not Ausente, so that the report says why.
LeituraConferida lerQuadroConferido(std::string_view texto, bool primeiroQuadro, NosSuperficie& nos);
LeituraConferida lerQuadroConferido(const std::filesystem::path& arquivo, bool primeiroQuadro, NosSuperficie& nos);

}  // namespace tevra
