#pragma once

#include <string>
#include <vector>

namespace tevra {

// One frame of a series: its simulated time and its file, relative to the .pvd's folder.
struct EntradaPvd {
    double tempo = 0.0;
    std::string arquivo;
};

// The ParaView collection that lists a series' .vtu files with their times, in the order
// given; times written so that they read back as the same doubles.
std::string montarPvd(const std::vector<EntradaPvd>& entradas);

}  // namespace tevra
