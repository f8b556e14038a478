#include "model/obj_deformavel.h"

#include <algorithm>

#include "model/solver.h"

namespace tevra {

namespace {

constexpr int kArraysObjeto = 3 * 7 + 4 + 4 + 12 + 4 + 4 + 3 + 3;
constexpr int kArraysNos = 12 + 3 + 4 + 4 + 1 + 4 + 4 + 4 + 4 + 4 + 4 + 8 + 4 + 4 + 4;
constexpr int kArraysTrabalho = 6 + 1;
constexpr int kArraysRK = 12;

int numArrays(int solver) {
    return kArraysObjeto + kArraysNos + kArraysTrabalho + (solver == SolverRungeKutta ? kArraysRK : 0);
}

// Arrays of the same length that start on the same page offset compete for the same
// cache sets; each one is padded by a cache line more than the one before.
std::size_t larguraDeArray(std::size_t n) { return (n + 7) / 8 * 8 + 8; }

}  // namespace

std::size_t ObjDeformavel::bytesPorNo(int solver) {
    return static_cast<std::size_t>(numArrays(solver)) * sizeof(double) + sizeof(int);
}

std::uint64_t ObjDeformavel::bytesNecessarios(int grade_i, int grade_j, int solver) {
    const std::uint64_t n =
        static_cast<std::uint64_t>(std::max(grade_i, 0)) * static_cast<std::uint64_t>(std::max(grade_j, 0));
    return n * bytesPorNo(solver) + static_cast<std::uint64_t>(numArrays(solver)) * 16 * sizeof(double);
}

ObjDeformavel::ObjDeformavel(int gi, int gj, int s) : grade_i(gi), grade_j(gj), solver(s) {
    fluidoAtivo = 0;
    flagDados = 0;
    const std::size_t n = static_cast<std::size_t>(numNos());
    const std::size_t larguraArray = larguraDeArray(n);
    const int total = numArrays(solver);
    restricaoDoNoMem_.assign(n, 0);
    restricaoDoNo = restricaoDoNoMem_.data();
    // Zeroed: the dump of frame 1 prints the force and acceleration arrays before any step.
    arena_ = std::make_unique<double[]>(larguraArray * static_cast<std::size_t>(total));

    double* proximo = arena_.get();
    auto pega = [&]() {
        double* a = proximo;
        proximo += larguraArray;
        return a;
    };
    auto pegaN = [&](double** destino, int quantos) {
        for (int c = 0; c < quantos; ++c) destino[c] = pega();
    };

    pegaN(pos, 3);
    pegaN(posAnterior, 3);
    pegaN(forcaExterna, 3);
    pegaN(forcaInterna, 3);
    pegaN(vel, 3);
    pegaN(velAnterior, 3);
    pegaN(aceleracao, 3);
    pegaN(alfa, 4);
    pegaN(beta, 4);
    for (auto& e : e_chapeu) pegaN(e, 3);
    pegaN(psiDiv, 4);
    pegaN(divBeta, 4);
    pegaN(somaChapeu, 3);
    pegaN(e_tio, 3);

    for (auto& q : nos.normalQuadrante) pegaN(q, 3);
    pegaN(nos.normal, 3);
    pegaN(nos.G0, 4);
    pegaN(nos.G, 4);
    nos.detG = pega();
    pegaN(nos.H0, 4);
    pegaN(nos.Ginv, 4);
    pegaN(nos.dG, 4);
    pegaN(nos.B0, 4);
    pegaN(nos.B, 4);
    pegaN(nos.S, 4);
    pegaN(nos.christoffel, 8);
    pegaN(nos.psiG, 4);
    pegaN(nos.psiB, 4);
    pegaN(nos.divBetaNo, 4);

    for (auto& t : tangente) pegaN(t, 3);
    raizDetG = pega();
    if (solver == SolverRungeKutta) {
        for (auto& k : incrementoRK) pegaN(k, 3);
    } else {
        for (auto& k : incrementoRK)
            for (auto& c : k) c = nullptr;
    }
}

}  // namespace tevra
