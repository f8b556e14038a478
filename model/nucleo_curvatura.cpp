// Row kernels for the curvature and the stress terms, and for the divergence of a stress
// term. Compiled once per variant (see model/simd.h). Interior nodes go through lane groups
// with no stencil or edge branch; the first and last rows and columns take the edge
// stencils one node at a time, through the same bodies where the formula is the same.
#include "model/estencil.h"
#include "model/nucleo.h"
#include "model/simd.h"

namespace tevra::nucleo::TEVRA_VARIANTE {

namespace {

// Which stress terms a node carries: the metric ones need the next node along their
// directions, the bending ones along i and j also the previous one.
struct Ativos {
    bool g00, g11, gMisto, b00, b11, bMisto;
};

Ativos ativos(const Grade& g, int i, int j) {
    const bool iSeg = i + 1 < g.gi, jSeg = j + 1 < g.gj;
    const bool iInt = 0 < i && iSeg, jInt = 0 < j && jSeg;
    return {iSeg, jSeg, iSeg && jSeg, iInt, jInt, iSeg && jSeg};
}

// Second differences of an interior node: three-point along i and j, the cell stencil
// towards (i+1, j+1) for the mixed pair.
// Row k (3 pair + component) of the second differences.
inline double* linhaSegunda(const Grade& g, const LinhaCurvatura& L, int k) { return L.s2 + k * passoDe(g, L.passoS2); }

template <class V>
inline void segundasInterior(const Grade& g, const LinhaCurvatura& L, int j) {
    const int idx = L.r * g.gj + j;
    for (int c = 0; c < 3; ++c) {
        const double* p = L.pos[c] + idx;
        const V x = ler<V>(p);
        const V xi = ler<V>(p + g.gj);
        const V xj = ler<V>(p + 1);
        gravar(linhaSegunda(g, L, c) + j, ((xi - 2.0 * x) + ler<V>(p - g.gj)) / g.div[0]);
        gravar(linhaSegunda(g, L, 3 + c) + j, (((ler<V>(p + g.gj + 1) - xi) - xj) + x) / g.div[1]);
        gravar(linhaSegunda(g, L, 6 + c) + j, ((xj - 2.0 * x) + ler<V>(p - 1)) / g.div[2]);
    }
}

void segundasBorda(const Grade& g, const LinhaCurvatura& L, int j) {
    for (int par = 0; par < 3; ++par) {
        const estencil::Segunda e = estencil::segunda(L.r, j, par, g.gi, g.gj);
        for (int c = 0; c < 3; ++c) linhaSegunda(g, L, 3 * par + c)[j] = estencil::aplicar(e, L.pos[c]) / g.div[par];
    }
}

// Weight of one tensor entry: 2 w_kl H0_kl H0_kl + w_kl H0_kk H0_ll.
template <class V>
inline V peso(const double w[2][2], const V* h, int k, int l) {
    return 2.0 * w[k][l] * h[k + l] * h[k + l] + w[k][l] * h[2 * k] * h[2 * l];
}

template <class V>
inline void noCurvatura(const Grade& g, const LinhaCurvatura& L, int j, Ativos at) {
    V s2[3][3], n[3], t[2][3], ginv[3];
    for (int p = 0; p < 3; ++p)
        for (int c = 0; c < 3; ++c) s2[p][c] = ler<V>(linhaSegunda(g, L, 3 * p + c) + j);
    for (int c = 0; c < 3; ++c) {
        n[c] = ler<V>(L.n[c] + j);
        t[0][c] = ler<V>(L.t0[c] + j);
        t[1][c] = ler<V>(L.t1[c] + j);
        ginv[c] = ler<V>(L.Ginv[c] + j);
    }
    V b[3];
    for (int p = 0; p < 3; ++p) b[p] = n[0] * s2[p][0] + n[1] * s2[p][1] + n[2] * s2[p][2];
    if (L.B[0])
        for (int u = 0; u < 3; ++u) gravar(L.B[u] + j, b[u]);
    if (L.repouso)
        for (int u = 0; u < 3; ++u) gravar(L.B0[u] + j, b[u]);

    V s[4];
    for (int k = 0; k < 2; ++k)
        for (int l = 0; l < 2; ++l) s[2 * k + l] = (V{} + ginv[k] * b[l]) + ginv[k + 1] * b[l + 1];
    V chr[6];
    for (int k = 0; k < 2; ++k)
        for (int l = k; l < 2; ++l)
            for (int m = 0; m < 2; ++m) {
                V acc = V{};
                if (g.algumChristoffel)
                    for (int nn = 0; nn < 2; ++nn) {
                        if (!g.usaChristoffel[nn][k][l]) continue;
                        for (int c = 0; c < 3; ++c) acc = acc + ginv[m + nn] * s2[k + l][c] * t[nn][c];
                    }
                chr[3 * m + k + l] = acc;
            }
    if (L.S[0]) {
        for (int a = 0; a < 4; ++a) gravar(L.S[a] + j, s[a]);
        for (int a = 0; a < 6; ++a) gravar(L.chr[a] + j, chr[a]);
    }
    if (L.repouso) return;

    V h[3], dg[3], db[3];
    for (int u = 0; u < 3; ++u) {
        h[u] = ler<V>(L.H0[u] + j);
        dg[u] = ler<V>(L.dG[u] + j);
        db[u] = ler<V>(L.B0[u] + j) - b[u];
    }
    const double r = g.ratio;
    const bool ativoG[4] = {at.g00, at.gMisto, at.gMisto, at.g11};
    const bool ativoB[4] = {at.b00, at.bMisto, at.bMisto, at.b11};
    V psiX[4], psiB[4];  // psiX: the psi weight times G - G0, shared by psiG and the coupling
    for (int k = 0; k < 2; ++k)
        for (int l = 0; l < 2; ++l) {
            const int a = 2 * k + l;
            const V pesoPsi = peso(g.psi, h, k, l);
            psiX[a] = pesoPsi * dg[k + l];
            gravar(L.alfa[a] + j, escolher(ativoG[a], peso(g.eta, h, k, l) * dg[k + l] * r, V{}));
            gravar(L.psiG[a] + j, escolher(ativoG[a], psiX[a] * r, V{}));
            gravar(L.beta[a] + j, escolher(ativoB[a], peso(g.qsi, h, k, l) * db[k + l] * r, V{}));
            psiB[a] = escolher(ativoB[a], pesoPsi * db[k + l] * r, V{});
        }
    for (int k = 0; k < 2; ++k)
        for (int l = 0; l < 2; ++l)
            for (int m = 0; m < 2; ++m) psiB[2 * k + l] = psiB[2 * k + l] - psiX[2 * k + m] * (r * s[2 * l + m]);
    for (int a = 0; a < 4; ++a) gravar(L.psiB[a] + j, psiB[a]);
}

void curvatura(const Grade& g, const LinhaCurvatura& L) {
    const int i = L.r;
    const Trecho t = trecho(g, L.j0, L.j1);
    const int j0 = t.inicioInterior(), j1 = t.fimInterior(g);
    t.bordas(g, [&](int j) { segundasBorda(g, L, j); });
    if (0 < i && i + 1 < g.gi) {
        percorrer(j0, j1, [&]<class V>(int j) { segundasInterior<V>(g, L, j); });
    } else {
        for (int j = j0; j < j1; ++j) segundasBorda(g, L, j);
    }
    t.bordas(g, [&](int j) { noCurvatura<double>(g, L, j, ativos(g, i, j)); });
    const Ativos meio = ativos(g, i, 1);  // any interior column
    percorrer(j0, j1, [&]<class V>(int j) { noCurvatura<V>(g, L, j, meio); });
}

// d = w_kl / delta_l minus the same quotient at the previous node along l, then the
// Christoffel terms; for beta, alfa_lk loses S_lm beta_km.
template <class V>
inline void noDivergencia(const LinhaDivergencia& L, int j, bool linhaAnt, bool colunaAnt) {
    V w[4], chr[6];
    for (int a = 0; a < 4; ++a) w[a] = ler<V>(L.w[a] + j);
    for (int a = 0; a < 6; ++a) chr[a] = ler<V>(L.chr[a] + j);
    V al[4] = {};
    if (L.alfa[0])
        for (int a = 0; a < 4; ++a) al[a] = ler<V>(L.alfa[a] + j);
    for (int k = 0; k < 2; ++k)
        for (int l = 0; l < 2; ++l) {
            const int a = 2 * k + l;
            V d = ler<V>(L.q[a] + j);
            if (l == 0 && linhaAnt) d = d - ler<V>(L.qAnt[a] + j);
            if (l == 1 && colunaAnt) d = d - ler<V>(L.q[a] + j - 1);
            if (L.difer[0]) gravar(L.difer[a] + j, d);
            for (int m = 0; m < 2; ++m) {
                d = d + (chr[3 * k + l + m] * w[2 * m + l] + chr[3 * l + l + m] * w[2 * k + m]);
                if (L.alfa[0]) al[2 * l + k] = al[2 * l + k] - ler<V>(L.S[2 * l + m] + j) * w[2 * k + m];
            }
            gravar(L.div[a] + j, d);
        }
    if (L.alfa[0])
        for (int a = 0; a < 4; ++a) gravar(L.alfa[a] + j, al[a]);
}

void divergencia(const Grade& g, const LinhaDivergencia& L) {
    const Trecho t = trecho(g, L.j0, L.j1);
    if (L.quocientes)
        for (int a = 0; a < 4; ++a) {
            const double d = g.delta[a & 1];
            const double* w = L.w[a];
            double* q = L.q[a];
            percorrer(t.j0, t.j1, [&]<class V>(int j) { gravar(q + j, ler<V>(w + j) / d); });
        }
    if (!L.divergencia) return;
    const bool linhaAnt = L.r >= 1;
    if (t.j0 == 0) noDivergencia<double>(L, 0, linhaAnt, false);
    percorrer(t.inicioInterior(), t.j1, [&]<class V>(int j) { noDivergencia<V>(L, j, linhaAnt, true); });
}

}  // namespace

void curvaturaLinha(const Grade& g, const LinhaCurvatura& L) { curvatura(g, L); }
void divergenciaLinha(const Grade& g, const LinhaDivergencia& L) { divergencia(g, L); }

}  // namespace tevra::nucleo::TEVRA_VARIANTE
