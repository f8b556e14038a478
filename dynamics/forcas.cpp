#include "dynamics/forcas.h"

#include <cmath>

namespace tevra {

namespace {

// Elastic terms this small are round-off of the differences and are dropped.
constexpr double kLimpezaForca = 1e-7;

// Zeroed force arrays, the external force of every node, and the covariant divergence of
// the coupling term psiG, which the internal assembly reads at neighbouring nodes.
void forcasExternasEPsiDiv(ObjDeformavel& o) {
    const int gi = o.grade_i;
    const int gj = o.grade_j;
    const double m = o.massa;
    const bool fluido = o.fluidoAtivo != 0;

#pragma omp parallel for schedule(static)
    for (int i = 0; i < gi; ++i) {
        for (int j = 0; j < gj; ++j) {
            const int idx = i * gj + j;
            double f[3] = {0.0, 0.0, 0.0};
            const int r = o.restricaoDoNo[idx];
            const Restricao* rest = r ? &o.restricoes[r - 1] : nullptr;
            if (fluido && (!rest || rest->tipo != RestricaoFixa)) {
                double w = 0.0;
                for (int k = 0; k < 3; ++k) w = w + (o.fluido[k] - o.vel[k][idx]) * o.nos.normal[k][idx];
                for (int l = 0; l < 3; ++l) f[l] = f[l] + o.fluido_cte * w * o.nos.normal[l][idx];
            }
            for (int k = 0; k < 3; ++k) {
                if (!rest) {
                    f[k] = f[k] + m * o.acel[k];
                } else if (rest->tipo == RestricaoFixa) {
                    if (rest->eixo[k] != 0) f[k] = f[k] + m * o.acel[k];
                } else {
                    f[k] = f[k] + m * o.acel[k];
                    if (rest->tipo == RestricaoForca) f[k] = f[k] + rest->forca[k];
                }
            }
            for (int k = 0; k < 3; ++k) {
                o.forcaExterna[k][idx] = f[k];
                o.forcaInterna[k][idx] = 0.0;
                o.somaChapeu[k][idx] = 0.0;
                o.e_tio[k][idx] = 0.0;
            }

            for (int k = 0; k < 2; ++k)
                for (int l = 0; l < 2; ++l) {
                    const int a = kl(k, l);
                    double p = o.nos.psiG[a][idx] / o.delta[l];
                    if (l == 0 && i >= 1) p = p - o.nos.psiG[a][idx - gj] / o.delta[0];
                    if (l == 1 && j >= 1) p = p - o.nos.psiG[a][idx - 1] / o.delta[1];
                    for (int mm = 0; mm < 2; ++mm)
                        p = p + (o.nos.christoffel[mkl(k, l, mm)][idx] * o.nos.psiG[kl(mm, l)][idx] +
                                 o.nos.christoffel[mkl(l, l, mm)][idx] * o.nos.psiG[kl(k, mm)][idx]);
                    o.psiDiv[a][idx] = p;
                }
        }
    }
}

// The four contributions of the internal force, node by node. Each node only writes its
// own entries, so running the four in a row per node gives what four sweeps give.
void forcasInternas(ObjDeformavel& o) {
    const int gi = o.grade_i;
    const int gj = o.grade_j;
    const double* const* t[2] = {o.tangente[0], o.tangente[1]};
    const double* const* n = o.nos.normal;

#pragma omp parallel for schedule(static)
    for (int i = 0; i < gi; ++i) {
        for (int j = 0; j < gj; ++j) {
            const int idx = i * gj + j;
            const bool temAnt[2] = {i >= 1, j >= 1};
            const bool temProx[2] = {i + 1 < gi, j + 1 < gj};
            const int ant[2] = {idx - gj, idx - 1};
            const int prox[2] = {idx + gj, idx + 1};
            double et[3] = {0.0, 0.0, 0.0};
            double sc[3] = {0.0, 0.0, 0.0};
            double gamma[2][2];  // christoffel[m][k][m]
            for (int k = 0; k < 2; ++k)
                for (int m = 0; m < 2; ++m) gamma[k][m] = o.nos.christoffel[mkl(m, k, m)][idx];

            // 1: membrane and coupling divergence.
            for (int k = 0; k < 2; ++k) {
                const double dk = o.delta[k];
                for (int l = 0; l < 2; ++l) {
                    const int lk = kl(l, k);
                    const double pb = o.nos.psiB[lk][idx];
                    const double al = o.alfa[lk][idx];
                    for (int c = 0; c < 3; ++c) {
                        et[c] = et[c] + pb * t[l][c][idx] / dk;
                        sc[c] = sc[c] + al * t[l][c][idx] / dk;
                    }
                    if (temAnt[k]) {
                        const int a = ant[k];
                        const double pbA = o.nos.psiB[lk][a];
                        const double alA = o.alfa[lk][a];
                        for (int c = 0; c < 3; ++c) {
                            et[c] = et[c] - pbA * t[l][c][a] / dk;
                            sc[c] = sc[c] - alA * t[l][c][a] / dk;
                        }
                    }
                }
            }
            double e0[3];
            for (int c = 0; c < 3; ++c) e0[c] = sc[c];

            // 2: Christoffel correction of 1.
            for (int k = 0; k < 2; ++k)
                for (int l = 0; l < 2; ++l) {
                    const int lk = kl(l, k);
                    const double pb = o.nos.psiB[lk][idx];
                    const double al = o.alfa[lk][idx];
                    for (int m = 0; m < 2; ++m)
                        for (int c = 0; c < 3; ++c) {
                            et[c] = et[c] + pb * t[l][c][idx] * gamma[k][m];
                            sc[c] = sc[c] + al * t[l][c][idx] * gamma[k][m];
                        }
                }
            double e1[3];
            for (int c = 0; c < 3; ++c) e1[c] = sc[c] - e0[c];

            // 3: bending along the normal.
            for (int k = 0; k < 2; ++k) {
                const double dk = o.delta[k];
                for (int l = 0; l < 2; ++l) {
                    const int a = kl(k, l);
                    const double pd = o.psiDiv[a][idx];
                    for (int c = 0; c < 3; ++c) et[c] = et[c] + pd * n[c][idx] / dk;
                    if (temAnt[k]) {
                        const int p = ant[k];
                        const double pdA = o.psiDiv[a][p];
                        for (int c = 0; c < 3; ++c) et[c] = et[c] - pdA * n[c][p] / dk;
                    }
                    const double db = o.nos.divBetaNo[a][idx];
                    if (k == l) {
                        if (temProx[k]) {
                            const int p = prox[k];
                            const double dbP = o.nos.divBetaNo[a][p];
                            for (int c = 0; c < 3; ++c) sc[c] = sc[c] + dbP * n[c][p] / dk;
                        }
                        for (int c = 0; c < 3; ++c) sc[c] = sc[c] - db * n[c][idx] / dk;
                    } else {
                        for (int c = 0; c < 3; ++c) sc[c] = sc[c] + db * n[c][idx] / dk;
                        if (temAnt[k]) {
                            const int p = ant[k];
                            const double dbA = o.nos.divBetaNo[a][p];
                            for (int c = 0; c < 3; ++c) sc[c] = sc[c] - dbA * n[c][p] / dk;
                        }
                    }
                }
            }
            double e2[3];
            for (int c = 0; c < 3; ++c) e2[c] = sc[c] - e0[c] - e1[c];

            // 4: Christoffel correction of 3.
            for (int k = 0; k < 2; ++k)
                for (int l = 0; l < 2; ++l) {
                    const int lk = kl(l, k);
                    const double pd = o.psiDiv[lk][idx];
                    const double db = o.nos.divBetaNo[lk][idx];
                    for (int m = 0; m < 2; ++m)
                        for (int c = 0; c < 3; ++c) {
                            et[c] = et[c] + pd * n[c][idx] * gamma[k][m];
                            sc[c] = sc[c] + db * n[c][idx] * gamma[k][m];
                        }
                }

            for (int c = 0; c < 3; ++c) {
                o.e_chapeu[0][c][idx] = e0[c];
                o.e_chapeu[1][c][idx] = e1[c];
                o.e_chapeu[2][c][idx] = e2[c];
                o.e_chapeu[3][c][idx] = sc[c] - e0[c] - e1[c] - e2[c];
                o.somaChapeu[c][idx] = sc[c];
                o.e_tio[c][idx] = et[c];
            }
        }
    }
}

}  // namespace

void calcularForcas(ObjDeformavel& obj, int /*numPasso*/) {
    forcasExternasEPsiDiv(obj);
    forcasInternas(obj);
}

void limparForcas(ObjDeformavel& obj, int /*numPasso*/) {
    const int n = obj.numNos();
    for (int c = 0; c < 3; ++c) {
        double* sc = obj.somaChapeu[c];
        double* et = obj.e_tio[c];
#pragma omp parallel for schedule(static)
        for (int idx = 0; idx < n; ++idx) {
            if (std::fabs(sc[idx]) <= kLimpezaForca) sc[idx] = 0.0;
            if (std::fabs(et[idx]) <= kLimpezaForca) et[idx] = 0.0;
        }
    }
}

}  // namespace tevra
