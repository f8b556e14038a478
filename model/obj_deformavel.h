#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <vector>

#include "model/nucleo.h"
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

// Per-node geometric records, held as one array per quantity and component. The symmetric
// tensors (G0, G, H0, Ginv, dG, B0, B) have [1][0] equal to [0][1], and the Christoffel
// symbols [m][1][0] equal to [m][0][1]: their [1][0] pointer is the [0][1] array.
// An array that no output of a run reads is allocated only on request (nullptr otherwise):
// see ObjDeformavel::detalhar.
struct NosGeom {
    double* normalQuadrante[4][3];  // +i/+j, +j/-i, -i/-j, -j/+i; (0, -10, 0) off the grid  [detailed]
    double* normal[3];
    double* G0[4];
    double* G[4];  // [detailed]
    double* detG;  // [detailed]
    double* H0[4];
    double* Ginv[4];  // [detailed]
    double* dG[4];    // [detailed]
    double* B0[4];
    double* B[4];            // [detailed]
    double* S[4];            // [detailed]
    double* christoffel[8];  // [detailed]
    double* psiG[4];         // [detailed]
    double* psiB[4];         // [detailed]
    double* divBetaNo[4];    // [detailed]
};

// The simulated surface: a grade_i x grade_j grid of mass nodes over a sheet or a tube.
// Node (i, j) has index i * grade_j + j; every array below has one entry per node.
//
// A run holds only what its outputs need: positions, velocities and normals, the rest
// geometry and sqrt(detG) for the area sum. The data dumps' arrays
// (aceleracao, forcaExterna, forcaInterna, e_tio, e_chapeu) come with `flagDados` at
// `inicializar`; every other per-step quantity (curvature, stress terms, their divergences,
// the internal force sums) lives in a sweep's row buffers, and in arrays of the object only
// after `detalhar`, for tests and inspection.
class ObjDeformavel {
public:
    ObjDeformavel(int grade_i, int grade_j, int solver);
    ObjDeformavel(const ObjDeformavel&) = delete;
    ObjDeformavel& operator=(const ObjDeformavel&) = delete;
    ~ObjDeformavel();

    // Memory the object holds per node for an integrator (Runge-Kutta keeps its increments),
    // with or without the data dumps' arrays.
    static std::size_t bytesPorNo(int solver, bool dados = false);
    // Total bytes for a grid, a sweep's row buffers included; 64-bit so that a grid too large
    // for memory can be refused.
    static std::uint64_t bytesNecessarios(int grade_i, int grade_j, int solver, bool dados = false);

    int quadros = 0;
    int intervalo = 1;
    int nRestricoes = 0;
    int* restricaoDoNo = nullptr;
    std::vector<int> nosRestritos;  // the nodes whose restricaoDoNo is not 0, in grid order
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
    double* forcaExterna[3];  // [dumps]
    double* forcaInterna[3];  // [dumps]
    double* vel[3];
    double* velAnterior[3];
    double* aceleracao[3];   // [dumps]
    double* alfa[4];         // [detailed]
    double* beta[4];         // [detailed]
    double* e_chapeu[4][3];  // [dumps]
    double* psiDiv[4];       // [detailed]
    double* divBeta[4];      // [detailed]
    double* somaChapeu[3];   // [detailed]
    double* e_tio[3];        // [dumps]

    // Working arrays: the two tangents (first differences) of the current positions
    // [detailed], sqrt(detG) for the area sum, the positions a sweep writes while its
    // neighbours still read the old ones (swapped with pos), and the Runge-Kutta increments
    // (Runge-Kutta only).
    double* tangente[2][3];
    double* raizDetG;
    double* posNovo[3];
    double* incrementoRK[4][3];

    // Set by inicializar and by every step: some position or velocity is not finite.
    bool naoFinito = false;

    int numNos() const { return grade_i * grade_j; }

    void inicializar();
    void calcularNormais(int numPasso);
    // The whole elastic update of one step into the object's arrays (it calls detalhar).
    void atualizarGeometria(int numPasso);
    Vetor3 derivada(int i, int j, int d) const;
    Vetor3 derivadaSegunda(int i, int j, int k, int l) const;

    // Allocates the data dumps' arrays (zeroed) if they are not there yet.
    void prepararDados();
    // Allocates every per-step array (zeroed) and makes every later sweep fill them.
    void detalhar();
    bool detalhado() const { return detalhes_ != nullptr; }

    // What the row kernels need of the grid and of the current step.
    nucleo::Grade grade() const;
    // Area and density from the current sqrt(detG): the cell sum in grid order.
    void atualizarArea();
    // sqrt(detG) of every node of the positions p, on the engine's threads: all the area
    // sum needs.
    void calcularRaizes(const double* const p[3]);
    // First differences and metric of every node into the object's arrays (it calls detalhar).
    void calcularMetrica();

private:
    std::vector<int> restricaoDoNoMem_;
    std::unique_ptr<double[]> base_;
    std::unique_ptr<double[]> dados_;
    std::unique_ptr<double[]> detalhes_;

    void construirForma();
    void restoDaGeometria();
    double somarArea() const;
};

}  // namespace tevra
