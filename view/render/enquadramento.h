#pragma once

#include "model/vetor3.h"
#include "view/gl/estado_vista.h"
#include "view/quadros/quadro_compacto.h"

namespace tevra {

// The box around every node position seen so far.
struct Caixa {
    Vetor3 min{0, 0, 0};
    Vetor3 max{0, 0, 0};
    bool vazia = true;

    void incluir(const QuadroCompacto& quadro);
    Vetor3 centro() const { return {(min.x + max.x) / 2, (min.y + max.y) / 2, (min.z + max.z) / 2}; }
};

// Part of the picture the box may take at most along its longer side.
inline constexpr double kMargemEnquadramento = 0.95;

// Sets the view's translation and (uniform) scale so that `caixa`, turned by the view's
// rotation, fills the picture up to the margin and lies within the depth range of the
// projection; rotation, projection and lights stay as they are. The lights are placed under
// the same transform, so they keep their place relative to the surface. An empty box, or
// one that is a single point, only centres it.
void enquadrar(const Caixa& caixa, EstadoVista& vista);

}  // namespace tevra
