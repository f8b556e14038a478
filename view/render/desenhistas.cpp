#include "view/render/desenhistas.h"

#include <algorithm>
#include <cstdlib>
#include <future>

#include "model/equipe.h"
#include "view/render/renderizador.h"

namespace tevra {

void desenharNoProprioThread() { ::setenv("LP_NUM_THREADS", "0", 0); }

int desenhistasPadrao() { return std::clamp(threadsDisponiveis(), 1, 4); }

std::unique_ptr<Desenhistas> Desenhistas::criar(int quantos, int largura, int altura,
                                                const std::vector<std::uint8_t>& texels, Pronta pronta,
                                                Reciclar reciclar, std::string& erro) {
    std::unique_ptr<Desenhistas> d(new Desenhistas(std::move(pronta), std::move(reciclar)));
    // A context is current on one thread only: each thread makes its own and keeps it. They
    // are made one after the other, so that the first failure is the one told.
    for (int t = 0; t < std::max(quantos, 1); ++t) {
        std::promise<std::string> feito;
        std::future<std::string> resultado = feito.get_future();
        d->threads_.emplace_back([feito = std::move(feito), largura, altura, &texels, self = d.get()]() mutable {
            std::string motivo;
            std::unique_ptr<Renderizador> r = Renderizador::criar(largura, altura, texels, motivo);
            if (!r) {
                feito.set_value(motivo.empty() ? std::string("no OpenGL context could be made") : motivo);
                return;
            }
            feito.set_value({});
            self->trabalhar(*r);
        });
        erro = resultado.get();
        if (!erro.empty()) return nullptr;  // the destructor ends the threads already made
    }
    return d;
}

Desenhistas::~Desenhistas() {
    {
        std::lock_guard trava(mutex_);
        parar_ = true;
    }
    mudou_.notify_all();
    for (auto& t : threads_) t.join();
}

void Desenhistas::enviar(TrabalhoDesenho trabalho) {
    std::unique_lock trava(mutex_);
    mudou_.wait(trava, [this] { return fila_.size() < threads_.size(); });
    fila_.push_back(std::move(trabalho));
    mudou_.notify_all();
}

void Desenhistas::esperar() {
    std::unique_lock trava(mutex_);
    mudou_.wait(trava, [this] { return fila_.empty() && ocupados_ == 0; });
}

void Desenhistas::trabalhar(Renderizador& renderizador) {
    for (;;) {
        TrabalhoDesenho t;
        {
            std::unique_lock trava(mutex_);
            mudou_.wait(trava, [this] { return parar_ || !fila_.empty(); });
            if (fila_.empty()) return;  // stopping, with nothing more to draw
            t = std::move(fila_.front());
            fila_.pop_front();
            ++ocupados_;
        }
        mudou_.notify_all();
        Imagem imagem = reciclar_ ? reciclar_() : Imagem{};
        renderizador.desenhar(t.vista, t.quadro.get(), t.fechada, imagem);
        pronta_(t, std::move(imagem));
        {
            std::lock_guard trava(mutex_);
            --ocupados_;
        }
        mudou_.notify_all();
    }
}

}  // namespace tevra
