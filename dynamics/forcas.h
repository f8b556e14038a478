#pragma once

#include "model/obj_deformavel.h"

namespace tevra {

// External forces (acceleration field, fluid, point forces) and the internal elastic terms
// `e_tio`, `somaChapeu` and `e_chapeu` into the object's arrays, from its current normals and
// geometry (atualizarGeometria). A step does not go through here: its sweeps compute the
// same terms row by row (dynamics/varredura.h); this is the whole-grid form, for tests and
// inspection, and it makes the object detailed.
void calcularForcas(ObjDeformavel& obj, int numPasso);

// Zeroes every elastic term of magnitude 1e-7 or less; a NaN stays a NaN.
void limparForcas(ObjDeformavel& obj, int numPasso);

}  // namespace tevra
