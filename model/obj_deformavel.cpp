#include "model/obj_deformavel.h"

#include <algorithm>

#include "model/equipe.h"
#include "model/solver.h"

namespace tevra {

namespace {

// Arrays of every run: pos, posAnterior, vel, velAnterior, posNovo (15), normal (3), the
// distinct entries of G0, H0, B0 (9) and sqrt(detG) (1).
constexpr int kArraysBase = 15 + 3 + 9 + 1;
constexpr int kArraysRK = 12;
// The data dumps: aceleracao, forcaExterna, forcaInterna, e_tio (12) and e_chapeu (12).
constexpr int kArraysDados = 24;
// Inspection: normalQuadrante (12), the tangents (6), G, dG, Ginv (9), detG, B (3), S (4),
// christoffel (6), psiG, psiB, divBetaNo, alfa, beta, psiDiv, divBeta (28), somaChapeu (3).
constexpr int kArraysDetalhes = 12 + 6 + 9 + 1 + 3 + 4 + 6 + 28 + 3;
// Row buffers one sweep thread keeps (see dynamics/varredura.cpp), in rows of grade_j.
constexpr int kLinhasPorThread = 280;

int numArrays(int solver) { return kArraysBase + (solver == SolverRungeKutta ? kArraysRK : 0); }

// Arrays of the same length that start on the same page offset compete for the same
// cache sets; each one is padded by a cache line more than the one before.
std::size_t larguraDeArray(std::size_t n) { return (n + 7) / 8 * 8 + 8; }

// Hands out consecutive arrays of one block.
class Bloco {
public:
    Bloco(std::unique_ptr<double[]>& dono, std::size_t n, int arrays) : largura_(larguraDeArray(n)) {
        dono = std::make_unique<double[]>(largura_ * static_cast<std::size_t>(arrays));  // zeroed
        proximo_ = dono.get();
    }
    double* um() {
        double* a = proximo_;
        proximo_ += largura_;
        return a;
    }
    void varios(double** destino, int quantos) {
        for (int c = 0; c < quantos; ++c) destino[c] = um();
    }
    // A symmetric 2 x 2 quantity: three arrays, [1][0] sharing [0][1].
    void simetrico(double** t) {
        varios(t, 2);
        t[2] = t[1];
        t[3] = um();
    }

private:
    std::size_t largura_;
    double* proximo_;
};

}  // namespace

std::size_t ObjDeformavel::bytesPorNo(int solver, bool dados) {
    const int arrays = numArrays(solver) + (dados ? kArraysDados : 0);
    return static_cast<std::size_t>(arrays) * sizeof(double) + sizeof(int);
}

std::uint64_t ObjDeformavel::bytesNecessarios(int grade_i, int grade_j, int solver, bool dados) {
    const std::uint64_t gi = static_cast<std::uint64_t>(std::max(grade_i, 0));
    const std::uint64_t gj = static_cast<std::uint64_t>(std::max(grade_j, 0));
    const std::uint64_t arrays = static_cast<std::uint64_t>(numArrays(solver) + (dados ? kArraysDados : 0));
    const std::uint64_t linhas = static_cast<std::uint64_t>(kLinhasPorThread) *
                                 static_cast<std::uint64_t>(threadsDisponiveis()) * (gj + 16) * sizeof(double);
    return gi * gj * bytesPorNo(solver, dados) + arrays * 16 * sizeof(double) + linhas;
}

ObjDeformavel::ObjDeformavel(int gi, int gj, int s) : grade_i(gi), grade_j(gj), solver(s) {
    fluidoAtivo = 0;
    flagDados = 0;
    const std::size_t n = static_cast<std::size_t>(numNos());
    restricaoDoNoMem_.assign(n, 0);
    restricaoDoNo = restricaoDoNoMem_.data();

    Bloco b(base_, n, numArrays(solver));
    b.varios(pos, 3);
    b.varios(posAnterior, 3);
    b.varios(vel, 3);
    b.varios(velAnterior, 3);
    b.varios(posNovo, 3);
    b.varios(nos.normal, 3);
    b.simetrico(nos.G0);
    b.simetrico(nos.H0);
    b.simetrico(nos.B0);
    raizDetG = b.um();
    if (solver == SolverRungeKutta) {
        for (auto& k : incrementoRK) b.varios(k, 3);
    } else {
        for (auto& k : incrementoRK)
            for (auto& c : k) c = nullptr;
    }

    for (double** p : {forcaExterna, forcaInterna, aceleracao, e_tio, somaChapeu})
        for (int c = 0; c < 3; ++c) p[c] = nullptr;
    for (auto& e : e_chapeu)
        for (auto& c : e) c = nullptr;
    for (double** p :
         {alfa, beta, psiDiv, divBeta, nos.G, nos.dG, nos.Ginv, nos.B, nos.S, nos.psiG, nos.psiB, nos.divBetaNo})
        for (int a = 0; a < 4; ++a) p[a] = nullptr;
    for (auto& t : tangente)
        for (auto& c : t) c = nullptr;
    for (auto& q : nos.normalQuadrante)
        for (auto& c : q) c = nullptr;
    for (auto& c : nos.christoffel) c = nullptr;
    nos.detG = nullptr;
}

ObjDeformavel::~ObjDeformavel() = default;

void ObjDeformavel::prepararDados() {
    if (dados_) return;
    Bloco b(dados_, static_cast<std::size_t>(numNos()), kArraysDados);
    b.varios(aceleracao, 3);
    b.varios(forcaExterna, 3);
    b.varios(forcaInterna, 3);
    b.varios(e_tio, 3);
    for (auto& e : e_chapeu) b.varios(e, 3);
}

void ObjDeformavel::detalhar() {
    prepararDados();
    if (detalhes_) return;
    Bloco b(detalhes_, static_cast<std::size_t>(numNos()), kArraysDetalhes);
    for (auto& q : nos.normalQuadrante) b.varios(q, 3);
    for (auto& t : tangente) b.varios(t, 3);
    b.simetrico(nos.G);
    b.simetrico(nos.dG);
    b.simetrico(nos.Ginv);
    nos.detG = b.um();
    b.simetrico(nos.B);
    b.varios(nos.S, 4);
    for (int m = 0; m < 2; ++m) {
        double** chr = nos.christoffel + 4 * m;
        b.simetrico(chr);
    }
    for (double** p : {nos.psiG, nos.psiB, nos.divBetaNo, alfa, beta, psiDiv, divBeta}) b.varios(p, 4);
    b.varios(somaChapeu, 3);
}

nucleo::Grade ObjDeformavel::grade() const {
    nucleo::Grade g;
    g.gi = grade_i;
    g.gj = grade_j;
    g.delta[0] = delta[0];
    g.delta[1] = delta[1];
    g.div[0] = delta[0] * delta[0];
    g.div[1] = delta[0] * delta[1];
    g.div[2] = delta[1] * delta[1];
    // Christoffel terms are left out when the product of the three spacings is this small.
    constexpr double kEspacamentoChristoffel = 1e-4;
    for (int n = 0; n < 2; ++n)
        for (int k = 0; k < 2; ++k)
            for (int l = 0; l < 2; ++l) {
                g.usaChristoffel[n][k][l] = delta[n] * delta[k] * delta[l] > kEspacamentoChristoffel;
                g.algumChristoffel = g.algumChristoffel || g.usaChristoffel[n][k][l];
            }
    for (int k = 0; k < 2; ++k)
        for (int l = 0; l < 2; ++l) {
            g.eta[k][l] = eta[k][l];
            g.qsi[k][l] = qsi[k][l];
            g.psi[k][l] = psi[k][l];
        }
    g.ratio = area0 / area;
    return g;
}

}  // namespace tevra
