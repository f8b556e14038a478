#pragma once
// Rows of the object's arrays as the row kernels take them. A row a sweep keeps in its own
// buffers is filled in by the sweep over these.

#include "model/caminho.h"
#include "model/nucleo.h"
#include "model/obj_deformavel.h"

namespace tevra {

// The object's array index of the distinct entry u = k + l of a symmetric 2 x 2 quantity.
inline constexpr int indiceSimetrico(int u) { return u == 2 ? 3 : u; }

// Row r of array a (nullptr stays nullptr).
inline double* naLinha(double* a, const ObjDeformavel& o, int r) { return a ? a + r * o.grade_j : nullptr; }

// Row r of each of n arrays (a vector quantity, a full 2 x 2 one, ...).
template <class P>
void nasLinhas(P** destino, double* const* origem, int n, const ObjDeformavel& o, int r) {
    for (int k = 0; k < n; ++k) destino[k] = naLinha(origem[k], o, r);
}
// Row r of the three distinct entries of a symmetric 2 x 2 quantity.
template <class P>
void simetricoNaLinha(P** destino, double* const* origem, const ObjDeformavel& o, int r) {
    for (int u = 0; u < 3; ++u) destino[u] = naLinha(origem[indiceSimetrico(u)], o, r);
}
// Row r of the six distinct Christoffel symbols.
template <class P>
void christoffelNaLinha(P** destino, const ObjDeformavel& o, int r) {
    for (int m = 0; m < 2; ++m) simetricoNaLinha(destino + 3 * m, o.nos.christoffel + 4 * m, o, r);
}

// Rows [primeira, fim) of thread t of n: contiguous bands in grid order.
inline int inicioDaFaixa(int linhas, int t, int n) { return static_cast<int>(static_cast<long long>(linhas) * t / n); }

// Metric of row r of positions p into the object's arrays (those of a detailed object; a
// caller without them points the outputs at its own rows).
nucleo::LinhaMetrica linhaMetrica(ObjDeformavel& o, const double* const p[3], int r);
// Only sqrt(detG) of row r of positions p, into the object's raizDetG.
nucleo::LinhaMetrica linhaRaiz(ObjDeformavel& o, const double* const p[3], int r);
// sqrt(detG) of row r of positions p on grid g into raiz (g.gj values), through the engine's
// kernel and on the calling thread: the same values as the object's, for positions of its own.
void raizesDaLinha(const nucleo::Grade& g, const double* const p[3], int r, double* raiz);

// Normals of row r of positions p into the object's normals (their quadrants when detailed).
nucleo::LinhaNormais linhaNormais(ObjDeformavel& o, const double* const p[3], int r);

// Curvature of row r of the current positions; its outputs go to the object's arrays when it
// is detailed, else they are left for the caller to point at its buffers.
nucleo::LinhaCurvatura linhaCurvatura(ObjDeformavel& o, int r, bool repouso, double* s2);

// Divergence of beta (with the membrane correction) or of psiG, row r, from the object's
// arrays; q and qAnt are four rows each.
nucleo::LinhaDivergencia linhaDivergencia(ObjDeformavel& o, int r, bool deBeta, double* q, const double* qAnt);

}  // namespace tevra
