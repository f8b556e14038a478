#pragma once
// Scenes for the tests, the benchmark and the comparison with the reference engine, all as
// the typed scene a run is built from. Header-only and free of the test framework so that
// bench/ can include it too.

#include <random>
#include <string>

#include "app/cena/cena.h"
#include "model/obj_deformavel.h"
#include "model/restricao.h"
#include "model/solver.h"

namespace tevra {

// A sheet of gi x gj nodes with extents cx along x and (cy, cz) along the second side:
// mass 1, dt 0.001, one iteration, no forces and every elastic weight 0.
inline Cena cenaFolha(int gi, int gj, double cx, double cy, double cz, int solver = SolverEulerSemiExplicito) {
    Cena c;
    c.grade_i = gi;
    c.grade_j = gj;
    c.solver = solver;
    c.objeto = ObjetoPlano;
    c.comp[0] = cx;
    c.comp[1] = cy;
    c.comp[2] = cz;
    c.massa = 1.0;
    c.passo = 0.001;
    c.quadros = 1;
    c.intervalo = 1;
    return c;
}

// A tube of gi nodes round and gj along its length, otherwise as cenaFolha.
inline Cena cenaTubo(int gi, int gj, double raio, double comprimento, int solver = SolverEulerSemiExplicito) {
    Cena c = cenaFolha(gi, gj, 0, 0, 0, solver);
    c.objeto = ObjetoCilindro;
    c.raio = raio;
    c.comprimento = comprimento;
    return c;
}

// The same weight on every component of each tensor.
inline Cena comPesos(Cena c, double eta, double qsi, double psi) {
    for (int k = 0; k < 2; ++k)
        for (int l = 0; l < 2; ++l) {
            c.eta[k][l] = eta;
            c.qsi[k][l] = qsi;
            c.psi[k][l] = psi;
        }
    return c;
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

// The benchmark's sheet: n x n nodes, all three tensors non-zero and unequal off the
// diagonal, gravity, a fluid and a held corner, so that every term of a step is computed.
// Its iteration count and interval never end a run nor record a frame: the set-up would
// refuse it, build it with construirObjeto.
inline Cena cenaBenchmark(int n, int solver) {
    Cena c = cenaFolha(n, n, 2.0, 2.0, 0.5, solver);
    const double eta[2][2] = {{20.0, 1.0}, {1.0, 20.0}};
    const double qsi[2][2] = {{0.01, 0.001}, {0.001, 0.01}};
    const double psi[2][2] = {{0.1, 0.01}, {0.01, 0.1}};
    for (int k = 0; k < 2; ++k)
        for (int l = 0; l < 2; ++l) {
            c.eta[k][l] = eta[k][l];
            c.qsi[k][l] = qsi[k][l];
            c.psi[k][l] = psi[k][l];
        }
    c.gama = 0.1;
    c.acel = {0.0, 0.0, -9.8};
    c.fluidoAtivo = true;
    c.fluido = {0.0, 0.5, 1.0};
    c.fluido_cte = 0.05;
    c.passo = 1e-5;
    c.quadros = 1 << 30;
    c.intervalo = 1 << 30;
    c.restricoes = {fixa(0, 0, 0, 0, 0, 0, 1 << 30)};
    return c;
}

// A scene drawn for the comparison of the engine with the reference: either shape, any grid
// up to 9 x 9, now and then a solver code that names no integrator, weights, fluid and
// velocity each on or off, restrictions of both kinds partly off the grid or out of their
// window. Set-up checks are not applied: build it with construirObjeto.
struct CenaSorteada {
    Cena cena;
    bool dados = false;     // the run also writes its data dumps
    std::string descricao;  // enough to tell which scene failed
};

inline CenaSorteada sortearCena(std::mt19937_64& g) {
    auto u = [&](double a, double b) { return std::uniform_real_distribution<double>(a, b)(g); };
    auto n = [&](int a, int b) { return std::uniform_int_distribution<int>(a, b)(g); };
    CenaSorteada s;
    Cena& c = s.cena;
    c.grade_i = n(2, 9);
    c.grade_j = n(2, 9);
    c.solver = n(0, 10) == 0 ? 9 : n(SolverEulerSemiExplicito, SolverVerlet);
    c.massa = u(0.5, 3);
    for (int k = 0; k < 2; ++k)
        for (int l = 0; l < 2; ++l) {
            c.eta[k][l] = n(0, 3) ? u(0, 5) : 0.0;
            c.qsi[k][l] = n(0, 2) ? u(0, 0.05) : 0.0;
            c.psi[k][l] = n(0, 2) ? u(-0.05, 0.05) : 0.0;
        }
    if (n(0, 1)) {
        c.objeto = ObjetoPlano;
        c.comp[0] = u(0.5, 3);
        c.comp[1] = u(0.5, 3);
        c.comp[2] = n(0, 1) ? u(-2, 2) : 0.0;
    } else {
        c.objeto = ObjetoCilindro;
        c.raio = u(0.3, 2);
        c.comprimento = u(0.5, 4);
    }
    c.gama = u(0, 0.5);
    Vetor3 fluido;
    for (int k = 0; k < 3; ++k) {
        c.velInicial[k] = n(0, 1) ? u(-1, 1) : 0.0;
        c.acel[k] = u(-10, 10);
        fluido[k] = u(-2, 2);
    }
    c.fluidoAtivo = n(0, 1) != 0;
    const double fluido_cte = u(0, 0.5);
    // Drawn either way so that one seed gives the same scenes; kept only when the fluid is on,
    // as a script without a fluid block leaves them.
    if (c.fluidoAtivo) {
        c.fluido = fluido;
        c.fluido_cte = fluido_cte;
    }
    c.passo = u(1e-4, 2e-3);
    c.quadros = n(1, 40);
    c.intervalo = n(1, 6);
    s.dados = n(0, 2) == 0;
    const int nr = n(0, 4);
    for (int k = 0; k < nr; ++k) {
        Restricao r;
        r.u = n(-1, c.grade_i);
        r.v = n(-1, c.grade_j);
        r.tipo = n(0, 1) ? RestricaoFixa : RestricaoForca;
        r.inicio = n(0, 10);
        r.fim = n(0, 50);
        for (int e = 0; e < 3; ++e) {
            r.eixo[e] = n(0, 1);
            r.forca[e] = u(-5, 5);
        }
        c.restricoes.push_back(r);
    }
    s.descricao = "grid " + std::to_string(c.grade_i) + "x" + std::to_string(c.grade_j) + " solver " +
                  std::to_string(c.solver) + " objeto " + std::to_string(c.objeto) + " quadros " +
                  std::to_string(c.quadros) + " intervalo " + std::to_string(c.intervalo) + " restricoes " +
                  std::to_string(nr) + " fluido " + std::to_string(c.fluidoAtivo) + " dados " + std::to_string(s.dados);
    return s;
}

}  // namespace tevra
