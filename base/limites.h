#pragma once

#include <thread>

namespace tevra {

// Frame numbers are written with four digits in the file names.
inline constexpr int kMaxQuadros = 9999;

// Steps a run of `quadros` iterations performs: 1 .. quadros - 1.
inline constexpr int passosDaSimulacao(int quadros) { return quadros > 1 ? quadros - 1 : 0; }

// Frame files that run writes when it records every `intervalo`-th step: frame 1 (the state
// before the first step) and one after every intervalo-th step.
inline constexpr long long quadrosDaSimulacao(int quadros, int intervalo) {
    if (quadros < 1 || intervalo < 1) return 1;
    return 1 + (static_cast<long long>(quadros) - 1) / intervalo;
}

// Threads a run may ask for: four per hardware thread. More only wait on each other, and a
// huge team crashes the OpenMP runtime.
inline int limiteThreads() {
    const unsigned h = std::thread::hardware_concurrency();
    return 4 * static_cast<int>(h > 0 ? h : 1);
}

}  // namespace tevra
