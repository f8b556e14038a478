#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <vector>

#include "model/restricao.h"
#include "model/vetor3.h"

namespace tevra {

// Shape codes of `ObjDeformavel::objeto`.
enum Objeto : int {
    ObjetoPlano = 0,
    ObjetoCilindro = 2,
};

// Raised by `inicializar` for a shape code other than plane or cylinder.
struct ObjetoInvalido : std::runtime_error {
    ObjetoInvalido() : std::runtime_error("Objeto invalido!") {}
};

// 2 x 2 tensors are four arrays, index 2*k + l (00, 01, 10, 11).
inline constexpr int kl(int k, int l) { return 2 * k + l; }
// Christoffel symbols are held [m][k][l].
inline constexpr int mkl(int m, int k, int l) { return 4 * m + 2 * k + l; }

// Per-node geometric records, held as one array per quantity and component.
struct NosGeom {
    double* normalQuadrante[4][3];  // +i/+j, +j/-i, -i/-j, -j/+i; (0, -10, 0) off the grid
    double* normal[3];
    double* G0[4];
    double* G[4];
    double* detG;
    double* H0[4];
    double* Ginv[4];
    double* dG[4];
    double* B0[4];
    double* B[4];
    double* S[4];
    double* christoffel[8];
    double* psiG[4];
    double* psiB[4];
    double* divBetaNo[4];
};

// The simulated surface: a grade_i x grade_j grid of mass nodes over a sheet or a tube.
// Node (i, j) has index i * grade_j + j; every array below has one entry per node.
class ObjDeformavel {
public:
    ObjDeformavel(int grade_i, int grade_j, int solver);
    ObjDeformavel(const ObjDeformavel&) = delete;
    ObjDeformavel& operator=(const ObjDeformavel&) = delete;

    // Memory the object holds per node for a given integrator (Runge-Kutta keeps its increments).
    static std::size_t bytesPorNo(int solver);
    // Total bytes for a grid; 64-bit so that a grid too large for memory can be refused.
    static std::uint64_t bytesNecessarios(int grade_i, int grade_j, int solver);

    int quadros = 0;
    int intervalo = 1;
    int nRestricoes = 0;
    int* restricaoDoNo = nullptr;
    double tempo = 0.0;
    double passo = 0.0;
    std::vector<Restricao> restricoes;
    Vetor3 acel;
    Vetor3 velInicial;
    Vetor3 fluido;
    double fluido_cte = 0.0;
    int objeto = ObjetoPlano;
    int grade_i;
    int grade_j;
    double eta[2][2] = {};
    double qsi[2][2] = {};
    double psi[2][2] = {};
    double comp[3] = {};
    double raio = 0.0;
    double comprimento = 0.0;
    NosGeom nos{};
    int solver;
    int flagDados = 0;
    int fluidoAtivo = 0;
    int passoAtual = 0;
    double delta[2] = {};
    double area = 0.0;
    double area0 = 0.0;
    double massa = 0.0;
    double densidade0 = 0.0;
    double gama = 0.0;

    double* pos[3];
    double* posAnterior[3];
    double* forcaExterna[3];
    double* forcaInterna[3];
    double* vel[3];
    double* velAnterior[3];
    double* aceleracao[3];
    double* alfa[4];
    double* beta[4];
    double* e_chapeu[4][3];
    double* psiDiv[4];
    double* divBeta[4];
    double* somaChapeu[3];
    double* e_tio[3];

    // Working arrays: the two tangents (first differences) of the current positions,
    // sqrt(detG) for the area sum, and the Runge-Kutta increments (Runge-Kutta only).
    double* tangente[2][3];
    double* raizDetG;
    double* incrementoRK[4][3];

    int numNos() const { return grade_i * grade_j; }

    void inicializar();
    void calcularNormais(int numPasso);
    void atualizarGeometria(int numPasso);
    Vetor3 derivada(int i, int j, int d) const;
    Vetor3 derivadaSegunda(int i, int j, int k, int l) const;

private:
    std::vector<int> restricaoDoNoMem_;
    std::unique_ptr<double[]> arena_;

    void construirForma();
    void calcularTangentesEMetrica();
    double somarArea() const;
    void calcularCurvaturaETensoes(int numPasso);
    void calcularDivergencias();
};

}  // namespace tevra
