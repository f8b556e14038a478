// Row kernels of the internal force, the external force and the integrator stages. Compiled
// once per variant (see model/simd.h); interior nodes go through lane groups, the first and
// last columns one node at a time through the same bodies.
#include "dynamics/nucleo_forcas.h"
#include "model/simd.h"

namespace tevra::nucleo::TEVRA_VARIANTE {

namespace {

// Elastic terms this small are round-off of the differences and are dropped.
constexpr double kLimpezaForca = 1e-7;

// A node's stress terms, tangents and normal, as the quotients and the corrections read them.
template <class V>
struct Termos {
    V al[4], pb[4], pd[4], db[4], t[2][3], n[3];
    Termos(const TermosDaLinha& T, int j) {
        for (int a = 0; a < 4; ++a) {
            al[a] = ler<V>(T.alfa[a] + j);
            pb[a] = ler<V>(T.psiB[a] + j);
            pd[a] = ler<V>(T.psiDiv[a] + j);
            db[a] = ler<V>(T.divBetaNo[a] + j);
        }
        for (int c = 0; c < 3; ++c) {
            t[0][c] = ler<V>(T.t0[c] + j);
            t[1][c] = ler<V>(T.t1[c] + j);
            n[c] = ler<V>(T.n[c] + j);
        }
    }
};

template <class V>
inline void noQuocientes(const Grade& g, const LinhaQuocientes& L, int j) {
    const int passo = passoDe(g, L.passo);
    auto guardar = [&](int tipo, int a, int c, V v) { gravar(L.q + ((4 * tipo + a) * 3 + c) * passo + j, v); };
    const Termos<V> tm(L.termos, j);
    for (int a = 0; a < 4; ++a) {
        // alfa and psiB of the pair a = 2l + k go with t_l over delta_k; psiDiv and divBetaNo
        // of the pair a = 2k + l with the normal over delta_k.
        const int primeiro = a >> 1, segundo = a & 1;
        for (int c = 0; c < 3; ++c) {
            guardar(QuocPsiB, a, c, tm.pb[a] * tm.t[primeiro][c] / g.delta[segundo]);
            guardar(QuocAlfa, a, c, tm.al[a] * tm.t[primeiro][c] / g.delta[segundo]);
            guardar(QuocPsiDiv, a, c, tm.pd[a] * tm.n[c] / g.delta[primeiro]);
            guardar(QuocDivBeta, a, c, tm.db[a] * tm.n[c] / g.delta[primeiro]);
        }
    }
}

void quocientes(const Grade& g, const LinhaQuocientes& L) {
    const Trecho t = trecho(g, L.j0, L.j1);
    percorrer(t.j0, t.j1, [&]<class V>(int j) { noQuocientes<V>(g, L, j); });
}

// The internal force of one node: the four contributions in the model's order, each term
// added to the node's own sums; quotients of the neighbours are read where they were left.
template <class V>
inline void noInterna(const Grade& g, const LinhaInterna& L, int j, const bool ant[2], const bool prox[2]) {
    const int passo = passoDe(g, L.passo);
    auto Q = [&](const double* base, int tipo, int a, int c, int desvio) {
        return ler<V>(base + ((4 * tipo + a) * 3 + c) * passo + j + desvio);
    };
    auto proprio = [&](int tipo, int a, int c) { return Q(L.q, tipo, a, c, 0); };
    auto anterior = [&](int k, int tipo, int a, int c) {
        return k == 0 ? Q(L.qAnt, tipo, a, c, 0) : Q(L.q, tipo, a, c, -1);
    };
    auto seguinte = [&](int k, int tipo, int a, int c) {
        return k == 0 ? Q(L.qProx, tipo, a, c, 0) : Q(L.q, tipo, a, c, 1);
    };

    const Termos<V> tm(L.termos, j);
    V gama[2][2];
    gama[0][0] = ler<V>(L.chr[0] + j);  // christoffel[m][k][m]: 3m + k + m
    gama[0][1] = ler<V>(L.chr[4] + j);
    gama[1][0] = ler<V>(L.chr[1] + j);
    gama[1][1] = ler<V>(L.chr[5] + j);

    for (int c = 0; c < 3; ++c) {
        V et = V{}, sc = V{};
        // 1: membrane and coupling divergence.
        for (int k = 0; k < 2; ++k)
            for (int l = 0; l < 2; ++l) {
                const int lk = 2 * l + k;
                et = et + proprio(QuocPsiB, lk, c);
                sc = sc + proprio(QuocAlfa, lk, c);
                if (ant[k]) {
                    et = et - anterior(k, QuocPsiB, lk, c);
                    sc = sc - anterior(k, QuocAlfa, lk, c);
                }
            }
        const V e0 = sc;
        // 2: its Christoffel correction.
        for (int k = 0; k < 2; ++k)
            for (int l = 0; l < 2; ++l) {
                const int lk = 2 * l + k;
                const V pt = tm.pb[lk] * tm.t[l][c], at = tm.al[lk] * tm.t[l][c];
                for (int m = 0; m < 2; ++m) {
                    et = et + pt * gama[k][m];
                    sc = sc + at * gama[k][m];
                }
            }
        const V e1 = sc - e0;
        // 3: bending along the normal; a forward difference on the diagonal.
        for (int k = 0; k < 2; ++k)
            for (int l = 0; l < 2; ++l) {
                const int a = 2 * k + l;
                et = et + proprio(QuocPsiDiv, a, c);
                if (ant[k]) et = et - anterior(k, QuocPsiDiv, a, c);
                if (k == l) {
                    if (prox[k]) sc = sc + seguinte(k, QuocDivBeta, a, c);
                    sc = sc - proprio(QuocDivBeta, a, c);
                } else {
                    sc = sc + proprio(QuocDivBeta, a, c);
                    if (ant[k]) sc = sc - anterior(k, QuocDivBeta, a, c);
                }
            }
        const V e2 = sc - e0 - e1;
        // 4: its Christoffel correction.
        for (int k = 0; k < 2; ++k)
            for (int l = 0; l < 2; ++l) {
                const int lk = 2 * l + k;
                const V pn = tm.pd[lk] * tm.n[c], dn = tm.db[lk] * tm.n[c];
                for (int m = 0; m < 2; ++m) {
                    et = et + pn * gama[k][m];
                    sc = sc + dn * gama[k][m];
                }
            }
        if (L.e_chapeu[0][0]) {
            gravar(L.e_chapeu[0][c] + j, e0);
            gravar(L.e_chapeu[1][c] + j, e1);
            gravar(L.e_chapeu[2][c] + j, e2);
            gravar(L.e_chapeu[3][c] + j, sc - e0 - e1 - e2);
        }
        if (L.limpar) {
            sc = escolher(ateLimite(sc, kLimpezaForca), V{}, sc);
            et = escolher(ateLimite(et, kLimpezaForca), V{}, et);
        }
        gravar(L.somaChapeu[c] + j, sc);
        gravar(L.e_tio[c] + j, et);
    }
}

void interna(const Grade& g, const LinhaInterna& L) {
    const bool linhaAnt = L.r >= 1, linhaProx = L.r + 1 < g.gi;
    const Trecho t = trecho(g, L.j0, L.j1);
    t.bordas(g, [&](int j) {
        const bool ant[2] = {linhaAnt, j >= 1}, prox[2] = {linhaProx, j + 1 < g.gj};
        noInterna<double>(g, L, j, ant, prox);
    });
    const bool ant[2] = {linhaAnt, true}, prox[2] = {linhaProx, true};
    percorrer(t.inicioInterior(), t.fimInterior(g), [&]<class V>(int j) { noInterna<V>(g, L, j, ant, prox); });
}

template <class V, class M>
inline M marcar(M ruim, V x, V v) {
    return ruim | naoFinito(x) | naoFinito(v);
}

// One node of a stage. Restrito selects the per-component switches of `no`; without it every
// component is free, there is no point force and the fluid pushes.
template <Etapa E, bool Restrito, class V>
inline auto noEtapa(const ParametrosEtapa& p, const LinhaEtapa& L, int j, const NoRestrito* no) {
    using M = decltype(naoFinito(V{}));
    M ruim = M{};
    V v[3], n[3], f[3] = {V{}, V{}, V{}};
    for (int c = 0; c < 3; ++c) {
        v[c] = ler<V>(L.vel[c] + j);
        n[c] = ler<V>(L.n[c] + j);
    }
    constexpr bool comForca = E != Etapa::MedioIda && E != Etapa::Nenhuma;
    if (comForca || L.forcaExterna[0]) {
        if (p.fluido && (!Restrito || no->fluido)) {
            V w = V{};
            for (int k = 0; k < 3; ++k) w = w + (p.fluidoVel[k] - v[k]) * n[k];
            for (int l = 0; l < 3; ++l) f[l] = f[l] + p.fluidoCte * w * n[l];
        }
        for (int k = 0; k < 3; ++k) {
            if (!Restrito || no->campo[k]) f[k] = f[k] + p.massa * p.acel[k];
            if (Restrito && no->temForca) f[k] = f[k] + no->forca[k];
        }
        if (L.forcaExterna[0])
            for (int k = 0; k < 3; ++k) gravar(L.forcaExterna[k] + j, f[k]);
    }
    const double dt = p.dt, meioDt = 0.5 * dt;
    for (int s = 0; s < 3; ++s) {
        const V x = ler<V>(L.pos[s] + j);
        if (Restrito && !no->livre[s]) {
            gravar(L.novo[s] + j, x);
            if (E == Etapa::Euler && L.forcaInterna[0]) gravar(L.forcaInterna[s] + j, V{});
            ruim = marcar(ruim, x, v[s]);
            continue;
        }
        V xn = x, vn = v[s];
        V et = V{}, sc = V{};
        if constexpr (comForca) {
            et = ler<V>(L.e_tio[s] + j);
            sc = ler<V>(L.somaChapeu[s] + j);
        }
        // (F_ext + F_e1 - v gama + F_e2) / m, in that order.
        auto acc = [&] { return (f[s] + et - v[s] * p.gama + sc) / p.massa; };
        if constexpr (E == Etapa::Euler) {
            const V interna = et + sc;
            const V a = (f[s] + interna - v[s] * p.gama) / p.massa;
            if (L.forcaInterna[0]) {
                gravar(L.forcaInterna[s] + j, interna);
                gravar(L.aceleracao[s] + j, a);
            }
            vn = v[s] + dt * a;
            xn = x + dt * vn;
        } else if constexpr (E == Etapa::Leapfrog) {
            vn = v[s] + dt * acc();
            xn = x + dt * vn;
        } else if constexpr (E == Etapa::Verlet) {
            const V pa = ler<V>(L.posAnt[s] + j);
            xn = 2.0 * x - pa + dt * dt * acc();
            vn = (xn - pa) / (2.0 * dt);
            gravar(L.posAnt[s] + j, x);
        } else if constexpr (E == Etapa::MedioIda) {
            gravar(L.velAnt[s] + j, v[s]);
            gravar(L.posAnt[s] + j, x);
            xn = x + meioDt * v[s];
        } else if constexpr (E == Etapa::MedioVolta) {
            vn = ler<V>(L.velAnt[s] + j) + meioDt * acc();
            xn = ler<V>(L.posAnt[s] + j) + dt * vn;
        } else if constexpr (E == Etapa::RungeKutta1) {
            const V a = acc();
            gravar(L.velAnt[s] + j, v[s]);
            vn = v[s] + meioDt * a;
            gravar(L.k[0][s] + j, dt * vn);
            gravar(L.posAnt[s] + j, x);
            xn = x + meioDt * vn;
        } else if constexpr (E == Etapa::RungeKutta2 || E == Etapa::RungeKutta3) {
            vn = ler<V>(L.velAnt[s] + j) + meioDt * acc();
            gravar(L.k[E == Etapa::RungeKutta2 ? 1 : 2][s] + j, dt * vn);
            xn = ler<V>(L.posAnt[s] + j) + (E == Etapa::RungeKutta2 ? meioDt : dt) * vn;
        } else if constexpr (E == Etapa::RungeKutta4) {
            const double umSexto = 1.0 / 6.0, umTerco = 1.0 / 3.0;
            vn = ler<V>(L.velAnt[s] + j) + dt * acc();
            const V k4 = dt * vn;
            gravar(L.k[3][s] + j, k4);
            xn = ler<V>(L.posAnt[s] + j) + umSexto * ler<V>(L.k[0][s] + j) + umTerco * ler<V>(L.k[1][s] + j) +
                 umTerco * ler<V>(L.k[2][s] + j) + umSexto * k4;
        }
        gravar(L.novo[s] + j, xn);
        if constexpr (E != Etapa::Nenhuma && E != Etapa::MedioIda) gravar(L.vel[s] + j, vn);
        ruim = marcar(ruim, xn, vn);
    }
    return algum(ruim);
}

template <Etapa E>
bool faixa(const ParametrosEtapa& p, const LinhaEtapa& L, int j0, int j1) {
    bool ruim = false;
    percorrer(j0, j1, [&]<class V>(int j) { ruim = noEtapa<E, false, V>(p, L, j, nullptr) || ruim; });
    return ruim;
}

bool etapa(const ParametrosEtapa& p, const LinhaEtapa& L, int j0, int j1) {
    switch (p.etapa) {
        case Etapa::Nenhuma: return faixa<Etapa::Nenhuma>(p, L, j0, j1);
        case Etapa::Euler: return faixa<Etapa::Euler>(p, L, j0, j1);
        case Etapa::Leapfrog: return faixa<Etapa::Leapfrog>(p, L, j0, j1);
        case Etapa::Verlet: return faixa<Etapa::Verlet>(p, L, j0, j1);
        case Etapa::MedioIda: return faixa<Etapa::MedioIda>(p, L, j0, j1);
        case Etapa::MedioVolta: return faixa<Etapa::MedioVolta>(p, L, j0, j1);
        case Etapa::RungeKutta1: return faixa<Etapa::RungeKutta1>(p, L, j0, j1);
        case Etapa::RungeKutta2: return faixa<Etapa::RungeKutta2>(p, L, j0, j1);
        case Etapa::RungeKutta3: return faixa<Etapa::RungeKutta3>(p, L, j0, j1);
        case Etapa::RungeKutta4: return faixa<Etapa::RungeKutta4>(p, L, j0, j1);
    }
    return false;
}

template <Etapa E>
bool restrito(const ParametrosEtapa& p, const LinhaEtapa& L, const NoRestrito& no) {
    return noEtapa<E, true, double>(p, L, no.j, &no);
}

bool etapaRestrita(const ParametrosEtapa& p, const LinhaEtapa& L, const NoRestrito& no) {
    switch (p.etapa) {
        case Etapa::Nenhuma: return restrito<Etapa::Nenhuma>(p, L, no);
        case Etapa::Euler: return restrito<Etapa::Euler>(p, L, no);
        case Etapa::Leapfrog: return restrito<Etapa::Leapfrog>(p, L, no);
        case Etapa::Verlet: return restrito<Etapa::Verlet>(p, L, no);
        case Etapa::MedioIda: return restrito<Etapa::MedioIda>(p, L, no);
        case Etapa::MedioVolta: return restrito<Etapa::MedioVolta>(p, L, no);
        case Etapa::RungeKutta1: return restrito<Etapa::RungeKutta1>(p, L, no);
        case Etapa::RungeKutta2: return restrito<Etapa::RungeKutta2>(p, L, no);
        case Etapa::RungeKutta3: return restrito<Etapa::RungeKutta3>(p, L, no);
        case Etapa::RungeKutta4: return restrito<Etapa::RungeKutta4>(p, L, no);
    }
    return false;
}

}  // namespace

void quocientesLinha(const Grade& g, const LinhaQuocientes& L) { quocientes(g, L); }
void internaLinha(const Grade& g, const LinhaInterna& L) { interna(g, L); }
bool etapaLinha(const ParametrosEtapa& p, const LinhaEtapa& L, int j0, int j1) { return etapa(p, L, j0, j1); }
bool etapaRestritaLinha(const ParametrosEtapa& p, const LinhaEtapa& L, const NoRestrito& no) {
    return etapaRestrita(p, L, no);
}

}  // namespace tevra::nucleo::TEVRA_VARIANTE
