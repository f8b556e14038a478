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
    double* normal[3];              // unit normal: the normalised sum of the quadrants'
    double* G0[4];                  // rest metric
    double* G[4];                   // current metric  [detailed]
    double* detG;                   // det G  [detailed]
    double* H0[4];                  // inverse rest metric (edge rows and columns borrow)
    double* Ginv[4];                // inverse metric, 0 where detG <= 1e-7  [detailed]
    double* dG[4];                  // G - G0  [detailed]
    double* B0[4];                  // rest curvature
    double* B[4];                   // current curvature  [detailed]
    double* S[4];                   // mixed curvature Ginv B  [detailed]
    double* christoffel[8];         // Christoffel symbols [m][k][l]  [detailed]
    double* psiG[4];                // psi-weighted metric stress  [detailed]
    double* psiB[4];                // psi-weighted curvature stress  [detailed]
    double* divBetaNo[4];           // covariant divergence of beta  [detailed]
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

    // Run and scene parameters (lengths, masses and times in the user's own units, time in
    // seconds).
    int quadros = 0;                    // steps of a run: the run loop performs steps 1 .. quadros-1
    int intervalo = 1;                  // a frame is written after every intervalo-th step
    int nRestricoes = 0;                // rows of `restricoes`
    int* restricaoDoNo = nullptr;       // per node: 0 free this step, else 1 + the active restriction
    std::vector<int> nosRestritos;      // the nodes whose restricaoDoNo is not 0, in grid order
    double tempo = 0.0;                 // the animation time of the set-up; the engine never reads it
    double passo = 0.0;                 // time step dt (s)
    std::vector<Restricao> restricoes;  // held axes and pushing forces, each over a window of steps
    Vetor3 acel;                        // constant acceleration (gravity), every node
    Vetor3 velInicial;                  // velocity of every node at inicializar
    Vetor3 fluido;                      // velocity of the surrounding fluid
    double fluido_cte = 0.0;            // fluid force coefficient (when fluidoAtivo)
    int objeto = ObjetoPlano;           // shape code: ObjetoPlano or ObjetoCilindro
    int grade_i;                        // nodes along direction 0 (rows; around a tube)
    int grade_j;                        // nodes along direction 1 (columns; along a tube)
    double eta[2][2] = {};              // stretching weights of G - G0
    double qsi[2][2] = {};              // bending weights of B0 - B
    double psi[2][2] = {};              // coupling weights, of both changes
    double comp[3] = {};                // the sheet's extents along x, y, z
    double raio = 0.0;                  // the tube's radius
    double comprimento = 0.0;           // the tube's length (along x)
    NosGeom nos{};                      // per-node geometry, one array per component (above)
    int solver;                         // integrator code (model/solver.h), fixed at construction
    int flagDados = 0;                  // 1: the run writes the data dumps (dadosNNNN, dedosNNNN)
    int fluidoAtivo = 0;                // 1: the fluid force is applied
    int passoAtual = 0;                 // step counter: 1 at the start, raised before every step
    double delta[2] = {};               // grid spacing in parameter space, along i and along j
    double area = 0.0;                  // current area: the cell sum of sqrt(detG) in grid order
    double area0 = 0.0;                 // rest area
    double massa = 0.0;                 // the scene's total mass; once a step ran, the current
                                        // density densidade0 * area0 / area that forces divide by
    double densidade0 = 0.0;            // rest mass density, massa / area0
    double gama = 0.0;                  // velocity damping coefficient

    // Per node, x, y, z arrays.
    double* pos[3];           // current positions
    double* posAnterior[3];   // the integrators' second position set (rest shape at the start)
    double* forcaExterna[3];  // gravity, fluid and pushing restrictions  [dumps]
    double* forcaInterna[3];  // elastic force somaChapeu + e_tio (Euler only)  [dumps]
    double* vel[3];           // current velocities
    double* velAnterior[3];   // the integrators' second velocity set
    double* aceleracao[3];    // (external + internal - damping) / density (Euler only)  [dumps]
    // Per node, 2 x 2 tensors [kl] and force terms.
    double* alfa[4];         // membrane stress: weighted (G - G0) * area0 / area  [detailed]
    double* beta[4];         // bending stress: weighted (B0 - B) * area0 / area  [detailed]
    double* e_chapeu[4][3];  // membrane, its Christoffel term, bending, its Christoffel term  [dumps]
    double* psiDiv[4];       // covariant divergence of psiG  [detailed]
    double* divBeta[4];      // backward difference of beta along l  [detailed]
    double* somaChapeu[3];   // the four e_chapeu summed: the zeta and xi elastic force  [detailed]
    double* e_tio[3];        // the psi (coupling) elastic force  [dumps]

    // Working arrays, per node.
    double* tangente[2][3];      // first differences of pos along i and along j  [detailed]
    double* raizDetG;            // sqrt(detG) of the current positions: the area sum's terms
    double* posNovo[3];          // a sweep's new positions, swapped with pos once it is done
    double* incrementoRK[4][3];  // the four Runge-Kutta increments (nullptr for the others)

    // Set by inicializar and by every step: some position or velocity is not finite.
    bool naoFinito = false;

    int numNos() const { return grade_i * grade_j; }

    void inicializar();
    void calcularNormais(int numPasso);
    // The whole elastic update of one step into the object's arrays (it calls detalhar).
    void atualizarGeometria(int numPasso);
    Vetor3 derivada(int i, int j, int d) const;
    Vetor3 derivadaSegunda(int i, int j, int k, int l) const;

    // Allocates the data dumps' arrays (zeroed) if they are not there yet; every later step
    // fills them.
    void prepararDados();
    bool temDados() const { return dados_ != nullptr; }
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
