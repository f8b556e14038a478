#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
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

// Largest grid the viewer agrees to hold, whatever memory it has: 48 bytes a node in the
// node arrays, 24 in each frame kept, some 400 more to draw it (an outline's display list).
inline constexpr long long kMaxNosVisiveis = 4'000'000;

enum class EstadoQuadro {
    Completo,        // every node read, and nothing after the last
    Ausente,         // no such file, no regular file, or it cannot be opened
    Incompleto,      // the text ends inside a node, holds a non-number where a number belongs,
                     // or goes on after the last node with anything but nodes
    GradeDiferente,  // whole nodes, but not as many as the grid has (nosNoArquivo)
};

struct ResultadoLeitura {
    EstadoQuadro estado = EstadoQuadro::Ausente;
    // The value after "Objeto:" (first frame only), when it was a number.
    std::optional<double> objeto;
    // GradeDiferente: the nodes the file holds; with maisNos, at least that many (a file
    // far longer than the grid's is not read to its end).
    long long nosNoArquivo = 0;
    bool maisNos = false;
};

// Reads one frame text into `nos` (already sized) by position alone: labels are skipped
// as whole words and never compared. `primeiroQuadro` expects the "Objeto:" line first.
// Numbers are decimal or exponent notation; "nan" and "inf" count as non-numbers. A file
// the writer wrote for this grid has exactly its nodes, two lines each, after the header;
// one with whole nodes of another count is GradeDiferente, not a frame of this grid.
// When the frame is not complete the arrays hold whatever was read up to the failure.
ResultadoLeitura lerQuadro(std::string_view texto, bool primeiroQuadro, NosSuperficie& nos);

// The same from a file, read in blocks (a frame's text is never held whole). Anything but
// a regular file (a FIFO, a folder, a device) is Ausente without being opened, so that
// nothing waits on it; no more than a frame of this grid could take is read.
ResultadoLeitura lerQuadro(const std::filesystem::path& arquivo, bool primeiroQuadro, NosSuperficie& nos);

// Whether `arquivo` is a regular file (following links), without opening it.
bool arquivoRegular(const std::filesystem::path& arquivo);

// How a frame is read from its file; tests and tools put a reader of their own in place
// of lerQuadro.
using LeitorQuadro = std::function<ResultadoLeitura(const std::filesystem::path&, bool primeiroQuadro, NosSuperficie&)>;

// The window still says kMaxQuadroArquivo; it is the one frame limit.
inline constexpr int kMaxQuadroArquivo = kMaxQuadros;

// Where frame n of the series recorded in the home's tmp folder lies. Empty for n outside
// 1 .. 9999.
std::filesystem::path caminhoQuadro(int n);

}  // namespace tevra
