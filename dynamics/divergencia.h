#pragma once

#include <optional>

#include "dynamics/simulacao.h"
#include "model/obj_deformavel.h"

namespace tevra {

// True when the last step left a non-finite position or velocity somewhere. Asked after
// every step, so it costs nothing: the step's last sweep tests every value it leaves and
// keeps the answer in the object (inicializar tests the initial state). It speaks of the
// state as the last step or inicializar left it, not of values written by hand since.
bool algumNaoFinito(const ObjDeformavel& obj);

// The first non-finite position or velocity in grid order (i outer, j inner; position x,
// y, z before velocity x, y, z of the same node), as left by step `passo`; nothing when
// every value is finite.
std::optional<Divergencia> localizarNaoFinito(const ObjDeformavel& obj, int passo);

}  // namespace tevra
