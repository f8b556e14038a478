#include "model/linhas.h"

namespace tevra {

namespace {

// Tangents, G - G0 and the inverse metric of row r: what the metric leaves for the curvature.
template <class Linha>
void metricaDaLinha(Linha& L, ObjDeformavel& o, int r) {
    nasLinhas(L.t0, o.tangente[0], 3, o, r);
    nasLinhas(L.t1, o.tangente[1], 3, o, r);
    simetricoNaLinha(L.dG, o.nos.dG, o, r);
    simetricoNaLinha(L.Ginv, o.nos.Ginv, o, r);
}

// Row r of the positions and the two rows its i-differences take.
nucleo::LinhaMetrica linhasDePosicao(int gi, int gj, const double* const p[3], int r) {
    nucleo::LinhaMetrica L;
    L.r = r;
    const int ra = r + 1 < gi ? r + 1 : r;  // the last row differences backwards
    for (int c = 0; c < 3; ++c) {
        L.p[c] = p[c] + r * gj;
        L.pa[c] = p[c] + ra * gj;
        L.pb[c] = p[c] + (ra - 1) * gj;
    }
    return L;
}

}  // namespace

nucleo::LinhaMetrica linhaMetrica(ObjDeformavel& o, const double* const p[3], int r) {
    nucleo::LinhaMetrica L = linhasDePosicao(o.grade_i, o.grade_j, p, r);
    metricaDaLinha(L, o, r);
    simetricoNaLinha(L.G0, o.nos.G0, o, r);
    simetricoNaLinha(L.G, o.nos.G, o, r);
    L.raiz = naLinha(o.raizDetG, o, r);
    L.detG = naLinha(o.nos.detG, o, r);
    return L;
}

nucleo::LinhaMetrica linhaRaiz(ObjDeformavel& o, const double* const p[3], int r) {
    nucleo::LinhaMetrica L = linhaMetrica(o, p, r);
    L.soRaiz = true;
    return L;
}

void raizesDaLinha(const nucleo::Grade& g, const double* const p[3], int r, double* raiz) {
    nucleo::LinhaMetrica L = linhasDePosicao(g.gi, g.gj, p, r);
    L.soRaiz = true;
    L.raiz = raiz;
    nucleo::tabelaModelo(caminhoAtivo()).metrica(g, L);
}

nucleo::LinhaNormais linhaNormais(ObjDeformavel& o, const double* const p[3], int r) {
    nucleo::LinhaNormais L;
    L.r = r;
    for (int c = 0; c < 3; ++c) L.pos[c] = p[c];
    nasLinhas(L.n, o.nos.normal, 3, o, r);
    for (int q = 0; q < 4; ++q) nasLinhas(L.quadrante[q], o.nos.normalQuadrante[q], 3, o, r);
    return L;
}

nucleo::LinhaCurvatura linhaCurvatura(ObjDeformavel& o, int r, bool repouso, double* s2) {
    nucleo::LinhaCurvatura L;
    L.r = r;
    L.repouso = repouso;
    L.s2 = s2;
    for (int c = 0; c < 3; ++c) L.pos[c] = o.pos[c];
    nasLinhas(L.n, o.nos.normal, 3, o, r);
    metricaDaLinha(L, o, r);
    simetricoNaLinha(L.H0, o.nos.H0, o, r);
    simetricoNaLinha(L.B0, o.nos.B0, o, r);
    simetricoNaLinha(L.B, o.nos.B, o, r);
    nasLinhas(L.S, o.nos.S, 4, o, r);
    nasLinhas(L.alfa, o.alfa, 4, o, r);
    nasLinhas(L.beta, o.beta, 4, o, r);
    nasLinhas(L.psiG, o.nos.psiG, 4, o, r);
    nasLinhas(L.psiB, o.nos.psiB, 4, o, r);
    christoffelNaLinha(L.chr, o, r);
    return L;
}

nucleo::LinhaDivergencia linhaDivergencia(ObjDeformavel& o, int r, bool deBeta, double* q, const double* qAnt) {
    nucleo::LinhaDivergencia L;
    L.r = r;
    const int gj = o.grade_j;
    for (int a = 0; a < 4; ++a) {
        L.q[a] = q + a * gj;
        L.qAnt[a] = qAnt ? qAnt + a * gj : nullptr;
    }
    nasLinhas(L.w, deBeta ? o.beta : o.nos.psiG, 4, o, r);
    nasLinhas(L.div, deBeta ? o.nos.divBetaNo : o.psiDiv, 4, o, r);
    if (deBeta) {
        nasLinhas(L.difer, o.divBeta, 4, o, r);
        nasLinhas(L.S, o.nos.S, 4, o, r);
        nasLinhas(L.alfa, o.alfa, 4, o, r);
    }
    christoffelNaLinha(L.chr, o, r);
    return L;
}

}  // namespace tevra
