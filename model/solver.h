#pragma once

#include <optional>
#include <string_view>

namespace tevra {

// Integrator codes as stored in the object; 0 to 2 are not used.
enum Solver : int {
    SolverEulerSemiExplicito = 3,
    SolverPontoMedio = 4,
    SolverRungeKutta = 5,
    SolverLeapfrog = 6,
    SolverVerlet = 7,
};

// The solver names in the order in which a text is matched against them.
inline constexpr std::string_view nomesSolver[] = {
    "Semi-explicit Euler", "Midpoint", "Runge-Kutta", "Leapfrog", "Verlet",
};

// Exact, case-sensitive match; nothing when the text names no solver.
inline std::optional<int> codigoSolver(std::string_view nome) {
    for (int k = 0; k < 5; ++k)
        if (nome == nomesSolver[k]) return SolverEulerSemiExplicito + k;
    return std::nullopt;
}

}  // namespace tevra
