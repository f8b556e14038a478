#pragma once

#include <atomic>
#include <condition_variable>
#include <deque>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string_view>
#include <thread>
#include <vector>

#include "base/erros.h"
#include "dynamics/arquivos.h"
#include "model/obj_deformavel.h"

namespace tevra {

// Writes a run's frame files (and, with the data on, its dumps) on a thread of its own, from
// copies, in frame order, so that the run steps on while a frame is formatted and written.
// The run is never more than two frames ahead of the disk: a third frame waits for a free
// copy, which bounds the memory to two copies of the frame's arrays.
//
// After the first file that cannot be written nothing more is written: the frames still
// queued are dropped and the run learns it from falhou() at its next step boundary.
class GravadorQuadros {
public:
    // `noDisco` is called on the writer's thread each time a frame file is complete under
    // its name (never for a dump).
    using AvisoNoDisco = std::function<void(int n, const std::filesystem::path& arquivo)>;
    // Called on the writer's thread with each frame's copy (velocities included) and the text
    // its frame file got, in frame order, after that file: what else is made of a frame, off
    // the run's thread. A failure it returns stops the writer as a failed frame file does.
    using SaidaDaCopia = std::function<Escrita(const VistaQuadro& q, std::string_view texto)>;

    GravadorQuadros(std::filesystem::path pasta, bool dados, AvisoNoDisco noDisco, SaidaDaCopia daCopia = {});
    // Memory the writer holds per node of the grid: its two copies (with the velocities) and
    // its text.
    static std::size_t bytesPorNo(bool dados);
    ~GravadorQuadros();  // concluir()
    GravadorQuadros(const GravadorQuadros&) = delete;
    GravadorQuadros& operator=(const GravadorQuadros&) = delete;

    // A copy to fill; waits while both are taken. Null once a write has failed.
    CopiaQuadro* reservar();
    // Fills `c` (from reservar) with frame n and queues it; when a value the frame prints is
    // not finite, nothing is queued, the copy is kept for locating it and the answer is false.
    bool enviar(CopiaQuadro* c, const ObjDeformavel& obj, int n);
    // A copy reservar gave that is not to be written.
    void devolver(CopiaQuadro* c);
    // A write failed; safe to ask from the run's thread at any time.
    bool falhou() const { return falhou_.load(std::memory_order_acquire); }

    struct Balanco {
        int quadros = 0;  // frame files complete: frames 1 to quadros
        Escrita falha;    // the first file that could not be written
    };
    // Waits until every queued frame is written (or dropped after a failure) and stops the
    // thread. Called once; later calls return the same.
    Balanco concluir();

private:
    void trabalhar();
    Escrita gravar(const CopiaQuadro& c);

    const std::filesystem::path pasta_;
    const bool dados_;
    const AvisoNoDisco noDisco_;
    const SaidaDaCopia daCopia_;

    std::mutex m_;
    std::condition_variable cv_;
    std::deque<CopiaQuadro*> fila_;     // copies to write, oldest first
    std::vector<CopiaQuadro*> livres_;  // copies the run may fill
    CopiaQuadro copias_[2];
    bool fim_ = false;  // no more frames will come
    std::atomic<bool> falhou_{false};
    Balanco balanco_;  // written by the thread; read after it has ended
    std::vector<char> texto_;
    std::thread thread_;
};

}  // namespace tevra
