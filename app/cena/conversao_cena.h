#pragma once

#include "app/cena/cena.h"
#include "app/cena/formulario_cena.h"

namespace tevra {

// The texts of the window (or of a loaded script) as numbers, read in the window's order
// with `separador` as the decimal separator of real values. Throws ErroEntrada at the first
// text that does not convert, and at a grid that cannot be held, right where the grid is
// read, so a user always sees the first problem of the window. Only the boxes of the shape
// chosen, and the fluid boxes only when "damp R" holds any text, are read.
Cena converterCena(const FormularioCena& form, char separador);

}  // namespace tevra
