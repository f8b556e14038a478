#pragma once

#include "dynamics/nucleo_forcas.h"
#include "model/obj_deformavel.h"

namespace tevra {

// Rebuilds `restricaoDoNo` and `nosRestritos` for the object's current `passoAtual`: 0 for a
// free node, k + 1 when restriction k acts on it (the last active row wins).
void atualizarRestricoes(ObjDeformavel& obj);

// True when component s of node idx may move this step.
inline bool componenteLivre(const ObjDeformavel& obj, int idx, int s) {
    const int r = obj.restricaoDoNo[idx];
    if (r == 0) return true;
    const Restricao& rest = obj.restricoes[r - 1];
    return rest.tipo != RestricaoFixa || rest.eixo[s] != 0;
}

// What the active restriction of node idx does to it, for the row kernels.
nucleo::NoRestrito noRestrito(const ObjDeformavel& obj, int idx);

}  // namespace tevra
