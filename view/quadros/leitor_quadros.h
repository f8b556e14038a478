#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

#include "base/limites.h"
#include "base/nomes_arquivos.h"

namespace tevra {

// Positions and normals of every node of a gradeI x gradeJ grid, one array per component;
// node (i, j) sits at idx = i * gradeJ + j.
struct NosSuperficie {
    int gradeI = 0;
    int gradeJ = 0;
    std::vector<double> x, y, z, nx, ny, nz;

    // Sizes the six arrays for the grid (zeroed). A negative dimension counts as 0.
    void alocar(int gi, int gj);
    std::size_t numNos() const { return x.size(); }
};

// Largest grid the viewer agrees to hold: 48 bytes a node in the arrays, several times that
// in the display lists.
inline constexpr long long kMaxNosVisiveis = 4'000'000;

enum class EstadoQuadro {
    Completo,    // every node read
    Ausente,     // no such file, or it cannot be opened
    Incompleto,  // the text ends early or holds a non-number where a number belongs
};

struct ResultadoLeitura {
    EstadoQuadro estado = EstadoQuadro::Ausente;
    // The value after "Objeto:" (first frame only), when it was a number.
    std::optional<double> objeto;
};

// Reads one frame text into `nos` (already sized) by position alone: labels are skipped
// as whole words and never compared. `primeiroQuadro` expects the "Objeto:" line first.
// Numbers are decimal or exponent notation; "nan" and "inf" count as non-numbers.
// On an incomplete frame the arrays hold whatever was read up to the failure.
ResultadoLeitura lerQuadro(std::string_view texto, bool primeiroQuadro, NosSuperficie& nos);

// The same from a file.
ResultadoLeitura lerQuadro(const std::filesystem::path& arquivo, bool primeiroQuadro, NosSuperficie& nos);

// The window still says kMaxQuadroArquivo; it is the one frame limit.
inline constexpr int kMaxQuadroArquivo = kMaxQuadros;

// Where frame n of the series recorded in the home's tmp folder lies. Empty for n outside
// 1 .. 9999.
std::filesystem::path caminhoQuadro(int n);

}  // namespace tevra
