#include "dynamics/integradores.h"

#include "dynamics/forcas.h"
#include "dynamics/restricoes.h"

namespace tevra {

namespace {

// Runs f(idx, s) for every component that may move this step, nodes in grid order.
template <class F>
void paraCadaLivre(const ObjDeformavel& o, F&& f) {
    const int n = o.numNos();
#pragma omp parallel for schedule(static)
    for (int idx = 0; idx < n; ++idx) {
        if (o.restricaoDoNo[idx] == 0) {
            for (int s = 0; s < 3; ++s) f(idx, s);
        } else {
            for (int s = 0; s < 3; ++s)
                if (componenteLivre(o, idx, s)) f(idx, s);
        }
    }
}

// (F_ext + F_e1 - v gama + F_e2) / m, in that order.
inline double aceleracaoDe(const ObjDeformavel& o, int idx, int s) {
    return (o.forcaExterna[s][idx] + o.e_tio[s][idx] - o.vel[s][idx] * o.gama + o.somaChapeu[s][idx]) / o.massa;
}

}  // namespace

void reavaliarForcas(ObjDeformavel& obj, int numPasso) {
    obj.calcularNormais(numPasso);
    obj.atualizarGeometria(numPasso);
    calcularForcas(obj, numPasso);
    limparForcas(obj, numPasso);
}

void passoEuler(ObjDeformavel& o) {
    const double dt = o.passo;
    paraCadaLivre(o, [&](int idx, int s) {
        const double interna = o.e_tio[s][idx] + o.somaChapeu[s][idx];
        o.forcaInterna[s][idx] = interna;
        const double a = (o.forcaExterna[s][idx] + interna - o.vel[s][idx] * o.gama) / o.massa;
        o.aceleracao[s][idx] = a;
        o.vel[s][idx] = o.vel[s][idx] + dt * a;
        o.pos[s][idx] = o.pos[s][idx] + dt * o.vel[s][idx];
    });
}

// The velocity kick is half a step: the stored velocity is the half-step one, which is
// what the leapfrog start needs.
void passoPontoMedio(ObjDeformavel& o, int numPasso) {
    const double dt = o.passo;
    paraCadaLivre(o, [&](int idx, int s) {
        o.velAnterior[s][idx] = o.vel[s][idx];
        o.posAnterior[s][idx] = o.pos[s][idx];
        o.pos[s][idx] = o.pos[s][idx] + 0.5 * dt * o.vel[s][idx];
    });
    reavaliarForcas(o, numPasso);
    paraCadaLivre(o, [&](int idx, int s) {
        const double a = aceleracaoDe(o, idx, s);
        o.vel[s][idx] = o.velAnterior[s][idx] + 0.5 * dt * a;
        o.pos[s][idx] = o.posAnterior[s][idx] + dt * o.vel[s][idx];
    });
}

// Each increment is dt times the velocity after its stage's kick.
void passoRungeKutta(ObjDeformavel& o, int numPasso) {
    const double dt = o.passo;
    auto& k = o.incrementoRK;
    paraCadaLivre(o, [&](int idx, int s) {
        const double a = aceleracaoDe(o, idx, s);
        o.velAnterior[s][idx] = o.vel[s][idx];
        o.vel[s][idx] = o.vel[s][idx] + 0.5 * dt * a;
        k[0][s][idx] = dt * o.vel[s][idx];
        o.posAnterior[s][idx] = o.pos[s][idx];
        o.pos[s][idx] = o.pos[s][idx] + 0.5 * dt * o.vel[s][idx];
    });
    reavaliarForcas(o, numPasso);
    paraCadaLivre(o, [&](int idx, int s) {
        const double a = aceleracaoDe(o, idx, s);
        o.vel[s][idx] = o.velAnterior[s][idx] + 0.5 * dt * a;
        k[1][s][idx] = dt * o.vel[s][idx];
        o.pos[s][idx] = o.posAnterior[s][idx] + 0.5 * dt * o.vel[s][idx];
    });
    reavaliarForcas(o, numPasso);
    paraCadaLivre(o, [&](int idx, int s) {
        const double a = aceleracaoDe(o, idx, s);
        o.vel[s][idx] = o.velAnterior[s][idx] + 0.5 * dt * a;
        k[2][s][idx] = dt * o.vel[s][idx];
        o.pos[s][idx] = o.posAnterior[s][idx] + dt * o.vel[s][idx];
    });
    reavaliarForcas(o, numPasso);
    const double umSexto = 1.0 / 6.0;
    const double umTerco = 1.0 / 3.0;
    paraCadaLivre(o, [&](int idx, int s) {
        const double a = aceleracaoDe(o, idx, s);
        o.vel[s][idx] = o.velAnterior[s][idx] + dt * a;
        k[3][s][idx] = dt * o.vel[s][idx];
        o.pos[s][idx] = o.posAnterior[s][idx] + umSexto * k[0][s][idx] + umTerco * k[1][s][idx] +
                        umTerco * k[2][s][idx] + umSexto * k[3][s][idx];
    });
}

void passoLeapfrog(ObjDeformavel& o, int numPasso) {
    if (numPasso == 1) {
        passoPontoMedio(o, numPasso);
        return;
    }
    const double dt = o.passo;
    paraCadaLivre(o, [&](int idx, int s) {
        const double a = aceleracaoDe(o, idx, s);
        o.vel[s][idx] = o.vel[s][idx] + dt * a;
        o.pos[s][idx] = o.pos[s][idx] + dt * o.vel[s][idx];
    });
}

// posAnterior holds the previous positions; on step 1 those are the initial ones.
void passoVerlet(ObjDeformavel& o) {
    const double dt = o.passo;
    paraCadaLivre(o, [&](int idx, int s) {
        const double a = aceleracaoDe(o, idx, s);
        const double antigo = o.pos[s][idx];
        o.pos[s][idx] = 2.0 * o.pos[s][idx] - o.posAnterior[s][idx] + dt * dt * a;
        o.vel[s][idx] = (o.pos[s][idx] - o.posAnterior[s][idx]) / (2.0 * dt);
        o.posAnterior[s][idx] = antigo;
    });
}

}  // namespace tevra
