#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tevra {

// One per-node quantity of an export, held as the engine holds it: one array per component,
// one double a node, in node order.
struct CampoNos {
    std::string nome;
    int componentes = 3;  // 1 to 4
    const double* colunas[4] = {};
    bool normais = false;  // the surface normal: readers shade with it
};

// One frame's surface as the writers take it: plain arrays in node order (node (i, j) at
// i * gradeJ + j) and nothing of the engine or of the frame reader, so that a run and the
// converter of recorded frames write the same files.
struct SuperficieExportada {
    int gradeI = 0;
    int gradeJ = 0;
    bool fechada = false;  // a tube: a strip of quads joins the last row to the first
    const double* pos[3] = {};
    std::vector<CampoNos> campos;  // point data, in the order written

    std::int64_t numNos() const { return static_cast<std::int64_t>(gradeI) * gradeJ; }
    // The field marked as the normal; null when there is none.
    const CampoNos* normal() const;
};

// The quads of the surface, four node indices each, as the animation window draws them
// (a tube's closing strip included), wound counter-clockwise about the surface normal the
// engine stores: (i, j), (i + 1, j), (i + 1, j + 1), (i, j + 1).
std::vector<std::int64_t> quadsDaGrade(int gradeI, int gradeJ, bool fechada);

}  // namespace tevra
