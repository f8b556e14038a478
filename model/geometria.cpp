#include <cmath>

#include "model/estencil.h"
#include "model/obj_deformavel.h"

namespace tevra {

namespace {

// Inverse metrics of nearly singular nodes are left at zero.
constexpr double kDetMinimo = 1e-7;
// Christoffel terms are left out when the product of the three spacings is this small.
constexpr double kEspacamentoChristoffel = 1e-4;

// Weight of one tensor entry: 2 w_kl H0_kl H0_kl + w_kl H0_kk H0_ll.
inline double peso(const double w[2][2], const double h0[4], int k, int l) {
    const double wkl = w[k][l];
    const double hkl = h0[kl(k, l)];
    return 2.0 * wkl * hkl * hkl + wkl * h0[kl(k, k)] * h0[kl(l, l)];
}

}  // namespace

// Tangents, metric, its determinant and inverse, and sqrt(detG) of every node.
void ObjDeformavel::calcularTangentesEMetrica() {
    const int gi = grade_i;
    const int gj = grade_j;

#pragma omp parallel for schedule(static)
    for (int i = 0; i < gi; ++i) {
        for (int j = 0; j < gj; ++j) {
            const int idx = i * gj + j;
            double t[2][3];
            for (int d = 0; d < 2; ++d) {
                const estencil::Primeira e = estencil::primeira(i, j, d, gi, gj);
                for (int c = 0; c < 3; ++c) {
                    t[d][c] = (pos[c][e.a] - pos[c][e.b]) / delta[d];
                    tangente[d][c][idx] = t[d][c];
                }
            }
            double g[4];
            for (int k = 0; k < 2; ++k)
                for (int l = 0; l < 2; ++l) g[kl(k, l)] = t[k][0] * t[l][0] + t[k][1] * t[l][1] + t[k][2] * t[l][2];
            for (int a = 0; a < 4; ++a) {
                nos.G[a][idx] = g[a];
                nos.dG[a][idx] = g[a] - nos.G0[a][idx];
            }
            const double det = g[0] * g[3] - g[2] * g[1];
            nos.detG[idx] = det;
            raizDetG[idx] = std::sqrt(det);
            if (det > kDetMinimo) {
                nos.Ginv[0][idx] = g[3] / det;
                nos.Ginv[3][idx] = g[0] / det;
                nos.Ginv[1][idx] = -g[1] / det;
                nos.Ginv[2][idx] = nos.Ginv[1][idx];
            } else {
                for (int a = 0; a < 4; ++a) nos.Ginv[a][idx] = 0.0;
            }
        }
    }
}

// Trapezoid-like cell sum of sqrt(detG); a running total in grid order, so it stays serial.
double ObjDeformavel::somarArea() const {
    const int gi = grade_i;
    const int gj = grade_j;
    const double fator = delta[0] * delta[1] * 0.25;
    double total = 0.0;
    for (int i = 0; i < gi - 1; ++i) {
        const double* r0 = raizDetG + i * gj;
        const double* r1 = r0 + gj;
        for (int j = 0; j < gj - 1; ++j) total = total + (r0[j] + r1[j] + r0[j + 1] + r1[j + 1]) * fator;
    }
    return total;
}

// Curvature, mixed curvature and Christoffel symbols of every node; from step 1 on also
// the metric, bending and coupling stress terms. Step 0 fixes the rest curvature.
void ObjDeformavel::calcularCurvaturaETensoes(int numPasso) {
    const int gi = grade_i;
    const int gj = grade_j;
    const double ratio = area0 / area;
    const double div[3] = {delta[0] * delta[0], delta[0] * delta[1], delta[1] * delta[1]};
    bool usaChristoffel[2][2][2];  // [n][k][l]
    bool algumChristoffel = false;
    for (int n = 0; n < 2; ++n)
        for (int k = 0; k < 2; ++k)
            for (int l = 0; l < 2; ++l) {
                usaChristoffel[n][k][l] = delta[n] * delta[k] * delta[l] > kEspacamentoChristoffel;
                algumChristoffel = algumChristoffel || usaChristoffel[n][k][l];
            }

#pragma omp parallel for schedule(static)
    for (int i = 0; i < gi; ++i) {
        for (int j = 0; j < gj; ++j) {
            const int idx = i * gj + j;
            double s2[3][3];  // second differences (0,0), mixed, (1,1)
            for (int par = 0; par < 3; ++par) {
                const estencil::Segunda e = estencil::segunda(i, j, par, gi, gj);
                for (int c = 0; c < 3; ++c) s2[par][c] = estencil::aplicar(e, pos[c]) / div[par];
            }
            const double n[3] = {nos.normal[0][idx], nos.normal[1][idx], nos.normal[2][idx]};
            double b[4];
            for (int par = 0; par < 3; ++par) {
                const double v = n[0] * s2[par][0] + n[1] * s2[par][1] + n[2] * s2[par][2];
                if (par == 0) b[0] = v;
                if (par == 1) b[1] = b[2] = v;
                if (par == 2) b[3] = v;
            }
            double ginv[4];
            for (int a = 0; a < 4; ++a) {
                nos.B[a][idx] = b[a];
                if (numPasso == 0) nos.B0[a][idx] = b[a];
                ginv[a] = nos.Ginv[a][idx];
            }

            double s[4];
            for (int k = 0; k < 2; ++k)
                for (int l = 0; l < 2; ++l) {
                    double acc = 0.0;
                    acc = acc + ginv[kl(k, 0)] * b[kl(l, 0)];
                    acc = acc + ginv[kl(k, 1)] * b[kl(l, 1)];
                    s[kl(k, l)] = acc;
                    nos.S[kl(k, l)][idx] = acc;
                }

            double chr[8];
            for (int k = 0; k < 2; ++k)
                for (int l = 0; l < 2; ++l) {
                    const double* rkl = s2[(k != l) ? 1 : (k == 0 ? 0 : 2)];
                    for (int m = 0; m < 2; ++m) {
                        if (k == 1 && l == 0) {
                            chr[mkl(m, 1, 0)] = chr[mkl(m, 0, 1)];
                            continue;
                        }
                        double acc = 0.0;
                        if (algumChristoffel) {
                            for (int nn = 0; nn < 2; ++nn) {
                                if (!usaChristoffel[nn][k][l]) continue;
                                for (int c = 0; c < 3; ++c) acc = acc + ginv[kl(m, nn)] * rkl[c] * tangente[nn][c][idx];
                            }
                        }
                        chr[mkl(m, k, l)] = acc;
                    }
                }
            for (int a = 0; a < 8; ++a) nos.christoffel[a][idx] = chr[a];

            if (numPasso == 0) continue;

            double h0[4], dg[4], b0[4];
            for (int a = 0; a < 4; ++a) {
                h0[a] = nos.H0[a][idx];
                dg[a] = nos.dG[a][idx];
                b0[a] = nos.B0[a][idx];
            }
            double pesoPsi[4];
            for (int k = 0; k < 2; ++k)
                for (int l = 0; l < 2; ++l) pesoPsi[kl(k, l)] = peso(psi, h0, k, l);

            const bool iSeg = i + 1 < gi;
            const bool jSeg = j + 1 < gj;
            const bool iInt = 0 < i && i < gi - 1;
            const bool jInt = 0 < j && j < gj - 1;
            double psiB[4];
            for (int k = 0; k < 2; ++k)
                for (int l = 0; l < 2; ++l) {
                    const int a = kl(k, l);
                    const bool ativoG = (k == 0 && l == 0) ? iSeg : (k == 1 && l == 1) ? jSeg : (iSeg && jSeg);
                    if (ativoG) {
                        alfa[a][idx] = peso(eta, h0, k, l) * dg[a] * ratio;
                        nos.psiG[a][idx] = pesoPsi[a] * dg[a] * ratio;
                    } else {
                        alfa[a][idx] = 0.0;
                        nos.psiG[a][idx] = 0.0;
                    }
                }
            for (int k = 0; k < 2; ++k)
                for (int l = 0; l < 2; ++l) {
                    const int a = kl(k, l);
                    const bool ativoB = (k != l) ? (iSeg && jSeg) : (k == 0 ? iInt : jInt);
                    if (ativoB) {
                        beta[a][idx] = peso(qsi, h0, k, l) * (b0[a] - b[a]) * ratio;
                        psiB[a] = pesoPsi[a] * (b0[a] - b[a]) * ratio;
                    } else {
                        beta[a][idx] = 0.0;
                        psiB[a] = 0.0;
                    }
                }
            for (int k = 0; k < 2; ++k)
                for (int l = 0; l < 2; ++l)
                    for (int m = 0; m < 2; ++m)
                        psiB[kl(k, l)] = psiB[kl(k, l)] - pesoPsi[kl(k, m)] * dg[kl(k, m)] * (ratio * s[kl(l, m)]);
            for (int a = 0; a < 4; ++a) nos.psiB[a][idx] = psiB[a];
        }
    }
}

// Backward difference of beta along its second index, its covariant divergence, and the
// membrane stress corrected by curvature times bending stress.
void ObjDeformavel::calcularDivergencias() {
    const int gi = grade_i;
    const int gj = grade_j;

#pragma omp parallel for schedule(static)
    for (int i = 0; i < gi; ++i) {
        for (int j = 0; j < gj; ++j) {
            const int idx = i * gj + j;
            double bt[4], chr[8], s[4], al[4];
            for (int a = 0; a < 4; ++a) {
                bt[a] = beta[a][idx];
                s[a] = nos.S[a][idx];
                al[a] = alfa[a][idx];
            }
            for (int a = 0; a < 8; ++a) chr[a] = nos.christoffel[a][idx];
            for (int k = 0; k < 2; ++k)
                for (int l = 0; l < 2; ++l) {
                    const int a = kl(k, l);
                    double d = bt[a] / delta[l];
                    if (l == 0 && i >= 1) d = d - beta[a][idx - gj] / delta[l];
                    if (l == 1 && j >= 1) d = d - beta[a][idx - 1] / delta[l];
                    divBeta[a][idx] = d;
                    for (int m = 0; m < 2; ++m) {
                        d = d + (chr[mkl(k, l, m)] * bt[kl(m, l)] + chr[mkl(l, l, m)] * bt[kl(k, m)]);
                        al[kl(l, k)] = al[kl(l, k)] - s[kl(l, m)] * bt[kl(k, m)];
                    }
                    nos.divBetaNo[a][idx] = d;
                }
            for (int a = 0; a < 4; ++a) alfa[a][idx] = al[a];
        }
    }
}

void ObjDeformavel::atualizarGeometria(int numPasso) {
    calcularTangentesEMetrica();
    area = somarArea();
    massa = area0 / area * densidade0;
    calcularCurvaturaETensoes(numPasso);
    calcularDivergencias();
}

}  // namespace tevra
