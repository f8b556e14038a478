#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "view/gl/estado_vista.h"
#include "view/imagem/imagem.h"
#include "view/quadros/quadro_compacto.h"

namespace tevra {

class Renderizador;

// One picture to draw: frame n seen with `vista`; no frame, the scene without a surface.
struct TrabalhoDesenho {
    int n = 0;
    std::shared_ptr<const QuadroCompacto> quadro;
    bool fechada = false;
    EstadoVista vista;
    int ordem = 0;  // the sender's own place for the picture, handed back with it
};

// Pictures drawn on several threads at once, each with an off-screen context of its own
// (Renderizador): a software renderer draws one frame on one core, so a series is drawn as
// many frames at a time as there are threads. Pictures come out in the order they are
// finished, not the order sent.
class Desenhistas {
public:
    // Runs on the drawing thread with each finished picture.
    using Pronta = std::function<void(const TrabalhoDesenho& trabalho, Imagem&& imagem)>;
    // A picture to draw into (its pixels reused when it has the size), from the drawing thread.
    using Reciclar = std::function<Imagem()>;

    // `quantos` threads, each making its largura x altura context with the 256 x 256 RGBA
    // texture; null with the reason in `erro` when a context cannot be made.
    static std::unique_ptr<Desenhistas> criar(int quantos, int largura, int altura,
                                              const std::vector<std::uint8_t>& texels, Pronta pronta,
                                              Reciclar reciclar, std::string& erro);
    ~Desenhistas();  // draws what was sent, then ends the threads
    Desenhistas(const Desenhistas&) = delete;
    Desenhistas& operator=(const Desenhistas&) = delete;

    // Hands a picture over; waits while every thread has one to draw and one waiting.
    void enviar(TrabalhoDesenho trabalho);
    // Until every picture sent has been drawn and handed to `pronta`.
    void esperar();
    int quantos() const { return static_cast<int>(threads_.size()); }

private:
    Desenhistas(Pronta pronta, Reciclar reciclar) : pronta_(std::move(pronta)), reciclar_(std::move(reciclar)) {}
    void trabalhar(Renderizador& renderizador);

    Pronta pronta_;
    Reciclar reciclar_;
    std::mutex mutex_;
    std::condition_variable mudou_;
    std::deque<TrabalhoDesenho> fila_;
    int ocupados_ = 0;
    bool parar_ = false;
    std::vector<std::thread> threads_;
};

// Mesa's software renderer shares each picture out among threads of its own; frames drawn
// several at a time already keep the cores busy, and the sharing only adds their meetings
// (a fifth more processor time for a series). Asks it to draw on the calling thread, unless
// the user set LP_NUM_THREADS. For the start of main, before any other thread exists.
void desenharNoProprioThread();

// How many pictures a series is drawn at once: the cores this process may use, at most four
// (each context holds its own framebuffer and compiled shaders).
int desenhistasPadrao();

}  // namespace tevra
