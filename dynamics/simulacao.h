#pragma once

#include <atomic>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "base/erros.h"
#include "model/obj_deformavel.h"

namespace tevra {

struct OpcoesSimulacao {
    std::filesystem::path pasta;  // where the frame and data files go; created when missing
    // After every step: steps done, steps in the run.
    std::function<void(int feitos, int total)> progresso;
    // After every frame file, with the object as that frame holds it: the frame number and
    // the file's path. Whatever it returns as a failure counts as one of the run's.
    std::function<Escrita(const ObjDeformavel& obj, int quadro, const std::filesystem::path& arquivo)> quadroGravado;
    // Checked after every step; the run stops there when it reads true.
    const std::atomic<bool>* cancelar = nullptr;
};

// The first non-finite position or velocity a step left, in grid order; the run stops
// there, before a frame could hold it.
struct Divergencia {
    int passo = 0;       // the step that produced it (i, 1-based)
    double tempo = 0.0;  // simulated time after that step: i * dt
    int i = 0;           // the node
    int j = 0;
    std::string grandeza;  // which value: "position x", "velocity z", ...
};

struct ResultadoSimulacao {
    int passoFinal = 0;  // the step counter at the end
    int passos = 0;      // steps performed
    int quadros = 0;     // frame files attempted
    int falhas = 0;      // files that could not be written
    Escrita primeiraFalha;
    bool cancelado = false;
    std::optional<Divergencia> divergencia;
};

// Step i of a run (passoAtual is advanced first): restrictions, then the integrator's
// step, which computes geometry and forces and leaves the normals of the new positions.
void avancarPasso(ObjDeformavel& obj, int i);

// The whole run: initialise, frame 1, then every step and its frames.
ResultadoSimulacao simular(ObjDeformavel& obj, const OpcoesSimulacao& opcoes);

}  // namespace tevra
