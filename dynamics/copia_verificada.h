#pragma once

#include <cstddef>

namespace tevra {

// Copies n doubles and tells whether any of them is infinite or NaN, in one pass over the
// source. The copy is for another core (the frame writer's thread): it is stored past the
// caches, so that handing a frame over neither reads the destination's old lines nor evicts
// the run's own arrays from this core's cache.
bool copiarVerificando(const double* de, double* para, std::size_t n);

// The same copy without the test.
void copiarParaOutroNucleo(const double* de, double* para, std::size_t n);

}  // namespace tevra
