#include <algorithm>
#include <cmath>
#include <vector>

#include "model/linhas.h"
#include "model/obj_deformavel.h"

namespace tevra {

namespace {

// The tube's angular step is built from this value of 2 pi, not from the exact one;
// stored series and their comparisons depend on it.
constexpr double kDoisPiCilindro = 6.28318530719586;

}  // namespace

// Lays the nodes on the sheet or the tube and copies them into the previous positions.
void ObjDeformavel::construirForma() {
    const int gi = grade_i;
    const int gj = grade_j;
    if (objeto == ObjetoPlano) {
        delta[0] = 1.0 / (gi - 1);
        delta[1] = 1.0 / (gj - 1);
        const double U[3] = {comp[0], 0.0, 0.0};
        const double V[3] = {0.0, comp[1], comp[2]};
        const double O[3] = {-0.5 * comp[0], -0.5 * comp[1], -0.5 * comp[2]};
        for (int i = 0; i < gi; ++i)
            for (int j = 0; j < gj; ++j) {
                const int idx = i * gj + j;
                for (int c = 0; c < 3; ++c) {
                    pos[c][idx] = i * delta[0] * U[c] + j * delta[1] * V[c] + O[c];
                    posAnterior[c][idx] = pos[c][idx];
                }
            }
    } else if (objeto == ObjetoCilindro) {
        const double dTheta = kDoisPiCilindro / gi;
        const double dz = comprimento / gj;
        delta[0] = dTheta;
        delta[1] = dz;
        double x0 = -0.5 * comprimento;
        for (int j = 0; j < gj; ++j) {
            for (int i = 0; i < gi; ++i) {
                const int idx = i * gj + j;
                const double theta = i * dTheta;
                pos[0][idx] = x0;
                pos[1][idx] = raio * std::cos(theta);
                pos[2][idx] = raio * std::sin(theta);
                for (int c = 0; c < 3; ++c) posAnterior[c][idx] = pos[c][idx];
            }
            x0 += dz;
        }
    } else {
        throw ObjetoInvalido();
    }
}

void ObjDeformavel::inicializar() {
    construirForma();
    if (flagDados == 1) prepararDados();
    calcularNormais(0);

    // Rest metric: the metric of the rest shape against a zero G0, which then takes it.
    const int gi = grade_i;
    const int gj = grade_j;
    const int n = numNos();
    for (int u = 0; u < 3; ++u) std::fill(nos.G0[indiceSimetrico(u)], nos.G0[indiceSimetrico(u)] + n, 0.0);
    calcularMetrica(pos);
    for (int u = 0; u < 3; ++u) {
        double* g0 = nos.G0[indiceSimetrico(u)];
        double* dg = nos.dG[indiceSimetrico(u)];
        for (int idx = 0; idx < n; ++idx) {
            g0[idx] = dg[idx];
            dg[idx] = 0.0;
        }
    }
    // H0 takes the inverse metric of the cell the node opens; the last row and column
    // borrow it from the node before them.
    for (int i = 0; i < gi; ++i)
        for (int j = 0; j < gj; ++j) {
            const int fi = (i == gi - 1) ? i - 1 : i;
            const int fj = (j == gj - 1) ? j - 1 : j;
            const int idx = i * gj + j;
            const int fonte = fi * gj + fj;
            for (int u = 0; u < 3; ++u) nos.H0[indiceSimetrico(u)][idx] = nos.Ginv[indiceSimetrico(u)][fonte];
        }

    area0 = somarArea();
    densidade0 = massa / area0;
    area = area0;

    // Rest curvature (and, when detailed, the step-0 mixed curvature and Christoffel symbols).
    const nucleo::Grade g = grade();
    const nucleo::TabelaModelo& k = nucleo::tabelaModelo(caminhoAtivo());
    std::vector<double> s2(9 * static_cast<std::size_t>(gj));
    for (int r = 0; r < gi; ++r) k.curvatura(g, linhaCurvatura(*this, r, true, s2.data()));

    naoFinito = false;
    for (int c = 0; c < 3; ++c)
        for (int idx = 0; idx < n; ++idx) {
            vel[c][idx] = velInicial[c];
            velAnterior[c][idx] = velInicial[c];
            naoFinito = naoFinito || !std::isfinite(pos[c][idx]) || !std::isfinite(vel[c][idx]);
        }
}

}  // namespace tevra
