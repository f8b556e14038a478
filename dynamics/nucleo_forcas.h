#pragma once
// Row kernels of the forces and the integrators, as plain pointers (see model/nucleo.h for
// the conventions). Compiled once per variant; no function bodies here.

#include "model/nucleo.h"

namespace tevra::nucleo {

// The per-node quotients of the internal force, each computed once and read again by the
// next node along its direction: membrane alfa_lk t_l / delta_k, coupling psiB_lk t_l /
// delta_k, and along the normal psiDiv_kl n / delta_k and divBetaNo_kl n / delta_k.
// Row (4 * tipo + a) * 3 + c of the block holds kind tipo, pair a, component c.
enum TipoQuociente { QuocAlfa = 0, QuocPsiB = 1, QuocPsiDiv = 2, QuocDivBeta = 3 };
inline constexpr int kLinhasQuociente = 48;

// A row's terms the quotients and the Christoffel corrections are made of.
struct TermosDaLinha {
    const double* alfa[4] = {};
    const double* psiB[4] = {};
    const double* psiDiv[4] = {};
    const double* divBetaNo[4] = {};
    const double* t0[3] = {};
    const double* t1[3] = {};
    const double* n[3] = {};
};

struct LinhaQuocientes {
    int j0 = 0, j1 = -1;  // the columns [j0, j1) (j1 < 0: the whole row)
    TermosDaLinha termos;
    double* q = nullptr;  // a block of 48 rows
    int passo = 0;        // the distance between its rows (0: the grid's row length)
};

// The four contributions of the internal force of row r.
struct LinhaInterna {
    int r = 0;
    int j0 = 0, j1 = -1;
    int passo = 0;                  // of the quotient blocks
    const double* q = nullptr;      // quotients of row r
    const double* qAnt = nullptr;   // of row r-1 (nullptr on the first row)
    const double* qProx = nullptr;  // of row r+1 (nullptr on the last row)
    TermosDaLinha termos;
    const double* chr[6] = {};
    bool limpar = false;  // drop the terms of magnitude 1e-7 or less
    double* somaChapeu[3] = {};
    double* e_tio[3] = {};
    double* e_chapeu[4][3] = {};  // optional
};

// Integrator stages: what one sweep does to a node after its forces.
enum class Etapa {
    Nenhuma,      // a solver code with no integrator: the nodes stay
    Euler,        // semi-explicit Euler
    Leapfrog,     // a whole kick and drift
    Verlet,       // from the previous position
    MedioIda,     // midpoint, first half: save and drift half a step (no force)
    MedioVolta,   // midpoint, second half: half a kick from the saved state
    RungeKutta1,  // the four Runge-Kutta stages
    RungeKutta2,
    RungeKutta3,
    RungeKutta4,
};

// What is the same for every node of a stage.
struct ParametrosEtapa {
    Etapa etapa = Etapa::Nenhuma;
    double dt = 0.0;
    double gama = 0.0;
    double massa = 0.0;  // the density of the step
    double acel[3] = {};
    bool fluido = false;
    double fluidoVel[3] = {};
    double fluidoCte = 0.0;
};

// Row r of the state a stage reads and writes.
struct LinhaEtapa {
    const double* pos[3] = {};  // the positions of the step
    double* novo[3] = {};       // where the stage leaves them (may be pos itself)
    double* vel[3] = {};
    double* posAnt[3] = {};
    double* velAnt[3] = {};
    double* k[4][3] = {};  // Runge-Kutta increments
    const double* n[3] = {};
    const double* somaChapeu[3] = {};
    const double* e_tio[3] = {};
    double* forcaExterna[3] = {};  // optional
    double* forcaInterna[3] = {};  // optional (Euler)
    double* aceleracao[3] = {};    // optional (Euler)
};

// A node under a restriction: which components may move and the force it adds.
struct NoRestrito {
    int j = 0;
    bool fluido = true;  // the fluid pushes it (not under a fixing restriction)
    bool livre[3] = {true, true, true};
    bool campo[3] = {true, true, true};  // it feels the acceleration field on this axis
    bool temForca = false;               // a point force ("forca") acts on it
    double forca[3] = {};
};

struct TabelaForcas {
    void (*quocientes)(const Grade&, const LinhaQuocientes&);
    void (*interna)(const Grade&, const LinhaInterna&);
    // Nodes [j0, j1) of a row, none restricted; true when a new position or velocity is not
    // finite.
    bool (*etapa)(const ParametrosEtapa&, const LinhaEtapa&, int j0, int j1);
    bool (*etapaRestrita)(const ParametrosEtapa&, const LinhaEtapa&, const NoRestrito&);
};

}  // namespace tevra::nucleo
