#pragma once

#include <optional>

#include "dynamics/simulacao.h"
#include "model/obj_deformavel.h"

namespace tevra {

// True when the last step left a non-finite position or velocity somewhere. Asked after
// every step, so it has to cost next to nothing.
bool algumNaoFinito(const ObjDeformavel& obj);

// The first non-finite position or velocity in grid order (i outer, j inner; position x,
// y, z before velocity x, y, z of the same node), as left by step `passo`; nothing when
// every value is finite.
std::optional<Divergencia> localizarNaoFinito(const ObjDeformavel& obj, int passo);

}  // namespace tevra
