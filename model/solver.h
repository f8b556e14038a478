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

// The one list of solver names, in code order and in the order a text is matched.
inline constexpr std::string_view nomesSolver[] = {
    "Semi-explicit Euler", "Midpoint", "Runge-Kutta", "Leapfrog", "Verlet",
};

// Exact, case-sensitive match; nothing when the text names no solver.
inline std::optional<int> codigoSolver(std::string_view nome) {
    for (int k = 0; k < 5; ++k)
        if (nome == nomesSolver[k]) return SolverEulerSemiExplicito + k;
    return std::nullopt;
}

// The name of a solver code; nothing for a code that names none.
inline std::optional<std::string_view> nomeSolver(int codigo) {
    if (codigo < SolverEulerSemiExplicito || codigo > SolverVerlet) return std::nullopt;
    return nomesSolver[codigo - SolverEulerSemiExplicito];
}

}  // namespace tevra
