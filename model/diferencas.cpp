#include "model/estencil.h"
#include "model/obj_deformavel.h"

namespace tevra {

Vetor3 ObjDeformavel::derivada(int i, int j, int d) const {
    const estencil::Primeira e = estencil::primeira(i, j, d, grade_i, grade_j);
    Vetor3 r;
    for (int c = 0; c < 3; ++c) r[c] = (pos[c][e.a] - pos[c][e.b]) / delta[d];
    return r;
}

Vetor3 ObjDeformavel::derivadaSegunda(int i, int j, int k, int l) const {
    const int par = (k != l) ? 1 : (k == 0 ? 0 : 2);
    const estencil::Segunda e = estencil::segunda(i, j, par, grade_i, grade_j);
    const double divisor = delta[k] * delta[l];
    Vetor3 r;
    for (int c = 0; c < 3; ++c) r[c] = estencil::aplicar(e, pos[c]) / divisor;
    return r;
}

}  // namespace tevra
