#pragma once

#include <memory>
#include <vector>

#include "app/cena/configuracao.h"
#include "dynamics/restricoes.h"
#include "model/obj_deformavel.h"
#include "model/solver.h"
#include "support/cenas.h"

namespace tevra {

// Small surfaces for tests, built from cenaFolha and cenaTubo and ready for step 1: elastic
// weights zero unless a test sets them. Detailed: every per-step quantity is kept in the
// object's arrays, where the tests look at it.
inline std::unique_ptr<ObjDeformavel> folhaPlana(int gi, int gj, double cx, double cy, double cz,
                                                 int solver = SolverEulerSemiExplicito) {
    auto o = construirObjeto(cenaFolha(gi, gj, cx, cy, cz, solver));
    o->passoAtual = 1;
    o->detalhar();
    return o;
}

inline std::unique_ptr<ObjDeformavel> tubo(int gi, int gj, double raio, double comprimento,
                                           int solver = SolverEulerSemiExplicito) {
    auto o = construirObjeto(cenaTubo(gi, gj, raio, comprimento, solver));
    o->passoAtual = 1;
    o->detalhar();
    return o;
}

inline void pesos(ObjDeformavel& o, double eta, double qsi, double psi) {
    for (int k = 0; k < 2; ++k)
        for (int l = 0; l < 2; ++l) {
            o.eta[k][l] = eta;
            o.qsi[k][l] = qsi;
            o.psi[k][l] = psi;
        }
}

// Puts the restrictions on the object and rebuilds its table for the current step.
inline void usar(ObjDeformavel& o, std::vector<Restricao> rs) {
    o.restricoes = std::move(rs);
    o.nRestricoes = static_cast<int>(o.restricoes.size());
    atualizarRestricoes(o);
}

}  // namespace tevra
