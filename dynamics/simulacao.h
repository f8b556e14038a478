#pragma once

#include <atomic>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "model/obj_deformavel.h"

namespace tevra {

// File names hold four digits.
inline constexpr int kMaxQuadros = 9999;

struct OpcoesSimulacao {
    std::filesystem::path pasta;  // where the frame and data files go; created when missing
    // After every step: steps done, steps in the run.
    std::function<void(int feitos, int total)> progresso;
    // After every frame file written: its number and path.
    std::function<void(int quadro, const std::filesystem::path& arquivo)> quadroGravado;
    // Checked after every step; the run stops there when it reads true.
    const std::atomic<bool>* cancelar = nullptr;
};

struct ResultadoSimulacao {
    int passoFinal = 0;       // the step counter at the end
    int passos = 0;           // steps performed
    int quadros = 0;          // frame files attempted
    int falhas = 0;           // frame or dump files that could not be written
    std::string primeiraFalha;
    bool cancelado = false;
};

// Number of frame files a run of `quadros` steps recording every `intervalo`-th writes.
long long quadrosDaSimulacao(int quadros, int intervalo);

// Why a run with these settings cannot be recorded, or nothing when it can.
std::optional<std::string> verificarGravacao(int quadros, int intervalo);

// Step i of a run (passoAtual is advanced first): geometry, restrictions, forces,
// integrator and the normals of the new positions.
void avancarPasso(ObjDeformavel& obj, int i);

// The whole run: initialise, frame 1, then every step and its frames.
ResultadoSimulacao simular(ObjDeformavel& obj, const OpcoesSimulacao& opcoes);

}  // namespace tevra
