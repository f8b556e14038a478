#pragma once

#include <string>

#include "app/cena/cena.h"

namespace tevra {

// The scene as a script that loads back to the same scene, bit for bit: reals in their
// shortest exact form with a point, the solver named after the restrictions.
std::string escreverScript(const Cena& cena);

// One real as a script holds it (shortest text that reads back to the same double).
std::string textoReal(double v);

}  // namespace tevra
