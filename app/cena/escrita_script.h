#pragma once

#include <string>

#include "app/cena/cena.h"

namespace tevra {

// The scene as a script that loads back to the same scene, bit for bit: reals in their
// shortest exact form with a point, the solver named after the restrictions.
std::string escreverScript(const Cena& cena);

// One real as a script holds it: the shortest text that reads back to the same double, in
// plain decimals from 1e-5 to 1e15 and with an exponent beyond.
std::string textoReal(double v);

}  // namespace tevra
