#pragma once
// Lane-wise arithmetic for the row kernels. Each kernel file is compiled once per variant
// (TEVRA_VARIANTE = escalar, sse2 or avx2) and everything here lands in that variant's own
// namespace, so that no function compiled for AVX2 can stand in for the SSE2 one at link
// time. A vector lane performs exactly the IEEE operations of the scalar code: no fused
// multiply-add (the build forbids contraction), no reassociation, so every lane width gives
// the same bits.

#include "model/nucleo.h"

#ifndef TEVRA_VARIANTE
#error "TEVRA_VARIANTE names the kernel variant (escalar, sse2, avx2)"
#endif

namespace tevra::nucleo::TEVRA_VARIANTE {

#if defined(TEVRA_LARGURA_AVX2)
typedef double Vd __attribute__((vector_size(32)));
inline constexpr int kLanes = 4;
inline Vd raiz(Vd x) { return __builtin_ia32_sqrtpd256(x); }
#elif defined(TEVRA_LARGURA_SSE2)
typedef double Vd __attribute__((vector_size(16)));
inline constexpr int kLanes = 2;
inline Vd raiz(Vd x) { return __builtin_ia32_sqrtpd(x); }
#else
typedef double Vd;
inline constexpr int kLanes = 1;
#endif

inline double raiz(double x) { return __builtin_sqrt(x); }

// Loads and stores of one lane group (or one double) at p, no alignment asked. Through a
// vector type of double elements, so that a store is known to touch only doubles: the
// compiler keeps the grid's sizes and the row pointers in registers across it.
#if defined(TEVRA_LARGURA_AVX2) || defined(TEVRA_LARGURA_SSE2)
typedef double VdSolto __attribute__((vector_size(sizeof(Vd)), aligned(8)));
#else
typedef double VdSolto;
#endif
template <class V>
inline V ler(const double* p) {
    if constexpr (sizeof(V) == sizeof(double)) {
        return *p;
    } else {
        return *reinterpret_cast<const VdSolto*>(p);
    }
}
template <class V>
inline void gravar(double* p, V v) {
    if constexpr (sizeof(V) == sizeof(double)) {
        *p = v;
    } else {
        *reinterpret_cast<VdSolto*>(p) = v;
    }
}

// The same value in every lane (an addition to zero would turn -0 into +0).
template <class V>
inline V todos(double x) {
    if constexpr (sizeof(V) == sizeof(double)) {
        return x;
    } else {
        V v;
        for (int k = 0; k < kLanes; ++k) v[k] = x;
        return v;
    }
}

// Lane-wise choice: m ? a : b. For a vector, m is the lane mask of a comparison.
template <class M, class V>
inline V escolher(M m, V a, V b) {
    return m ? a : b;
}

// |x| <= lim without fabs, so that it is one comparison pair in every width; a NaN is not
// below any limit.
template <class V>
inline auto ateLimite(V x, double lim) {
    return (x <= lim) & (x >= -lim);
}

// True in a lane whose value is an infinity or a NaN.
template <class V>
inline auto naoFinito(V x) {
    return (x > __DBL_MAX__) | (x < -__DBL_MAX__) | (x != x);
}

// Any lane of a mask set (a comparison of vectors, or a plain truth value).
template <class M>
inline bool algum(M m) {
    if constexpr (kLanes == 1 || sizeof(M) <= sizeof(long long)) {
        return m;
    } else {
        long long r = 0;
        for (int k = 0; k < kLanes; ++k) r |= m[k];
        return r != 0;
    }
}

// The columns [j0, j1) of a row a kernel works on. The grid's first and last column take
// the edge formulas one node at a time; the interior goes through lane groups.
struct Trecho {
    int j0, j1;
    // Calls f(j) for the grid's first and last column when they lie in [j0, j1).
    template <class F>
    void bordas(const Grade& g, F&& f) const {
        if (j0 <= 0 && 0 < j1) f(0);
        if (j0 <= g.gj - 1 && g.gj - 1 < j1) f(g.gj - 1);
    }
    int inicioInterior() const { return j0 > 1 ? j0 : 1; }
    int fimInterior(const Grade& g) const { return j1 < g.gj - 1 ? j1 : g.gj - 1; }
};
// j1 < 0: to the row's end.
inline Trecho trecho(const Grade& g, int j0, int j1) { return {j0, j1 < 0 ? g.gj : j1}; }
// The distance between the rows of a block of row buffers (0: the grid's row length).
inline int passoDe(const Grade& g, int passo) { return passo > 0 ? passo : g.gj; }

// Runs corpo<V>(j) over [j0, j1): whole lane groups first, the rest one node at a time.
// The body is the same template for both, so a node gets the same bits wherever it falls.
template <class Corpo>
inline void percorrer(int j0, int j1, Corpo&& corpo) {
    int j = j0;
    if constexpr (kLanes > 1) {
        for (; j + kLanes <= j1; j += kLanes) corpo.template operator()<Vd>(j);
    }
    for (; j < j1; ++j) corpo.template operator()<double>(j);
}

}  // namespace tevra::nucleo::TEVRA_VARIANTE
