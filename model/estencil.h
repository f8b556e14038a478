#pragma once

namespace tevra {

// Finite-difference stencils over the node grid, shared by the public `derivada` /
// `derivadaSegunda` and by the row kernels at the grid's edges, so that both give the same
// bits. Internal linkage: the kernels are compiled once per instruction set, and a copy
// built for AVX2 must never be the one another file links to.
namespace estencil {
namespace {

// First difference along d: forward, backward at the last index. `a` - `b` over the spacing.
struct Primeira {
    int a;
    int b;
};

inline Primeira primeira(int i, int j, int d, int gi, int gj) {
    const int idx = i * gj + j;
    if (d == 0) return (i + 1 < gi) ? Primeira{idx + gj, idx} : Primeira{idx, idx - gj};
    return (j + 1 < gj) ? Primeira{idx + 1, idx} : Primeira{idx, idx - 1};
}

// Second difference: either the three-point (a - 2 b) + c, or the cell stencil
// ((a - b) - c) + d towards one diagonal neighbour.
struct Segunda {
    bool central;
    int a, b, c, d;
};

inline Segunda celula(int i, int j, int sa, int sb, int gj) {
    const int idx = i * gj + j;
    return Segunda{false, (i + sa) * gj + (j + sb), (i + sa) * gj + j, i * gj + (j + sb), idx};
}

// Pair (k, l): 0 = (0, 0), 1 = mixed, 2 = (1, 1).
inline Segunda segunda(int i, int j, int par, int gi, int gj) {
    const bool iUlt = (i == gi - 1);
    const bool jUlt = (j == gj - 1);
    const int idx = i * gj + j;
    if (par == 1) {
        if (i + 1 < gi && j + 1 < gj) return celula(i, j, +1, +1, gj);
        if (jUlt && !iUlt) return celula(i, j, +1, -1, gj);
        if (iUlt && !jUlt) return celula(i, j, -1, +1, gj);
        return celula(i, j, -1, -1, gj);
    }
    if (par == 0) {
        if (0 < i && i < gi - 1) return Segunda{true, idx + gj, idx, idx - gj, 0};
        if (i == 0 && !jUlt) return celula(i, j, +1, +1, gj);
        if (iUlt && !jUlt) return celula(i, j, -1, +1, gj);
        if (i == 0 && jUlt) return celula(i, j, +1, -1, gj);
        return celula(i, j, -1, -1, gj);
    }
    if (0 < j && j < gj - 1) return Segunda{true, idx + 1, idx, idx - 1, 0};
    if (j == 0 && !iUlt) return celula(i, j, +1, +1, gj);
    if (jUlt && !iUlt) return celula(i, j, +1, -1, gj);
    if (j == 0 && iUlt) return celula(i, j, -1, +1, gj);
    return celula(i, j, -1, -1, gj);
}

inline double aplicar(const Segunda& s, const double* p) {
    if (s.central) return (p[s.a] - 2.0 * p[s.b]) + p[s.c];
    return ((p[s.a] - p[s.b]) - p[s.c]) + p[s.d];
}

}  // namespace
}  // namespace estencil

}  // namespace tevra
