// Construction, rest geometry and the per-step elastic terms of the reference.
// Every compound assignment is written out (x = x + (a * b)) so the grouping
// that decides the last bit is visible at a glance.
#include "dynamics/referencia/referencia.h"

#include <cmath>
#include <stdexcept>
#include <string>

namespace referencia {

ObjetoRef::ObjetoRef(const tevra::Cena& cena, bool dados)
    : quadros(cena.quadros),
      intervalo(cena.intervalo),
      passo(cena.passo),
      acel{cena.acel[0], cena.acel[1], cena.acel[2]},
      velInicial{cena.velInicial[0], cena.velInicial[1], cena.velInicial[2]},
      fluido{cena.fluido[0], cena.fluido[1], cena.fluido[2]},
      fluido_cte(cena.fluido_cte),
      objeto(cena.objeto),
      grade_i(cena.grade_i),
      grade_j(cena.grade_j),
      raio(cena.raio),
      comprimento(cena.comprimento),
      solver(cena.solver),
      flagDados(dados ? 1 : 0),
      fluidoAtivo(cena.fluidoAtivo ? 1 : 0),
      massa(cena.massa),
      gama(cena.gama) {
    if (grade_i < 1 || grade_j < 1) throw std::invalid_argument("grade vazia");
    for (int k = 0; k < 2; k++) {
        for (int l = 0; l < 2; l++) {
            eta[k][l] = cena.eta[k][l];
            qsi[k][l] = cena.qsi[k][l];
            psi[k][l] = cena.psi[k][l];
        }
    }
    for (int c = 0; c < 3; c++) comp[c] = cena.comp[c];
    for (const tevra::Restricao& r : cena.restricoes) {
        RestricaoRef linha;
        linha.u = r.u;
        linha.v = r.v;
        linha.tipo = r.tipo;
        linha.inicio = r.inicio;
        linha.fim = r.fim;
        for (int c = 0; c < 3; c++) {
            linha.eixo[c] = r.eixo[c];
            linha.forca[c] = r.forca[c];
        }
        restricoes.push_back(linha);
    }

    const std::size_t n = static_cast<std::size_t>(nNos());
    restricaoDoNo.assign(n, 0);
    nos.assign(n, NoGeomRef{});
    for (int c = 0; c < 3; c++) {
        pos[c].assign(n, 0.0);
        posAnterior[c].assign(n, 0.0);
        forcaExterna[c].assign(n, 0.0);
        forcaInterna[c].assign(n, 0.0);
        vel[c].assign(n, 0.0);
        velAnterior[c].assign(n, 0.0);
        aceleracao[c].assign(n, 0.0);
        somaChapeu[c].assign(n, 0.0);
        e_tio[c].assign(n, 0.0);
        for (int q = 0; q < 4; q++) e_chapeu[q][c].assign(n, 0.0);
    }
    for (int k = 0; k < 2; k++) {
        for (int l = 0; l < 2; l++) {
            alfa[k][l].assign(n, 0.0);
            beta[k][l].assign(n, 0.0);
            psiDiv[k][l].assign(n, 0.0);
            divBeta[k][l].assign(n, 0.0);
        }
    }
}

ObjetoRef construirReferencia(const tevra::Cena& cena, bool dados) {
    ObjetoRef obj(cena, dados);
    obj.inicializar();
    return obj;
}

int ObjetoRef::idx(int i, int j) const {
    if (i < 0 || i >= grade_i || j < 0 || j >= grade_j) {
        throw std::out_of_range("no fora da grade: (" + std::to_string(i) + ", " + std::to_string(j) + ")");
    }
    return i * grade_j + j;
}

// ---------------------------------------------------------------------------
// Construction

void ObjetoRef::inicializar() {
    // 1. Shape.
    if (objeto == 0) {
        delta[0] = 1.0 / (grade_i - 1);
        delta[1] = 1.0 / (grade_j - 1);
        const double U[3] = {comp[0], 0, 0};
        const double V[3] = {0, comp[1], comp[2]};
        const double O[3] = {-0.5 * comp[0], -0.5 * comp[1], -0.5 * comp[2]};
        for (int i = 0; i < grade_i; i++) {
            for (int j = 0; j < grade_j; j++) {
                const int n = idx(i, j);
                for (int c = 0; c < 3; c++) {
                    const double valor = i * delta[0] * U[c] + j * delta[1] * V[c] + O[c];
                    pos[c][n] = valor;
                    posAnterior[c][n] = valor;
                }
            }
        }
    } else if (objeto == 2) {
        // This constant, not 2 pi: the frame files depend on its last digits.
        const double dTheta = 6.28318530719586 / grade_i;
        const double dz = comprimento / grade_j;
        delta[0] = dTheta;
        delta[1] = dz;
        double x0 = -0.5 * comprimento;
        for (int j = 0; j < grade_j; j++) {
            for (int i = 0; i < grade_i; i++) {
                const double theta = i * dTheta;
                const int n = idx(i, j);
                pos[0][n] = x0;
                pos[1][n] = raio * std::cos(theta);
                pos[2][n] = raio * std::sin(theta);
                for (int c = 0; c < 3; c++) posAnterior[c][n] = pos[c][n];
            }
            x0 = x0 + dz;
        }
    } else {
        throw std::runtime_error("Objeto invalido!");
    }

    // 2. Normals.
    calcularNormais(0);

    // 3. Rest metric, inverse, H0.
    calcularMetricaRepouso();

    // 4. Rest area and density; massa keeps the total mass for now.
    area0 = somaDeArea();
    densidade0 = massa / area0;
    area = area0;

    // 5 to 7. Curvature (with B0), mixed curvature, Christoffel symbols.
    calcularCurvatura(0);
    calcularCurvaturaMista(0);
    calcularChristoffel(0);

    // 8. Initial velocities.
    for (int i = 0; i < grade_i; i++) {
        for (int j = 0; j < grade_j; j++) {
            const int n = idx(i, j);
            for (int c = 0; c < 3; c++) {
                vel[c][n] = velInicial[c];
                velAnterior[c][n] = velInicial[c];
            }
        }
    }
}

Vetor3Ref ObjetoRef::derivada(int i, int j, int d) const {
    Vetor3Ref r{};
    for (int c = 0; c < 3; c++) {
        if (d == 0) {
            if (i + 1 < grade_i) {
                r[c] = (P(i + 1, j, c) - P(i, j, c)) / delta[0];
            } else {
                r[c] = (P(i, j, c) - P(i - 1, j, c)) / delta[0];
            }
        } else {
            if (j + 1 < grade_j) {
                r[c] = (P(i, j + 1, c) - P(i, j, c)) / delta[1];
            } else {
                r[c] = (P(i, j, c) - P(i, j - 1, c)) / delta[1];
            }
        }
    }
    return r;
}

Vetor3Ref ObjetoRef::derivadaSegunda(int i, int j, int k, int l) const {
    // Cell stencil towards the neighbour (i + a, j + b).
    auto Q = [&](int a, int b, int c) { return P(i + a, j + b, c) - P(i + a, j, c) - P(i, j + b, c) + P(i, j, c); };
    const bool iUltimo = (i == grade_i - 1);
    const bool jUltimo = (j == grade_j - 1);
    Vetor3Ref r{};
    for (int c = 0; c < 3; c++) {
        double valor;
        if (k != l) {
            if (i + 1 < grade_i && j + 1 < grade_j) {
                valor = Q(+1, +1, c);
            } else if (jUltimo && !iUltimo) {
                valor = Q(+1, -1, c);
            } else if (iUltimo && !jUltimo) {
                valor = Q(-1, +1, c);
            } else {
                valor = Q(-1, -1, c);
            }
            r[c] = valor / (delta[0] * delta[1]);
        } else if (k == 0) {
            if (0 < i && i < grade_i - 1) {
                valor = P(i + 1, j, c) - 2 * P(i, j, c) + P(i - 1, j, c);
            } else if (i == 0 && !jUltimo) {
                valor = Q(+1, +1, c);
            } else if (iUltimo && !jUltimo) {
                valor = Q(-1, +1, c);
            } else if (i == 0 && jUltimo) {
                valor = Q(+1, -1, c);
            } else {
                valor = Q(-1, -1, c);
            }
            r[c] = valor / (delta[0] * delta[0]);
        } else {
            if (0 < j && j < grade_j - 1) {
                valor = P(i, j + 1, c) - 2 * P(i, j, c) + P(i, j - 1, c);
            } else if (j == 0 && !iUltimo) {
                valor = Q(+1, +1, c);
            } else if (jUltimo && !iUltimo) {
                valor = Q(+1, -1, c);
            } else if (j == 0 && iUltimo) {
                valor = Q(-1, +1, c);
            } else {
                valor = Q(-1, -1, c);
            }
            r[c] = valor / (delta[1] * delta[1]);
        }
    }
    return r;
}

void ObjetoRef::calcularNormais(int /*numeroPasso*/) {
    for (int i = 0; i < grade_i; i++) {
        for (int j = 0; j < grade_j; j++) {
            const int n = idx(i, j);
            NoGeomRef& no = nos[n];
            for (int c = 0; c < 3; c++) no.normal[c] = 0;

            // Neighbour pairs in the order +i/+j, +j/-i, -i/-j, -j/+i.
            const int vizinhos[4][2][2] = {
                {{i + 1, j}, {i, j + 1}},
                {{i, j + 1}, {i - 1, j}},
                {{i - 1, j}, {i, j - 1}},
                {{i, j - 1}, {i + 1, j}},
            };
            for (int q = 0; q < 4; q++) {
                const int ia = vizinhos[q][0][0], ja = vizinhos[q][0][1];
                const int ib = vizinhos[q][1][0], jb = vizinhos[q][1][1];
                const bool dentroA = ia >= 0 && ia < grade_i && ja >= 0 && ja < grade_j;
                const bool dentroB = ib >= 0 && ib < grade_i && jb >= 0 && jb < grade_j;
                if (!(dentroA && dentroB)) {
                    no.normalQuadrante[q][0] = 0;
                    no.normalQuadrante[q][1] = -10;
                    no.normalQuadrante[q][2] = 0;
                    continue;
                }
                double e1[3], e2[3];
                for (int c = 0; c < 3; c++) {
                    e1[c] = P(ia, ja, c) - P(i, j, c);
                    e2[c] = P(ib, jb, c) - P(i, j, c);
                }
                double cruz[3];
                for (int c = 0; c < 3; c++) {
                    const int c1 = (c + 1) % 3, c2 = (c + 2) % 3;
                    cruz[c] = e1[c1] * e2[c2] - e1[c2] * e2[c1];
                    if (std::fabs(cruz[c]) <= 1e-7) cruz[c] = 0;
                }
                const double l2cruz = cruz[0] * cruz[0] + cruz[1] * cruz[1] + cruz[2] * cruz[2];
                const double l2e1 = e1[0] * e1[0] + e1[1] * e1[1] + e1[2] * e1[2];
                const double l2e2 = e2[0] * e2[0] + e2[1] * e2[1] + e2[2] * e2[2];
                // Relative test: a long thin triangle is still a triangle, whatever its size.
                if (l2cruz > 1e-7 * l2e1 * l2e2) {
                    const double comprimentoCruz = std::sqrt(l2cruz);
                    for (int c = 0; c < 3; c++) cruz[c] = cruz[c] / comprimentoCruz;
                } else {
                    for (int c = 0; c < 3; c++) cruz[c] = 0;
                }
                for (int c = 0; c < 3; c++) {
                    no.normalQuadrante[q][c] = cruz[c];
                    no.normal[c] = no.normal[c] + cruz[c];
                }
            }

            const double l2 = no.normal[0] * no.normal[0] + no.normal[1] * no.normal[1] + no.normal[2] * no.normal[2];
            if (l2 > 1e-7) {
                const double comprimentoNormal = std::sqrt(l2);
                for (int c = 0; c < 3; c++) no.normal[c] = no.normal[c] / comprimentoNormal;
            } else {
                for (int c = 0; c < 3; c++) no.normal[c] = 0;
            }
        }
    }
}

// detG and Ginv of a node from its G; shared by the rest metric and every step.
static void inversaDaMetrica(NoGeomRef& no) {
    no.detG = no.G[0][0] * no.G[1][1] - no.G[1][0] * no.G[0][1];
    if (no.detG > 1e-7) {
        no.Ginv[0][0] = no.G[1][1] / no.detG;
        no.Ginv[1][1] = no.G[0][0] / no.detG;
        no.Ginv[0][1] = -no.G[0][1] / no.detG;
        no.Ginv[1][0] = no.Ginv[0][1];
    } else {
        no.Ginv[0][0] = 0;
        no.Ginv[0][1] = 0;
        no.Ginv[1][0] = 0;
        no.Ginv[1][1] = 0;
    }
}

void ObjetoRef::calcularMetricaRepouso() {
    for (int i = 0; i < grade_i; i++) {
        for (int j = 0; j < grade_j; j++) {
            NoGeomRef& no = nos[idx(i, j)];
            for (int k = 0; k < 2; k++) {
                for (int l = 0; l < 2; l++) {
                    const Vetor3Ref rk = derivada(i, j, k);
                    const Vetor3Ref rl = derivada(i, j, l);
                    const double g = rk[0] * rl[0] + rk[1] * rl[1] + rk[2] * rl[2];
                    no.G0[k][l] = g;
                    no.G[k][l] = g;
                }
            }
            inversaDaMetrica(no);

            // The last row and column have no cell of their own: borrow the inverse
            // metric of the node that owns the cell they close.
            int fi = i, fj = j;
            if (i < grade_i - 1 && j < grade_j - 1) {
                fi = i;
                fj = j;
            } else if (i == grade_i - 1 && j < grade_j - 1) {
                fi = i - 1;
                fj = j;
            } else if (j == grade_j - 1 && i < grade_i - 1) {
                fi = i;
                fj = j - 1;
            } else {
                fi = i - 1;
                fj = j - 1;
            }
            const NoGeomRef& fonte = nos[idx(fi, fj)];
            for (int k = 0; k < 2; k++) {
                for (int l = 0; l < 2; l++) no.H0[k][l] = fonte.Ginv[k][l];
            }
        }
    }
}

double ObjetoRef::somaDeArea() const {
    double total = 0;
    for (int i = 0; i <= grade_i - 2; i++) {
        for (int j = 0; j <= grade_j - 2; j++) {
            const double celula = ((std::sqrt(nos[idx(i, j)].detG) + std::sqrt(nos[idx(i + 1, j)].detG)) +
                                   std::sqrt(nos[idx(i, j + 1)].detG) + std::sqrt(nos[idx(i + 1, j + 1)].detG)) *
                                  (delta[0] * delta[1] * 0.25);
            total = total + celula;
        }
    }
    return total;
}

void ObjetoRef::calcularCurvatura(int numeroPasso) {
    for (int i = 0; i < grade_i; i++) {
        for (int j = 0; j < grade_j; j++) {
            NoGeomRef& no = nos[idx(i, j)];
            for (int k = 0; k < 2; k++) {
                for (int l = 0; l < 2; l++) {
                    const Vetor3Ref d2 = derivadaSegunda(i, j, k, l);
                    no.B[k][l] = no.normal[0] * d2[0] + no.normal[1] * d2[1] + no.normal[2] * d2[2];
                    if (numeroPasso == 0) no.B0[k][l] = no.B[k][l];
                }
            }
        }
    }
}

void ObjetoRef::calcularCurvaturaMista(int /*numeroPasso*/) {
    for (int i = 0; i < grade_i; i++) {
        for (int j = 0; j < grade_j; j++) {
            NoGeomRef& no = nos[idx(i, j)];
            for (int k = 0; k < 2; k++) {
                for (int l = 0; l < 2; l++) {
                    no.S[k][l] = 0;
                    for (int m = 0; m < 2; m++) no.S[k][l] = no.S[k][l] + no.Ginv[k][m] * no.B[l][m];
                }
            }
        }
    }
}

void ObjetoRef::calcularChristoffel(int /*numeroPasso*/) {
    for (int i = 0; i < grade_i; i++) {
        for (int j = 0; j < grade_j; j++) {
            NoGeomRef& no = nos[idx(i, j)];
            for (int k = 0; k < 2; k++) {
                for (int l = 0; l < 2; l++) {
                    const Vetor3Ref rkl = derivadaSegunda(i, j, k, l);
                    for (int m = 0; m < 2; m++) {
                        no.christoffel[m][k][l] = 0;
                        for (int n = 0; n < 2; n++) {
                            const Vetor3Ref rn = derivada(i, j, n);
                            // On fine grids the second differences are noise: leave the term out.
                            if (delta[n] * delta[k] * delta[l] > 1e-4) {
                                for (int c = 0; c < 3; c++) {
                                    no.christoffel[m][k][l] = no.christoffel[m][k][l] + no.Ginv[m][n] * rkl[c] * rn[c];
                                }
                            }
                        }
                        if (k == 1 && l == 0) no.christoffel[m][1][0] = no.christoffel[m][0][1];
                    }
                }
            }
        }
    }
}

// ---------------------------------------------------------------------------
// Elastic pre-computation

double ObjetoRef::peso(const double w[2][2], int n, int k, int l) const {
    const NoGeomRef& no = nos[n];
    const double a = 2 * w[k][l] * no.H0[k][l] * no.H0[k][l];
    const double b = w[k][l] * no.H0[k][k] * no.H0[l][l];
    return a + b;
}

void ObjetoRef::atualizarGeometria(int numeroPasso) {
    // 1. Current metric, area, density and metric stress.
    for (int i = 0; i < grade_i; i++) {
        for (int j = 0; j < grade_j; j++) {
            NoGeomRef& no = nos[idx(i, j)];
            for (int k = 0; k < 2; k++) {
                for (int l = 0; l < 2; l++) {
                    const Vetor3Ref rk = derivada(i, j, k);
                    const Vetor3Ref rl = derivada(i, j, l);
                    no.G[k][l] = rk[0] * rl[0] + rk[1] * rl[1] + rk[2] * rl[2];
                    no.dG[k][l] = no.G[k][l] - no.G0[k][l];
                }
            }
            inversaDaMetrica(no);
        }
    }
    area = somaDeArea();
    massa = area0 / area * densidade0;
    const double ratio = area0 / area;

    for (int i = 0; i < grade_i; i++) {
        for (int j = 0; j < grade_j; j++) {
            const int n = idx(i, j);
            NoGeomRef& no = nos[n];
            for (int k = 0; k < 2; k++) {
                for (int l = 0; l < 2; l++) {
                    const bool ativo = (k == 0 && l == 0 && i + 1 < grade_i) || (k == 1 && l == 1 && j + 1 < grade_j) ||
                                       (k != l && i + 1 < grade_i && j + 1 < grade_j);
                    if (ativo) {
                        alfa[k][l][n] = peso(eta, n, k, l) * (no.G[k][l] - no.G0[k][l]) * ratio;
                        no.psiG[k][l] = peso(psi, n, k, l) * (no.G[k][l] - no.G0[k][l]) * ratio;
                    } else {
                        alfa[k][l][n] = 0;
                        no.psiG[k][l] = 0;
                    }
                }
            }
        }
    }

    // 2. Christoffel symbols of the current positions.
    calcularChristoffel(numeroPasso);

    // 3. Curvature and bending stress (B0 - B, the opposite order of the metric terms).
    calcularCurvatura(numeroPasso);
    for (int i = 0; i < grade_i; i++) {
        for (int j = 0; j < grade_j; j++) {
            const int n = idx(i, j);
            NoGeomRef& no = nos[n];
            for (int k = 0; k < 2; k++) {
                for (int l = 0; l < 2; l++) {
                    const bool ativo = (k != l && i + 1 < grade_i && j + 1 < grade_j) ||
                                       (k == 0 && l == 0 && 0 < i && i < grade_i - 1) ||
                                       (k == 1 && l == 1 && 0 < j && j < grade_j - 1);
                    if (ativo) {
                        beta[k][l][n] = peso(qsi, n, k, l) * (no.B0[k][l] - no.B[k][l]) * ratio;
                        no.psiB[k][l] = peso(psi, n, k, l) * (no.B0[k][l] - no.B[k][l]) * ratio;
                    } else {
                        beta[k][l][n] = 0;
                        no.psiB[k][l] = 0;
                    }
                }
            }
        }
    }

    // 4. Mixed curvature and the coupling correction (at every node).
    calcularCurvaturaMista(numeroPasso);
    for (int i = 0; i < grade_i; i++) {
        for (int j = 0; j < grade_j; j++) {
            const int n = idx(i, j);
            NoGeomRef& no = nos[n];
            for (int k = 0; k < 2; k++) {
                for (int l = 0; l < 2; l++) {
                    for (int m = 0; m < 2; m++) {
                        no.psiB[k][l] =
                            no.psiB[k][l] - peso(psi, n, k, m) * (no.G[k][m] - no.G0[k][m]) * (ratio * no.S[l][m]);
                    }
                }
            }
        }
    }

    // 5. Divergence of the bending stress; membrane stress corrected by S beta.
    for (int i = 0; i < grade_i; i++) {
        for (int j = 0; j < grade_j; j++) {
            const int n = idx(i, j);
            NoGeomRef& no = nos[n];
            for (int k = 0; k < 2; k++) {
                for (int l = 0; l < 2; l++) {
                    double d = beta[k][l][n] / delta[l];
                    if (l == 0 && i >= 1) d = d - beta[k][l][idx(i - 1, j)] / delta[l];
                    if (l == 1 && j >= 1) d = d - beta[k][l][idx(i, j - 1)] / delta[l];
                    divBeta[k][l][n] = d;
                    no.divBetaNo[k][l] = d;
                    for (int m = 0; m < 2; m++) {
                        no.divBetaNo[k][l] = no.divBetaNo[k][l] + (no.christoffel[k][l][m] * beta[m][l][n] +
                                                                   no.christoffel[l][l][m] * beta[k][m][n]);
                        alfa[l][k][n] = alfa[l][k][n] - no.S[l][m] * beta[k][m][n];
                    }
                }
            }
        }
    }
}

}  // namespace referencia
