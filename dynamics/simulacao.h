#pragma once

#include <atomic>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "base/erros.h"
#include "dynamics/gravador_quadros.h"
#include "model/obj_deformavel.h"

namespace tevra {

struct OpcoesSimulacao {
    std::filesystem::path pasta{};  // where the frame and data files go; created when missing
    // After every step: steps done, steps in the run.
    std::function<void(int feitos, int total)> progresso{};
    // After every frame, on the run's thread, with the object as that frame holds it: the
    // frame number and its file's path. The file itself may still be on its way to the disk
    // (quadroNoDisco says when it is there). Whatever it returns as a failure counts as one
    // of the run's, and stops it.
    std::function<Escrita(const ObjDeformavel& obj, int quadro, const std::filesystem::path& arquivo)> quadroGravado{};
    // Checked after every step; the run stops there when it reads true.
    const std::atomic<bool>* cancelar = nullptr;
    // Once the surface is built (its rest geometry and density known), before frame 1, on
    // the run's thread.
    std::function<void(const ObjDeformavel& obj)> inicio{};
    // Each time a frame file is complete under its name, on the writer's thread.
    std::function<void(int quadro, const std::filesystem::path& arquivo)> quadroNoDisco{};
    // After quadroNoDisco, on the writer's thread, with the frame's copy and the velocities:
    // what is measured of each frame without holding the run up. A failure stops the run.
    GravadorQuadros::SaidaDaCopia quadroCopiado{};
};

// The first non-finite value a step left (a position or velocity in grid order, or a value
// the next frame would print: the area, a normal); the run stops there, before a frame
// could hold it.
struct Divergencia {
    int passo = 0;       // the step that produced it (i, 1-based); 0: the surface as built
    double tempo = 0.0;  // simulated time after that step: i * dt
    int i = 0;           // the node; -1 and -1 for a value of the whole surface (its area)
    int j = 0;
    std::string grandeza;  // which value: "position x", "velocity z", "normal y", "area", ...
};

struct ResultadoSimulacao {
    int passoFinal = 0;  // the step counter at the end
    int passos = 0;      // steps performed
    int quadros = 0;     // frame files complete on disk: frames 1 to quadros
    int falhas = 0;      // files that could not be written (the run stops at the first)
    Escrita primeiraFalha;
    int removidos = 0;  // frame and dump files of an earlier run removed from the folder
    bool cancelado = false;
    std::optional<Divergencia> divergencia;
};

// Step i of a run (passoAtual is advanced first): restrictions, then the integrator's
// step, which computes geometry and forces and leaves the normals of the new positions.
void avancarPasso(ObjDeformavel& obj, int i);

// The whole run: the folder made ready (probed, an earlier series removed), initialise,
// frame 1, then every step and its frames. Frames are written on a thread of their own
// from copies; the run stops after the step in which a write failed, a value became
// non-finite or `cancelar` was set, and leaves only complete files behind.
ResultadoSimulacao simular(ObjDeformavel& obj, const OpcoesSimulacao& opcoes);

}  // namespace tevra
