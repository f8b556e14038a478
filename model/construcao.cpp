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

    restoDaGeometria();
    const int n = numNos();
    naoFinito = false;
    for (int c = 0; c < 3; ++c)
        for (int idx = 0; idx < n; ++idx) {
            vel[c][idx] = velInicial[c];
            velAnterior[c][idx] = velInicial[c];
            naoFinito = naoFinito || !std::isfinite(pos[c][idx]) || !std::isfinite(vel[c][idx]);
        }
}

// Rest metric, row by row: the metric of the rest shape against a zero G0, which then takes
// it; H0 from the inverse metric of the cell a node opens (the last row and column borrow the
// node's before them); the rest curvature; the rest area and density. A detailed object keeps
// the metric and the step-0 curvature terms in its arrays, a plain one two rows of them.
void ObjDeformavel::restoDaGeometria() {
    const int gi = grade_i, gj = grade_j;
    const nucleo::Grade g = grade();
    const nucleo::TabelaModelo& k = nucleo::tabelaModelo(caminhoAtivo());
    for (int u = 0; u < 3; ++u) std::fill(nos.G0[indiceSimetrico(u)], nos.G0[indiceSimetrico(u)] + numNos(), 0.0);
    std::vector<double> buffer(static_cast<std::size_t>(2 * 12 + 9) * gj);
    const double* ginvAnterior[3] = {};
    for (int r = 0; r < gi; ++r) {
        nucleo::LinhaMetrica m = linhaMetrica(*this, pos, r);
        if (!detalhado()) {
            double* linha = buffer.data() + static_cast<std::size_t>((r % 2) * 12) * gj;
            for (double** destino : {m.t0, m.t1, m.dG, m.Ginv})
                for (int c = 0; c < 3; ++c, linha += gj) destino[c] = linha;
        }
        k.metrica(g, m);
        const double* const* ginv = r + 1 < gi ? m.Ginv : ginvAnterior;
        for (int u = 0; u < 3; ++u) {
            double* g0 = naLinha(nos.G0[indiceSimetrico(u)], *this, r);
            double* h0 = naLinha(nos.H0[indiceSimetrico(u)], *this, r);
            for (int j = 0; j < gj; ++j) {
                g0[j] = m.dG[u][j];
                m.dG[u][j] = 0.0;
                h0[j] = ginv[u][j + 1 < gj ? j : j - 1];
            }
            ginvAnterior[u] = m.Ginv[u];
        }
        nucleo::LinhaCurvatura c = linhaCurvatura(*this, r, true, buffer.data() + 24 * gj);
        for (int u = 0; u < 3; ++u) {
            c.t0[u] = m.t0[u];
            c.t1[u] = m.t1[u];
            c.dG[u] = m.dG[u];
            c.Ginv[u] = m.Ginv[u];
        }
        k.curvatura(g, c);
    }
    area0 = somarArea();
    densidade0 = massa / area0;
    area = area0;
}

}  // namespace tevra
