#pragma once

#include <cstddef>

namespace tevra {

// The animation window's budget when nobody set another: a quarter of the memory available
// (1 GiB when that cannot be known).
std::size_t orcamentoPadraoVisor();

// How a showing of a series fits a budget of memory.
struct PlanoCarga {
    bool cabe = false;                 // a frame and its reading fit at all
    int trabalhadores = 1;             // reading threads
    int adiantados = 1;                // frames read ahead of the one taken
    std::size_t orcamentoQuadros = 0;  // what the frames kept in memory may take
};

// Frames in flight while loading cost 72 bytes a node each (the reader's node arrays and
// the compact frame); `bytesFixosPorNo` is what the window holds for the grid whatever the
// frame count (drawing, the node arrays of the frame read last). Fewer frames in flight
// before none at all: a grid that leaves no room for one frame kept does not fit.
PlanoCarga planejarCarga(std::size_t orcamento, long long nos, std::size_t bytesFixosPorNo, int trabalhadoresMax);

}  // namespace tevra
