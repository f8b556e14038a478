#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "view/quadros/leitor_quadros.h"

namespace tevra {

// One frame as its picture needs it and no more: positions and normals of every node as the
// floats OpenGL is handed, three a node in node order. Half the size of the node arrays it
// comes from, and read by the drawing as it stands.
struct QuadroCompacto {
    int gradeI = 0;
    int gradeJ = 0;
    std::vector<float> pos;     // x, y, z of node 0, then of node 1, ...
    std::vector<float> normal;  // the normals as recorded (the drawing reverses them)
    // Changes whenever the values do (compactar gives every frame a number of its own), so
    // that what was made from a frame can tell whether it is still that frame.
    std::uint64_t versao = 0;

    std::size_t numNos() const { return pos.size() / 3; }
    // What the frame holds in memory.
    std::size_t bytes() const { return (pos.capacity() + normal.capacity()) * sizeof(float); }
};

// Memory a frame of a gradeI x gradeJ grid takes in the compact form.
inline constexpr std::size_t kBytesPorNoCompacto = 6 * sizeof(float);

// The node arrays rounded to floats, each value as static_cast<float> rounds it; a new versao.
void compactar(const NosSuperficie& nos, QuadroCompacto& destino);

}  // namespace tevra
