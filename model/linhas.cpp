#include "model/linhas.h"

namespace tevra {

nucleo::LinhaMetrica linhaMetrica(ObjDeformavel& o, const double* const p[3], int r) {
    nucleo::LinhaMetrica L;
    L.r = r;
    const int gj = o.grade_j;
    const int ra = r + 1 < o.grade_i ? r + 1 : r;  // the last row differences backwards
    for (int c = 0; c < 3; ++c) {
        L.p[c] = p[c] + r * gj;
        L.pa[c] = p[c] + ra * gj;
        L.pb[c] = p[c] + (ra - 1) * gj;
        L.t0[c] = naLinha(o.tangente[0][c], o, r);
        L.t1[c] = naLinha(o.tangente[1][c], o, r);
    }
    for (int u = 0; u < 3; ++u) {
        const int a = indiceSimetrico(u);
        L.G0[u] = naLinha(o.nos.G0[a], o, r);
        L.dG[u] = naLinha(o.nos.dG[a], o, r);
        L.Ginv[u] = naLinha(o.nos.Ginv[a], o, r);
        L.G[u] = naLinha(o.nos.G[a], o, r);
    }
    L.raiz = naLinha(o.raizDetG, o, r);
    L.detG = naLinha(o.nos.detG, o, r);
    return L;
}

nucleo::LinhaNormais linhaNormais(ObjDeformavel& o, const double* const p[3], int r) {
    nucleo::LinhaNormais L;
    L.r = r;
    for (int c = 0; c < 3; ++c) {
        L.pos[c] = p[c];
        L.n[c] = naLinha(o.nos.normal[c], o, r);
        for (int q = 0; q < 4; ++q) L.quadrante[q][c] = naLinha(o.nos.normalQuadrante[q][c], o, r);
    }
    return L;
}

nucleo::LinhaCurvatura linhaCurvatura(ObjDeformavel& o, int r, bool repouso, double* s2) {
    nucleo::LinhaCurvatura L;
    L.r = r;
    L.repouso = repouso;
    L.s2 = s2;
    for (int c = 0; c < 3; ++c) {
        L.pos[c] = o.pos[c];
        L.n[c] = naLinha(o.nos.normal[c], o, r);
        L.t0[c] = naLinha(o.tangente[0][c], o, r);
        L.t1[c] = naLinha(o.tangente[1][c], o, r);
    }
    for (int u = 0; u < 3; ++u) {
        const int a = indiceSimetrico(u);
        L.dG[u] = naLinha(o.nos.dG[a], o, r);
        L.Ginv[u] = naLinha(o.nos.Ginv[a], o, r);
        L.H0[u] = naLinha(o.nos.H0[a], o, r);
        L.B0[u] = naLinha(o.nos.B0[a], o, r);
        L.B[u] = naLinha(o.nos.B[a], o, r);
    }
    for (int a = 0; a < 4; ++a) {
        L.S[a] = naLinha(o.nos.S[a], o, r);
        L.alfa[a] = naLinha(o.alfa[a], o, r);
        L.beta[a] = naLinha(o.beta[a], o, r);
        L.psiG[a] = naLinha(o.nos.psiG[a], o, r);
        L.psiB[a] = naLinha(o.nos.psiB[a], o, r);
    }
    for (int m = 0; m < 2; ++m)
        for (int u = 0; u < 3; ++u) L.chr[3 * m + u] = naLinha(o.nos.christoffel[4 * m + indiceSimetrico(u)], o, r);
    return L;
}

nucleo::LinhaDivergencia linhaDivergencia(ObjDeformavel& o, int r, bool deBeta, double* q, const double* qAnt) {
    nucleo::LinhaDivergencia L;
    L.r = r;
    const int gj = o.grade_j;
    for (int a = 0; a < 4; ++a) {
        L.w[a] = naLinha(deBeta ? o.beta[a] : o.nos.psiG[a], o, r);
        L.q[a] = q + a * gj;
        L.qAnt[a] = qAnt ? qAnt + a * gj : nullptr;
        L.div[a] = naLinha(deBeta ? o.nos.divBetaNo[a] : o.psiDiv[a], o, r);
        if (deBeta) {
            L.difer[a] = naLinha(o.divBeta[a], o, r);
            L.S[a] = naLinha(o.nos.S[a], o, r);
            L.alfa[a] = naLinha(o.alfa[a], o, r);
        }
    }
    for (int m = 0; m < 2; ++m)
        for (int u = 0; u < 3; ++u) L.chr[3 * m + u] = naLinha(o.nos.christoffel[4 * m + indiceSimetrico(u)], o, r);
    return L;
}

}  // namespace tevra
