#pragma once

#include <memory>
#include <vector>

#include "dynamics/restricoes.h"
#include "model/obj_deformavel.h"
#include "model/solver.h"

namespace tevra {

// Small surfaces for tests: elastic weights zero unless a test sets them.
inline std::unique_ptr<ObjDeformavel> folhaPlana(int gi, int gj, double cx, double cy, double cz,
                                                 int solver = SolverEulerSemiExplicito) {
    auto o = std::make_unique<ObjDeformavel>(gi, gj, solver);
    o->objeto = ObjetoPlano;
    o->comp[0] = cx;
    o->comp[1] = cy;
    o->comp[2] = cz;
    o->massa = 1.0;
    o->passo = 0.001;
    o->quadros = 1;
    o->intervalo = 1;
    o->passoAtual = 1;
    return o;
}

inline std::unique_ptr<ObjDeformavel> tubo(int gi, int gj, double raio, double comprimento,
                                           int solver = SolverEulerSemiExplicito) {
    auto o = folhaPlana(gi, gj, 0, 0, 0, solver);
    o->objeto = ObjetoCilindro;
    o->raio = raio;
    o->comprimento = comprimento;
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

// Restriction rows as the set-up builds them.
inline Restricao fixa(int u, int v, int x, int y, int z, int inicio = 0, int fim = 1000) {
    Restricao r;
    r.u = u;
    r.v = v;
    r.tipo = RestricaoFixa;
    r.inicio = inicio;
    r.fim = fim;
    r.eixo[0] = x;
    r.eixo[1] = y;
    r.eixo[2] = z;
    return r;
}

inline Restricao forca(int u, int v, Vetor3 f, int inicio = 0, int fim = 1000) {
    Restricao r;
    r.u = u;
    r.v = v;
    r.tipo = RestricaoForca;
    r.inicio = inicio;
    r.fim = fim;
    r.forca = f;
    return r;
}

// Puts the restrictions on the object and rebuilds its table for the current step.
inline void usar(ObjDeformavel& o, std::vector<Restricao> rs) {
    o.restricoes = std::move(rs);
    o.nRestricoes = static_cast<int>(o.restricoes.size());
    atualizarRestricoes(o);
}

}  // namespace tevra
