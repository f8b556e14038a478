#pragma once

#include "model/obj_deformavel.h"

namespace tevra {

// External forces (acceleration field, fluid, point forces) and the internal elastic
// terms `e_tio` and `somaChapeu`, from the current normals and stress terms.
void calcularForcas(ObjDeformavel& obj, int numPasso);

// Zeroes every elastic term of magnitude 1e-7 or less; a NaN stays a NaN.
void limparForcas(ObjDeformavel& obj, int numPasso);

}  // namespace tevra
