#pragma once

#include <string>

#include "app/cena/cena.h"
#include "app/cena/formulario_cena.h"

namespace tevra {

// The texts of the window (or of a loaded script) as numbers, read in the window's order
// with `separador` as the decimal separator of real values. Throws ErroEntrada at the first
// text that does not convert, and at a grid that cannot be held, right where the grid is
// read, so a user always sees the first problem of the window. Only the boxes of the shape
// chosen, and the fluid boxes only when "damp R" holds any text, are read.
Cena converterCena(const FormularioCena& form, char separador);

// One text as the set-up converts it, each throwing ErroEntrada with the conversion error;
// whatever else turns text into a scene value (overrides of a loaded scene) goes through
// these, so that the same text always gives the same bits.
int inteiroDoTexto(const std::string& texto);
double realDoTexto(const std::string& texto, char separador);
// A real truncated toward zero, as the iteration count and the interval are ("1e4" gives
// 10000, "2.9" gives 2); `nome` names the value for one that does not fit an int.
int realTruncadoDoTexto(const std::string& texto, char separador, const char* nome);

}  // namespace tevra
