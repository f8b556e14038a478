#pragma once

#include <vector>

#include "model/obj_deformavel.h"
#include "model/restricao.h"
#include "model/solver.h"
#include "model/vetor3.h"

namespace tevra {

// Every value of one scene, as numbers: what a script (or the main window) describes once
// its texts are converted, and what a run is built from. Lengths, mass and time are in the
// user's own units; tensors are indexed [k][l] with k, l in {0, 1} (direction 0 along i).
// The values of the shape not chosen and of a fluid that is off stay at 0.
struct Cena {
    double passo = 0.0;                     // time step dt ("delta_t")
    int quadros = 1;                        // iteration count: the run performs steps 1 .. quadros - 1 ("n_passos")
    int intervalo = 1;                      // a frame after every intervalo-th step ("pula")
    double tempo = 0.0;                     // animation time; kept, never used by the run ("tempo_animacao")
    int grade_i = 2;                        // nodes along i, the outer index of the node order ("grid", first)
    int grade_j = 2;                        // nodes along j, the inner index ("grid", second)
    Vetor3 acel;                            // constant acceleration on every node ("aceleracao")
    Vetor3 velInicial;                      // initial velocity of every node ("velocidade")
    double eta[2][2] = {};                  // metric (stretching) weights ("eta", captioned zeta)
    double qsi[2][2] = {};                  // curvature (bending) weights ("qsi", captioned xi)
    double psi[2][2] = {};                  // coupling weights ("psi")
    double massa = 0.0;                     // total mass of the surface ("massa")
    double gama = 0.0;                      // velocity damping coefficient ("gama")
    bool fluidoAtivo = false;               // a "fluido" block was given
    double fluido_cte = 0.0;                // fluid force coefficient ("fluido", cte)
    Vetor3 fluido;                          // velocity of the fluid ("fluido", x y z)
    int objeto = ObjetoPlano;               // shape code: ObjetoPlano or ObjetoCilindro ("obj_deformavel")
    double comp[3] = {};                    // sheet extents along x, y, z (plane only)
    double raio = 0.0;                      // tube radius (cylinder only)
    double comprimento = 0.0;               // tube length along x (cylinder only)
    std::vector<Restricao> restricoes;      // in script order; restriction k is row k
    int solver = SolverEulerSemiExplicito;  // integrator code

    bool operator==(const Cena&) const = default;
};

}  // namespace tevra
