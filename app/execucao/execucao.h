#pragma once

#include <atomic>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/cena/cena.h"
#include "app/execucao/saida_diagnostico.h"
#include "base/erros.h"
#include "dynamics/simulacao.h"
#include "model/obj_deformavel.h"

namespace tevra {

struct OpcoesExecucao {
    std::filesystem::path pasta;  // where the files go; empty: the Tevra home's tmp folder
    bool gravarDados = false;     // also the data dumps (dados0001.txt, dedosNNNN.txt)
    int threads = 0;              // worker threads of the engine; 0: the OpenMP default
};

// Something more a run writes with every frame (exports, pictures), in one of two places.
// quadro: on the run's thread between two steps, with the object as that frame holds it; the
// frame file is handed to the writer thread just before (the path is where it goes; it may
// not be on disk yet). For outputs that may read any array of the live object: copying the
// whole object per frame would cost more than most outputs do. quadroEscrito: on the frame
// writer's thread, in frame order, once the frame file is complete, with the frame's copy
// and the very text the file got: for outputs made of the frame file's numbers alone, which
// the run then does not wait for. A failure either returns counts as one of the run's files
// that could not be written, and stops the run.
class SaidaQuadro {
public:
    virtual ~SaidaQuadro() = default;
    virtual Escrita quadro(const ObjDeformavel& /*obj*/, int /*n*/, const std::filesystem::path& /*arquivoQuadro*/) {
        return std::nullopt;
    }
    virtual Escrita quadroEscrito(const VistaQuadro& /*q*/, std::string_view /*texto*/) { return std::nullopt; }
    // Once, when added to a run: a surface holds only the per-step arrays its run's files
    // read, so an output that reads more asks for them here (ObjDeformavel::prepararDados,
    // detalhar).
    virtual void preparar(ObjDeformavel& /*obj*/) {}
    // After the last frame (also of a cancelled run).
    virtual Escrita concluir() { return std::nullopt; }
};

struct ResultadoExecucao {
    std::filesystem::path pasta;  // where the files went
    long long nos = 0;            // nodes of the grid
    int passosTotais = 0;         // steps the run was to perform
    int passos = 0;               // steps performed
    int quadros = 0;              // frame files complete on disk: frames 1 to quadros
    int falhas = 0;               // files that could not be written; the run stopped at the first
    Escrita primeiraFalha;
    int removidos = 0;                       // files of an earlier run's series removed from the folder
    bool cancelado = false;                  // stopped early by cancelar() or interromper()
    bool interrompido = false;               // ... by interromper(): a signal, not the user's Cancel
    std::optional<Divergencia> divergencia;  // the run blew up and stopped there
    double segundos = 0.0;                   // wall time of the run itself

    // Frames a player can show: a dump that failed takes no frame file away.
    int quadrosGravados() const { return quadros; }
};

// One run of one scene: the surface built from it, the folder, the engine's threads, the
// frame files and whatever else is written with each frame. Every front door (runner,
// windows) drives a run through this and nothing else.
class Execucao {
public:
    // Checks the scene and the options and builds the surface; throws ErroEntrada with the
    // text for the user. The folder is checked when the run starts: a folder that cannot be
    // written ends the run at once, as a file that could not be written.
    Execucao(const Cena& cena, OpcoesExecucao opcoes);
    ~Execucao();
    Execucao(const Execucao&) = delete;
    Execucao& operator=(const Execucao&) = delete;

    const Cena& cena() const { return cena_; }
    const ObjDeformavel& objeto() const { return *obj_; }
    const std::filesystem::path& pasta() const { return opcoes_.pasta; }
    int passosTotais() const;

    // After every step, on the run's thread: steps done, steps in the run.
    std::function<void(int feitos, int total)> progresso;
    // Each time a frame file is complete under its name, in frame order, on the writer's
    // thread (a window hands it to its own thread; the run does not wait for it).
    std::function<void(int n, const std::filesystem::path& arquivo)> quadroGravado;
    void adicionarSaida(std::unique_ptr<SaidaQuadro> saida);

    // From any thread: the run stops after its current step, keeping what it wrote.
    void cancelar() { cancelar_.store(true, std::memory_order_relaxed); }
    // The same for SIGINT or SIGTERM; safe to call from a signal handler (two lock-free
    // atomic stores).
    void interromper() {
        interrompido_.store(true, std::memory_order_relaxed);
        cancelar_.store(true, std::memory_order_relaxed);
    }

    // Runs the whole scene once. Throws ObjetoInvalido for a shape code the engine refuses.
    ResultadoExecucao executar();

private:
    Cena cena_;
    OpcoesExecucao opcoes_;
    std::unique_ptr<ObjDeformavel> obj_;
    std::vector<std::unique_ptr<SaidaQuadro>> saidas_;
    std::unique_ptr<SaidaDiagnostico> diagnostico_;  // made when the run has built its surface
    std::atomic<bool> cancelar_{false};
    std::atomic<bool> interrompido_{false};
};

// "At most N threads (4 per hardware thread of this machine); M were asked for", or empty
// when `threads` is within the limit.
std::string mensagemThreads(int threads);

// The runner's line: "N steps, M frames written to DIR, S s wall time, R node-steps per second".
std::string resumoExecucao(const ResultadoExecucao& r);
// "The simulation was cancelled after step N of T; frames 1 to M are kept."
std::string textoCancelamento(const ResultadoExecucao& r);
// "Interrupted after step N of T; frames 1 to M in DIR are complete."
std::string textoInterrupcao(const ResultadoExecucao& r);
// "The run diverged at step N (simulated time T): node (i, j) has a non-finite position x;
// frames 1 to M are kept." Empty for a run that did not diverge.
std::string textoDivergencia(const ResultadoExecucao& r);
// "Cannot write FILE: REASON; the run stopped after step N of T, frames 1 to M are complete."
// (or "...; nothing was run." when the folder failed before the first step).
std::string textoFalhas(const ResultadoExecucao& r);
// "Removed N files of an earlier run (pontos, dados, dedos) from DIR." Empty when none.
std::string textoRemovidos(const ResultadoExecucao& r);

}  // namespace tevra
