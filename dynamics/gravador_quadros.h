#pragma once

#include <atomic>
#include <condition_variable>
#include <deque>
#include <filesystem>
#include <functional>
#include <mutex>
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

    GravadorQuadros(std::filesystem::path pasta, bool dados, AvisoNoDisco noDisco);
    // Memory the writer holds per node of the grid: its two copies and its text.
    static std::size_t bytesPorNo(bool dados);
    ~GravadorQuadros();  // concluir()
    GravadorQuadros(const GravadorQuadros&) = delete;
    GravadorQuadros& operator=(const GravadorQuadros&) = delete;

    // Copies frame n out of the object and queues it; waits while both copies are taken.
    // False, with nothing queued, once a write has failed.
    bool enviar(const ObjDeformavel& obj, int n);
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
