// Row kernels for the first differences and the metric, and for the node normals. Compiled
// once per variant (see model/simd.h); interior nodes go through lane groups without a
// branch, the first and last rows and columns one node at a time through the same bodies.
#include "model/estencil.h"
#include "model/nucleo.h"
#include "model/simd.h"

namespace tevra::nucleo::TEVRA_VARIANTE {

namespace {

// Inverse metrics of nearly singular nodes are left at zero.
constexpr double kDetMinimo = 1e-7;
// Components of a triangle normal below this are noise of the subtraction.
constexpr double kLimpeza = 1e-7;
// A triangle is degenerate when sin^2 of the angle between its edges is not above this; the
// test is scaled by the edge lengths so that fine grids keep their normals.
constexpr double kSenoQuadrado = 1e-7;

// Node j of the row; its tangent along j is taken at column jt (j itself, or the column
// before on the last one, whose backward difference is the same subtraction).
template <bool SoRaiz, class V>
inline void noMetrica(const Grade& g, const LinhaMetrica& L, int j, int jt) {
    V t0[3], t1[3];
    for (int c = 0; c < 3; ++c) {
        t0[c] = (ler<V>(L.pa[c] + j) - ler<V>(L.pb[c] + j)) / g.delta[0];
        t1[c] = (ler<V>(L.p[c] + jt + 1) - ler<V>(L.p[c] + jt)) / g.delta[1];
    }
    // G01 and G10 are the same products summed in the same order: one value.
    const V g00 = t0[0] * t0[0] + t0[1] * t0[1] + t0[2] * t0[2];
    const V g01 = t0[0] * t1[0] + t0[1] * t1[1] + t0[2] * t1[2];
    const V g11 = t1[0] * t1[0] + t1[1] * t1[1] + t1[2] * t1[2];
    const V det = g00 * g11 - g01 * g01;
    gravar(L.raiz + j, raiz(det));
    if constexpr (SoRaiz) return;
    for (int c = 0; c < 3; ++c) {
        gravar(L.t0[c] + j, t0[c]);
        gravar(L.t1[c] + j, t1[c]);
    }
    gravar(L.dG[0] + j, g00 - ler<V>(L.G0[0] + j));
    gravar(L.dG[1] + j, g01 - ler<V>(L.G0[1] + j));
    gravar(L.dG[2] + j, g11 - ler<V>(L.G0[2] + j));
    const auto inversivel = det > kDetMinimo;
    gravar(L.Ginv[0] + j, escolher(inversivel, g11 / det, V{}));
    gravar(L.Ginv[1] + j, escolher(inversivel, -g01 / det, V{}));
    gravar(L.Ginv[2] + j, escolher(inversivel, g00 / det, V{}));
    if (L.detG) {
        gravar(L.G[0] + j, g00);
        gravar(L.G[1] + j, g01);
        gravar(L.G[2] + j, g11);
        gravar(L.detG + j, det);
    }
}

template <bool SoRaiz>
void metrica(const Grade& g, const LinhaMetrica& L) {
    const Trecho t = trecho(g, L.j0, L.j1);
    percorrer(t.j0, t.j1 < g.gj - 1 ? t.j1 : g.gj - 1, [&]<class V>(int j) { noMetrica<SoRaiz, V>(g, L, j, j); });
    if (t.j1 == g.gj) noMetrica<SoRaiz, double>(g, L, g.gj - 1, g.gj - 2);
}

// Which neighbours of a node exist.
struct Vizinhos {
    bool iAnt, iProx, jAnt, jProx;
};

// Neighbour pairs around a node, in quadrant order: (+i, +j), (+j, -i), (-i, -j), (-j, +i).
// Edge k of a node: 0 towards +i, 1 towards +j, 2 towards -i, 3 towards -j.
constexpr int kArestas[4][2] = {{0, 1}, {1, 2}, {2, 3}, {3, 0}};

template <bool Interior, class V>
inline void noNormal(const Grade& g, const LinhaNormais& L, int i, int j, Vizinhos viz) {
    const int idx = i * g.gj + j;
    const int passo[4] = {g.gj, 1, -g.gj, -1};
    const bool existe[4] = {viz.iProx, viz.jProx, viz.iAnt, viz.jAnt};
    V centro[3];
    for (int c = 0; c < 3; ++c) centro[c] = ler<V>(L.pos[c] + idx);
    V e[4][3] = {};
    for (int k = 0; k < 4; ++k)
        if (Interior || existe[k])
            for (int c = 0; c < 3; ++c) e[k][c] = ler<V>(L.pos[c] + idx + passo[k]) - centro[c];
    V n[3] = {V{}, V{}, V{}};
    for (int q = 0; q < 4; ++q) {
        const int a1 = kArestas[q][0], a2 = kArestas[q][1];
        if (!Interior && !(existe[a1] && existe[a2])) {
            if (L.quadrante[q][0])
                for (int c = 0; c < 3; ++c) gravar(L.quadrante[q][c] + j, todos<V>(c == 1 ? -10.0 : 0.0));
            continue;
        }
        const V* e1 = e[a1];
        const V* e2 = e[a2];
        V cr[3];
        for (int k = 0; k < 3; ++k) {
            const int a = (k + 1) % 3, b = (k + 2) % 3;
            const V v = e1[a] * e2[b] - e1[b] * e2[a];
            cr[k] = escolher(ateLimite(v, kLimpeza), V{}, v);
        }
        const V len2 = cr[0] * cr[0] + cr[1] * cr[1] + cr[2] * cr[2];
        const V l1 = e1[0] * e1[0] + e1[1] * e1[1] + e1[2] * e1[2];
        const V l2 = e2[0] * e2[0] + e2[1] * e2[1] + e2[2] * e2[2];
        const auto valido = len2 > kSenoQuadrado * l1 * l2;
        const V len = raiz(len2);
        for (int k = 0; k < 3; ++k) {
            cr[k] = escolher(valido, cr[k] / len, V{});
            if (L.quadrante[q][0]) gravar(L.quadrante[q][k] + j, cr[k]);
            n[k] = n[k] + cr[k];
        }
    }
    const V len2 = n[0] * n[0] + n[1] * n[1] + n[2] * n[2];
    const auto valido = len2 > kLimpeza;
    const V len = raiz(len2);
    for (int k = 0; k < 3; ++k) gravar(L.n[k] + j, escolher(valido, n[k] / len, V{}));
}

void normais(const Grade& g, const LinhaNormais& L) {
    const int i = L.r;
    const bool iAnt = i >= 1, iProx = i + 1 < g.gi;
    trecho(g, 0, -1).bordas(g, [&](int j) {
        noNormal<false, double>(g, L, i, j, {iAnt, iProx, j >= 1, j + 1 < g.gj});
    });
    if (iAnt && iProx) {
        percorrer(1, g.gj - 1, [&]<class V>(int j) { noNormal<true, V>(g, L, i, j, {true, true, true, true}); });
    } else {
        for (int j = 1; j < g.gj - 1; ++j) noNormal<false, double>(g, L, i, j, {iAnt, iProx, true, true});
    }
}

}  // namespace

void metricaLinha(const Grade& g, const LinhaMetrica& L) {
    if (L.soRaiz)
        metrica<true>(g, L);
    else
        metrica<false>(g, L);
}
void normaisLinha(const Grade& g, const LinhaNormais& L) { normais(g, L); }

}  // namespace tevra::nucleo::TEVRA_VARIANTE
