#include <vector>

#include "model/equipe.h"
#include "model/linhas.h"
#include "model/obj_deformavel.h"

namespace tevra {

namespace {

// Runs porLinha(r) for every row, the rows split in bands over the engine's threads.
template <class F>
void porLinhas(const ObjDeformavel& o, F&& porLinha) {
    const int gi = o.grade_i;
    emParalelo(threadsPara(gi, o.numNos()), [&](int t, Sincronia& s) {
        const int fim = inicioDaFaixa(gi, t + 1, s.n());
        for (int r = inicioDaFaixa(gi, t, s.n()); r < fim; ++r) porLinha(r);
    });
}

}  // namespace

void ObjDeformavel::calcularRaizes(const double* const p[3]) {
    const nucleo::Grade g = grade();
    const nucleo::TabelaModelo& k = nucleo::tabelaModelo(caminhoAtivo());
    porLinhas(*this, [&](int r) { k.metrica(g, linhaRaiz(*this, p, r)); });
}

void ObjDeformavel::calcularMetrica() {
    detalhar();
    const nucleo::Grade g = grade();
    const nucleo::TabelaModelo& k = nucleo::tabelaModelo(caminhoAtivo());
    porLinhas(*this, [&](int r) { k.metrica(g, linhaMetrica(*this, pos, r)); });
}

// Trapezoid-like cell sum of sqrt(detG): a running total in grid order, so it stays serial.
double ObjDeformavel::somarArea() const {
    const int gi = grade_i, gj = grade_j;
    const double fator = delta[0] * delta[1] * 0.25;
    double total = 0.0;
    for (int i = 0; i < gi - 1; ++i) {
        const double* r0 = raizDetG + i * gj;
        const double* r1 = r0 + gj;
        for (int j = 0; j < gj - 1; ++j) total = total + (r0[j] + r1[j] + r0[j + 1] + r1[j + 1]) * fator;
    }
    return total;
}

void ObjDeformavel::atualizarArea() {
    area = somarArea();
    massa = area0 / area * densidade0;
}

void ObjDeformavel::calcularNormais(int /*numPasso*/) {
    const nucleo::Grade g = grade();
    const nucleo::TabelaModelo& k = nucleo::tabelaModelo(caminhoAtivo());
    porLinhas(*this, [&](int r) { k.normais(g, linhaNormais(*this, pos, r)); });
}

// The update one step's force evaluation needs, into the object's arrays: metric, area and
// density, curvature and stress terms, divergence of beta and the membrane correction.
// Step 0 fixes the rest curvature and computes no stress term.
void ObjDeformavel::atualizarGeometria(int numPasso) {
    calcularMetrica();
    atualizarArea();
    const nucleo::Grade g = grade();
    const nucleo::TabelaModelo& k = nucleo::tabelaModelo(caminhoAtivo());
    const int gj = grade_j;
    std::vector<double> s2(9 * static_cast<std::size_t>(gj));
    for (int r = 0; r < grade_i; ++r) k.curvatura(g, linhaCurvatura(*this, r, numPasso == 0, s2.data()));
    if (numPasso == 0) return;
    std::vector<double> q(8 * static_cast<std::size_t>(gj));
    for (int r = 0; r < grade_i; ++r) {
        double* aqui = q.data() + (r % 2) * 4 * gj;
        const double* antes = q.data() + ((r + 1) % 2) * 4 * gj;
        k.divergencia(g, linhaDivergencia(*this, r, true, aqui, r >= 1 ? antes : nullptr));
    }
}

}  // namespace tevra
