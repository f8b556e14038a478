// Restrictions, forces, integrators, the run loop and the files of the reference.
#include <cmath>
#include <fstream>
#include <locale>
#include <stdexcept>
#include <string>

#include "dynamics/referencia/referencia.h"

namespace referencia {

// ---------------------------------------------------------------------------
// Restrictions

void ObjetoRef::atualizarRestricoes() {
    for (int n = 0; n < nNos(); n++) restricaoDoNo[n] = 0;
    for (int k = 0; k < static_cast<int>(restricoes.size()); k++) {
        const RestricaoRef& r = restricoes[k];
        if (r.u < 0 || r.u >= grade_i || r.v < 0 || r.v >= grade_j) continue;  // names no node
        if (r.inicio <= passoAtual && passoAtual < r.fim) restricaoDoNo[r.u * grade_j + r.v] = k + 1;
    }
}

const RestricaoRef* ObjetoRef::restricaoAtiva(int n) const {
    if (restricaoDoNo[n] == 0) return nullptr;
    return &restricoes[restricaoDoNo[n] - 1];
}

bool ObjetoRef::componenteLivre(int n, int s) const {
    const RestricaoRef* r = restricaoAtiva(n);
    return r == nullptr || r->tipo != 1 || r->eixo[s] != 0;
}

// ---------------------------------------------------------------------------
// Forces

void ObjetoRef::calcularForcas(int /*numeroPasso*/) {
    // 1. Clear.
    for (int n = 0; n < nNos(); n++) {
        for (int c = 0; c < 3; c++) {
            forcaExterna[c][n] = 0;
            forcaInterna[c][n] = 0;
            somaChapeu[c][n] = 0;
            e_tio[c][n] = 0;
        }
    }

    // 2. External forces.
    for (int i = 0; i < grade_i; i++) {
        for (int j = 0; j < grade_j; j++) {
            const int n = idx(i, j);
            const RestricaoRef* r = restricaoAtiva(n);
            const double* normal = nos[n].normal;

            // A held node does not feel the fluid in any component.
            if (fluidoAtivo != 0 && (r == nullptr || r->tipo != 1)) {
                double w = 0;
                for (int k = 0; k < 3; k++) w = w + (fluido[k] - vel[k][n]) * normal[k];
                for (int l = 0; l < 3; l++) forcaExterna[l][n] = forcaExterna[l][n] + fluido_cte * w * normal[l];
            }

            if (r == nullptr) {
                for (int k = 0; k < 3; k++) forcaExterna[k][n] = forcaExterna[k][n] + massa * acel[k];
            } else if (r->tipo == 1) {
                for (int k = 0; k < 3; k++) {
                    if (r->eixo[k] != 0) forcaExterna[k][n] = forcaExterna[k][n] + massa * acel[k];
                }
            } else {
                for (int k = 0; k < 3; k++) {
                    forcaExterna[k][n] = forcaExterna[k][n] + massa * acel[k];
                    if (r->tipo == 3) forcaExterna[k][n] = forcaExterna[k][n] + r->forca[k];
                }
            }
        }
    }

    // 3. Internal elastic terms.
    calcularPsiDiv();
    montarForcaInterna();
}

void ObjetoRef::calcularPsiDiv() {
    for (int i = 0; i < grade_i; i++) {
        for (int j = 0; j < grade_j; j++) {
            const int n = idx(i, j);
            const NoGeomRef& no = nos[n];
            for (int k = 0; k < 2; k++) {
                for (int l = 0; l < 2; l++) {
                    psiDiv[k][l][n] = no.psiG[k][l] / delta[l];
                    if (l == 0 && i >= 1) psiDiv[k][l][n] = psiDiv[k][l][n] - nos[idx(i - 1, j)].psiG[k][l] / delta[0];
                    if (l == 1 && j >= 1) psiDiv[k][l][n] = psiDiv[k][l][n] - nos[idx(i, j - 1)].psiG[k][l] / delta[1];
                    for (int m = 0; m < 2; m++) {
                        psiDiv[k][l][n] = psiDiv[k][l][n] + (no.christoffel[k][l][m] * no.psiG[m][l] +
                                                             no.christoffel[l][l][m] * no.psiG[k][m]);
                    }
                }
            }
        }
    }
}

void ObjetoRef::montarForcaInterna() {
    // Previous / next node along direction k, or -1 when it leaves the grid.
    auto anterior = [&](int i, int j, int k) {
        if (k == 0) return i >= 1 ? idx(i - 1, j) : -1;
        return j >= 1 ? idx(i, j - 1) : -1;
    };
    auto seguinte = [&](int i, int j, int k) {
        if (k == 0) return i + 1 < grade_i ? idx(i + 1, j) : -1;
        return j + 1 < grade_j ? idx(i, j + 1) : -1;
    };
    auto coordenadas = [&](int n, int& i, int& j) {
        i = n / grade_j;
        j = n % grade_j;
    };

    // Contribution 1: membrane and coupling divergence.
    for (int i = 0; i < grade_i; i++) {
        for (int j = 0; j < grade_j; j++) {
            const int n = idx(i, j);
            for (int k = 0; k < 2; k++) {
                for (int l = 0; l < 2; l++) {
                    const Vetor3Ref t = derivada(i, j, l);
                    for (int c = 0; c < 3; c++) {
                        e_tio[c][n] = e_tio[c][n] + nos[n].psiB[l][k] * t[c] / delta[k];
                        somaChapeu[c][n] = somaChapeu[c][n] + alfa[l][k][n] * t[c] / delta[k];
                    }
                    const int p = anterior(i, j, k);
                    if (p >= 0) {
                        int ip, jp;
                        coordenadas(p, ip, jp);
                        const Vetor3Ref tp = derivada(ip, jp, l);
                        for (int c = 0; c < 3; c++) {
                            e_tio[c][n] = e_tio[c][n] - nos[p].psiB[l][k] * tp[c] / delta[k];
                            somaChapeu[c][n] = somaChapeu[c][n] - alfa[l][k][p] * tp[c] / delta[k];
                        }
                    }
                }
            }
            for (int c = 0; c < 3; c++) e_chapeu[0][c][n] = somaChapeu[c][n];
        }
    }

    // Contribution 2: Christoffel correction of contribution 1.
    for (int i = 0; i < grade_i; i++) {
        for (int j = 0; j < grade_j; j++) {
            const int n = idx(i, j);
            for (int k = 0; k < 2; k++) {
                for (int l = 0; l < 2; l++) {
                    const Vetor3Ref t = derivada(i, j, l);
                    for (int m = 0; m < 2; m++) {
                        const double gamaKm = nos[n].christoffel[m][k][m];
                        for (int c = 0; c < 3; c++) {
                            e_tio[c][n] = e_tio[c][n] + nos[n].psiB[l][k] * t[c] * gamaKm;
                            somaChapeu[c][n] = somaChapeu[c][n] + alfa[l][k][n] * t[c] * gamaKm;
                        }
                    }
                }
            }
            for (int c = 0; c < 3; c++) e_chapeu[1][c][n] = somaChapeu[c][n] - e_chapeu[0][c][n];
        }
    }

    // Contribution 3: bending along the normal.
    for (int i = 0; i < grade_i; i++) {
        for (int j = 0; j < grade_j; j++) {
            const int n = idx(i, j);
            const double* normal = nos[n].normal;
            for (int k = 0; k < 2; k++) {
                for (int l = 0; l < 2; l++) {
                    const int p = anterior(i, j, k);
                    for (int c = 0; c < 3; c++) e_tio[c][n] = e_tio[c][n] + psiDiv[k][l][n] * normal[c] / delta[k];
                    if (p >= 0) {
                        for (int c = 0; c < 3; c++) {
                            e_tio[c][n] = e_tio[c][n] - psiDiv[k][l][p] * nos[p].normal[c] / delta[k];
                        }
                    }
                    if (k == l) {
                        // Forward difference.
                        const int s = seguinte(i, j, k);
                        if (s >= 0) {
                            for (int c = 0; c < 3; c++) {
                                somaChapeu[c][n] =
                                    somaChapeu[c][n] + nos[s].divBetaNo[k][k] * nos[s].normal[c] / delta[k];
                            }
                        }
                        for (int c = 0; c < 3; c++) {
                            somaChapeu[c][n] = somaChapeu[c][n] - nos[n].divBetaNo[k][k] * normal[c] / delta[k];
                        }
                    } else {
                        // Backward difference.
                        for (int c = 0; c < 3; c++) {
                            somaChapeu[c][n] = somaChapeu[c][n] + nos[n].divBetaNo[k][l] * normal[c] / delta[k];
                        }
                        if (p >= 0) {
                            for (int c = 0; c < 3; c++) {
                                somaChapeu[c][n] =
                                    somaChapeu[c][n] - nos[p].divBetaNo[k][l] * nos[p].normal[c] / delta[k];
                            }
                        }
                    }
                }
            }
            for (int c = 0; c < 3; c++) {
                e_chapeu[2][c][n] = somaChapeu[c][n] - e_chapeu[0][c][n] - e_chapeu[1][c][n];
            }
        }
    }

    // Contribution 4: Christoffel correction of contribution 3.
    for (int i = 0; i < grade_i; i++) {
        for (int j = 0; j < grade_j; j++) {
            const int n = idx(i, j);
            const double* normal = nos[n].normal;
            for (int k = 0; k < 2; k++) {
                for (int l = 0; l < 2; l++) {
                    for (int m = 0; m < 2; m++) {
                        const double gamaKm = nos[n].christoffel[m][k][m];
                        for (int c = 0; c < 3; c++) {
                            e_tio[c][n] = e_tio[c][n] + psiDiv[l][k][n] * normal[c] * gamaKm;
                            somaChapeu[c][n] = somaChapeu[c][n] + nos[n].divBetaNo[l][k] * normal[c] * gamaKm;
                        }
                    }
                }
            }
            for (int c = 0; c < 3; c++) {
                e_chapeu[3][c][n] = somaChapeu[c][n] - e_chapeu[0][c][n] - e_chapeu[1][c][n] - e_chapeu[2][c][n];
            }
        }
    }
}

void ObjetoRef::limparForcas(int /*numeroPasso*/) {
    // Written as "not above" so that a NaN survives and shows in the files.
    for (int n = 0; n < nNos(); n++) {
        for (int c = 0; c < 3; c++) {
            if (std::fabs(somaChapeu[c][n]) <= 1e-7) somaChapeu[c][n] = 0;
            if (std::fabs(e_tio[c][n]) <= 1e-7) e_tio[c][n] = 0;
        }
    }
}

void ObjetoRef::reavaliarForcas(int numeroPasso) {
    calcularNormais(numeroPasso);
    atualizarGeometria(numeroPasso);
    calcularForcas(numeroPasso);
    limparForcas(numeroPasso);
}

double ObjetoRef::aceleracaoDe(int n, int s) const {
    return (forcaExterna[s][n] + e_tio[s][n] - vel[s][n] * gama + somaChapeu[s][n]) / massa;
}

// ---------------------------------------------------------------------------
// Integrators

void ObjetoRef::passoEuler() {
    for (int i = 0; i < grade_i; i++) {
        for (int j = 0; j < grade_j; j++) {
            const int n = idx(i, j);
            for (int s = 0; s < 3; s++) {
                if (!componenteLivre(n, s)) continue;
                forcaInterna[s][n] = e_tio[s][n] + somaChapeu[s][n];
                aceleracao[s][n] = (forcaExterna[s][n] + forcaInterna[s][n] - vel[s][n] * gama) / massa;
                vel[s][n] = vel[s][n] + passo * aceleracao[s][n];
                pos[s][n] = pos[s][n] + passo * vel[s][n];
            }
        }
    }
}

void ObjetoRef::passoPontoMedio(int numeroPasso) {
    for (int i = 0; i < grade_i; i++) {
        for (int j = 0; j < grade_j; j++) {
            const int n = idx(i, j);
            for (int s = 0; s < 3; s++) {
                if (!componenteLivre(n, s)) continue;
                velAnterior[s][n] = vel[s][n];
                posAnterior[s][n] = pos[s][n];
                pos[s][n] = pos[s][n] + 0.5 * passo * vel[s][n];
            }
        }
    }

    reavaliarForcas(numeroPasso);

    // Half a kick: the velocity left here is the half-step one the leapfrog start needs.
    for (int i = 0; i < grade_i; i++) {
        for (int j = 0; j < grade_j; j++) {
            const int n = idx(i, j);
            for (int s = 0; s < 3; s++) {
                if (!componenteLivre(n, s)) continue;
                const double acc = aceleracaoDe(n, s);
                vel[s][n] = velAnterior[s][n] + 0.5 * passo * acc;
                pos[s][n] = posAnterior[s][n] + passo * vel[s][n];
            }
        }
    }
}

void ObjetoRef::passoRungeKutta(int numeroPasso) {
    const std::size_t total = static_cast<std::size_t>(nNos());
    std::vector<double> k1[3], k2[3], k3[3], k4[3];
    for (int c = 0; c < 3; c++) {
        k1[c].assign(total, 0.0);
        k2[c].assign(total, 0.0);
        k3[c].assign(total, 0.0);
        k4[c].assign(total, 0.0);
    }

    // Stage 1.
    for (int i = 0; i < grade_i; i++) {
        for (int j = 0; j < grade_j; j++) {
            const int n = idx(i, j);
            for (int s = 0; s < 3; s++) {
                if (!componenteLivre(n, s)) continue;
                const double acc = aceleracaoDe(n, s);
                velAnterior[s][n] = vel[s][n];
                vel[s][n] = vel[s][n] + 0.5 * passo * acc;
                k1[s][n] = passo * vel[s][n];
                posAnterior[s][n] = pos[s][n];
                pos[s][n] = pos[s][n] + 0.5 * passo * vel[s][n];
            }
        }
    }

    reavaliarForcas(numeroPasso);

    // Stage 2.
    for (int i = 0; i < grade_i; i++) {
        for (int j = 0; j < grade_j; j++) {
            const int n = idx(i, j);
            for (int s = 0; s < 3; s++) {
                if (!componenteLivre(n, s)) continue;
                const double acc = aceleracaoDe(n, s);
                vel[s][n] = velAnterior[s][n] + 0.5 * passo * acc;
                k2[s][n] = passo * vel[s][n];
                pos[s][n] = posAnterior[s][n] + 0.5 * passo * vel[s][n];
            }
        }
    }

    reavaliarForcas(numeroPasso);

    // Stage 3.
    for (int i = 0; i < grade_i; i++) {
        for (int j = 0; j < grade_j; j++) {
            const int n = idx(i, j);
            for (int s = 0; s < 3; s++) {
                if (!componenteLivre(n, s)) continue;
                const double acc = aceleracaoDe(n, s);
                vel[s][n] = velAnterior[s][n] + 0.5 * passo * acc;
                k3[s][n] = passo * vel[s][n];
                pos[s][n] = posAnterior[s][n] + passo * vel[s][n];
            }
        }
    }

    reavaliarForcas(numeroPasso);

    // Stage 4.
    for (int i = 0; i < grade_i; i++) {
        for (int j = 0; j < grade_j; j++) {
            const int n = idx(i, j);
            for (int s = 0; s < 3; s++) {
                if (!componenteLivre(n, s)) continue;
                const double acc = aceleracaoDe(n, s);
                vel[s][n] = velAnterior[s][n] + passo * acc;
                k4[s][n] = passo * vel[s][n];
                pos[s][n] = posAnterior[s][n] + (1.0 / 6.0) * k1[s][n] + (1.0 / 3.0) * k2[s][n] +
                            (1.0 / 3.0) * k3[s][n] + (1.0 / 6.0) * k4[s][n];
            }
        }
    }
}

void ObjetoRef::passoLeapfrog(int numeroPasso) {
    if (numeroPasso == 1) {
        passoPontoMedio(numeroPasso);
        return;
    }
    for (int i = 0; i < grade_i; i++) {
        for (int j = 0; j < grade_j; j++) {
            const int n = idx(i, j);
            for (int s = 0; s < 3; s++) {
                if (!componenteLivre(n, s)) continue;
                const double acc = aceleracaoDe(n, s);
                vel[s][n] = vel[s][n] + passo * acc;
                pos[s][n] = pos[s][n] + passo * vel[s][n];
            }
        }
    }
}

void ObjetoRef::passoVerlet() {
    for (int i = 0; i < grade_i; i++) {
        for (int j = 0; j < grade_j; j++) {
            const int n = idx(i, j);
            for (int s = 0; s < 3; s++) {
                if (!componenteLivre(n, s)) continue;
                const double acc = aceleracaoDe(n, s);
                const double antigo = pos[s][n];
                pos[s][n] = 2 * pos[s][n] - posAnterior[s][n] + passo * passo * acc;
                // Central difference over the two steps: the previous position is still the old one here.
                vel[s][n] = (pos[s][n] - posAnterior[s][n]) / (2 * passo);
                posAnterior[s][n] = antigo;
            }
        }
    }
}

// ---------------------------------------------------------------------------
// Run loop

void ObjetoRef::avancarPasso(int i) {
    passoAtual = passoAtual + 1;
    atualizarGeometria(i);
    atualizarRestricoes();
    calcularForcas(i);
    limparForcas(i);
    if (solver == EULER) {
        passoEuler();
    } else if (solver == PONTO_MEDIO) {
        passoPontoMedio(i);
    } else if (solver == RUNGE_KUTTA) {
        passoRungeKutta(i);
    } else if (solver == VERLET) {
        passoVerlet();
    } else if (solver == LEAPFROG) {
        passoLeapfrog(i);
    }
    calcularNormais(i);
}

int ObjetoRef::simular(const std::filesystem::path& pasta) {
    passoAtual = 1;
    inicializar();
    int quadro = 1;
    if (flagDados == 1) gravarDados(nomeArquivo(pasta, "dados", quadro));
    gravarQuadro(nomeArquivo(pasta, "pontos", quadro), quadro);
    quadro = quadro + 1;

    int i = 1;
    for (; i < quadros; i++) {
        avancarPasso(i);
        // The loop divides by the interval: refuse it here rather than crash.
        if (intervalo < 1) throw std::invalid_argument("intervalo menor que 1");
        if (i % intervalo == 0) {
            gravarQuadro(nomeArquivo(pasta, "pontos", quadro), quadro);
            if (flagDados == 1) gravarDados(nomeArquivo(pasta, "dedos", quadro));
            quadro = quadro + 1;
        }
    }
    return passoAtual;
}

void simularReferencia(const tevra::Cena& cena, bool dados, const std::filesystem::path& pasta) {
    ObjetoRef obj(cena, dados);
    obj.simular(pasta);
}

// ---------------------------------------------------------------------------
// Files

std::filesystem::path ObjetoRef::nomeArquivo(const std::filesystem::path& pasta, const char* prefixo, int n) {
    if (n < 1 || n > 9999) throw std::out_of_range("numero de quadro fora de 1..9999");
    std::string nome = prefixo;
    nome += static_cast<char>('0' + n / 1000);
    nome += static_cast<char>('0' + (n / 100) % 10);
    nome += static_cast<char>('0' + (n / 10) % 10);
    nome += static_cast<char>('0' + n % 10);
    nome += ".txt";
    return pasta / nome;
}

void ObjetoRef::gravarQuadro(const std::filesystem::path& arquivo, int n) const {
    std::ofstream out(arquivo);
    out.imbue(std::locale::classic());
    if (n == 1) {
        out << "Objeto: " << objeto << '\n';
        out << "Area: " << area0 << '\n';
    } else {
        out << "Area: " << area << '\n';
    }
    out << "Densidade de Massa:  " << densidade0 << '\n';
    for (int i = 0; i < grade_i; i++) {
        for (int j = 0; j < grade_j; j++) {
            const int k = idx(i, j);
            out << k << ": " << pos[0][k] << " " << pos[1][k] << " " << pos[2][k] << '\n';
            const double* normal = nos[k].normal;
            out << k << ": " << normal[0] << " " << normal[1] << " " << normal[2] << '\n';
        }
    }
}

void ObjetoRef::gravarDados(const std::filesystem::path& arquivo) const {
    std::ofstream out(arquivo);
    out.imbue(std::locale::classic());

    auto secao = [&](const char* titulo, const std::vector<double>* v) {
        out << titulo << '\n';
        for (int i = 0; i < grade_i; i++) {
            for (int j = 0; j < grade_j; j++) {
                const int k = idx(i, j);
                out << k << ": " << v[0][k] << " " << v[1][k] << " " << v[2][k] << '\n';
            }
        }
    };

    secao("Pontos:", pos);

    out << "Vetor Normal:" << '\n';
    for (int i = 0; i < grade_i; i++) {
        for (int j = 0; j < grade_j; j++) {
            const int k = idx(i, j);
            const double* normal = nos[k].normal;
            out << k << ": " << normal[0] << " " << normal[1] << " " << normal[2] << '\n';
        }
    }

    // The title is ISO 8859-1: c cedilla and a tilde as single bytes.
    secao("\nAcelera\xE7\xE3o:", aceleracao);
    secao("\nForca Externa:", forcaExterna);
    secao("\nForca Interna:", forcaInterna);
    secao("\ne_tio:", e_tio);

    out << "\nTermos e_chapeu:" << '\n';
    for (int i = 0; i < grade_i; i++) {
        for (int j = 0; j < grade_j; j++) {
            const int k = idx(i, j);
            for (int q = 0; q < 4; q++) {
                out << k << ": " << e_chapeu[q][0][k] << " " << e_chapeu[q][1][k] << " " << e_chapeu[q][2][k] << '\n';
            }
        }
    }
}

}  // namespace referencia
