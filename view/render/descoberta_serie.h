#pragma once

#include <filesystem>
#include <optional>
#include <string_view>
#include <utility>

#include "view/quadros/leitor_quadros.h"

namespace tevra {

// A recorded series as pictures are made of it: its folder, its grid, its frames 1 .. quadros.
struct SerieGravada {
    std::filesystem::path pasta;
    int gradeI = 0;
    int gradeJ = 0;
    int quadros = 0;
    bool fechada = false;  // frame 1 says the surface is a closed tube
};

// The highest n for which `pasta` holds a file pontosNNNN.txt; 0 when there is none.
int ultimoQuadro(const std::filesystem::path& pasta);

// How many nodes a frame text holds (the first frame has the "Objeto:" line); -1 when the
// text is not laid out as a frame: a header, then two lines "idx: a b c" a node, idx 0, 1, ...
long long nosDoQuadro(std::string_view texto, bool primeiroQuadro);

// A frame file does not state its grid, only its node count. Frame 1 of a run is the rest
// shape as the engine builds it: a flat sheet is then an affine image of the grid (each
// position = corner + i a + j b), a tube a set of rows along its axis whose first nodes lie
// in one plane across it. The grid is the one factorisation I x J (both at least 2) of the
// node count for which frame 1 has that form; when none or more than one has it, the grid
// cannot be told from the files. `nos` holds frame 1's nodes in file order (any grid shape).
std::optional<std::pair<int, int>> gradeDaFormaInicial(const NosSuperficie& nos, bool tubo);

// Checks a series against what the user gave and fills in what was left out (0: find it):
// the frames from the files present, the grid from frame 1's shape. Throws ErroEntrada with
// a one-line reason when the folder holds no frames, frame 1 is missing or unreadable, the
// grid does not match frame 1's node count or cannot be told, or a count is out of range.
SerieGravada prepararSerie(const std::filesystem::path& pasta, int gradeI, int gradeJ, int quadros);

}  // namespace tevra
