// A deliberately naive, single-threaded second engine. Tests run it next to the
// real one and compare the files byte for byte, so it is written for reading,
// not for speed: plain per-node arrays, one sweep per sentence of the model,
// every sum and product grouped the way the model states it. Its one link to the
// engine is its input, the typed scene the engine is built from.
#pragma once

#include <array>
#include <filesystem>
#include <vector>

#include "app/cena/cena.h"

namespace referencia {

// A restriction row as the reference holds it, copied from the scene's.
struct RestricaoRef {
    int u = 0, v = 0, tipo = 1, inicio = 0, fim = 0;  // tipo 3 = "forca", 1 = fixing
    int eixo[3] = {0, 0, 0};
    double forca[3] = {0, 0, 0};
};

// Runs the whole simulation of the run loop for the scene (solver 3..7; any other code: no
// integration) and writes pontosNNNN.txt (and, when `dados`, dados0001.txt / dedosNNNN.txt)
// into `pasta` (which exists).
void simularReferencia(const tevra::Cena& cena, bool dados, const std::filesystem::path& pasta);

// ---------------------------------------------------------------------------
// The object itself, open so that tests can look at (and poke) any quantity.

using Vetor3Ref = std::array<double, 3>;

enum SolverRef { EULER = 3, PONTO_MEDIO = 4, RUNGE_KUTTA = 5, LEAPFROG = 6, VERLET = 7 };

struct NoGeomRef {
    double normalQuadrante[4][3] = {};
    double normal[3] = {};
    double G0[2][2] = {};
    double G[2][2] = {};
    double detG = 0;
    double H0[2][2] = {};
    double Ginv[2][2] = {};
    double dG[2][2] = {};
    double B0[2][2] = {};
    double B[2][2] = {};
    double S[2][2] = {};
    double christoffel[2][2][2] = {};  // [m][k][l] = christoffel^m_kl
    double psiG[2][2] = {};
    double psiB[2][2] = {};
    double divBetaNo[2][2] = {};
};

class ObjetoRef {
public:
    // Copies the scene; every per-node array starts at zero.
    explicit ObjetoRef(const tevra::Cena& cena, bool dados = false);

    // Scalars, in the model's vocabulary.
    int quadros, intervalo;
    std::vector<RestricaoRef> restricoes;
    std::vector<int> restricaoDoNo;
    double passo;
    Vetor3Ref acel, velInicial, fluido;
    double fluido_cte;
    int objeto;
    int grade_i, grade_j;
    double eta[2][2], qsi[2][2], psi[2][2];
    double comp[3];
    double raio, comprimento;
    std::vector<NoGeomRef> nos;
    int solver;
    int flagDados;
    int fluidoAtivo;
    int passoAtual = 1;
    double delta[2] = {0, 0};
    double area = 0, area0 = 0;
    double massa;
    double densidade0 = 0;
    double gama;

    // Per-node arrays: one vector of grade_i * grade_j doubles per component.
    std::vector<double> pos[3], posAnterior[3];
    std::vector<double> forcaExterna[3], forcaInterna[3];
    std::vector<double> vel[3], velAnterior[3];
    std::vector<double> aceleracao[3];
    std::vector<double> alfa[2][2], beta[2][2];
    std::vector<double> e_chapeu[4][3];
    std::vector<double> psiDiv[2][2];
    std::vector<double> divBeta[2][2];
    std::vector<double> somaChapeu[3];
    std::vector<double> e_tio[3];

    // Linear index of node (i, j); throws std::out_of_range outside the grid so
    // that a stencil reading past an edge shows up instead of reading a neighbour.
    int idx(int i, int j) const;
    double P(int i, int j, int c) const { return pos[c][idx(i, j)]; }

    // Surface construction and rest geometry.
    void inicializar();
    Vetor3Ref derivada(int i, int j, int d) const;
    Vetor3Ref derivadaSegunda(int i, int j, int k, int l) const;
    void calcularNormais(int numeroPasso);
    void calcularMetricaRepouso();
    double somaDeArea() const;
    void calcularCurvatura(int numeroPasso);
    void calcularCurvaturaMista(int numeroPasso);
    void calcularChristoffel(int numeroPasso);

    // Elastic pre-computation of one step.
    double peso(const double w[2][2], int n, int k, int l) const;
    void atualizarGeometria(int numeroPasso);

    // Restrictions.
    void atualizarRestricoes();
    const RestricaoRef* restricaoAtiva(int n) const;
    bool componenteLivre(int n, int s) const;

    // Forces.
    void calcularForcas(int numeroPasso);
    void calcularPsiDiv();
    void montarForcaInterna();
    void limparForcas(int numeroPasso);
    void reavaliarForcas(int numeroPasso);
    double aceleracaoDe(int n, int s) const;

    // Integrators.
    void passoEuler();
    void passoPontoMedio(int numeroPasso);
    void passoRungeKutta(int numeroPasso);
    void passoLeapfrog(int numeroPasso);
    void passoVerlet();

    // One step of the run loop (everything but the recording), for step i >= 1.
    void avancarPasso(int i);

    // Files.
    static std::filesystem::path nomeArquivo(const std::filesystem::path& pasta, const char* prefixo, int n);
    void gravarQuadro(const std::filesystem::path& arquivo, int n) const;
    void gravarDados(const std::filesystem::path& arquivo) const;

    // The run loop; returns the last step number.
    int simular(const std::filesystem::path& pasta);

private:
    int nNos() const { return grade_i * grade_j; }
};

// Builds the object from the scene and runs `inicializar` on it.
ObjetoRef construirReferencia(const tevra::Cena& cena, bool dados = false);

}  // namespace referencia
