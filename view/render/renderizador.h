#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "view/gl/estado_vista.h"
#include "view/imagem/imagem.h"
#include "view/quadros/leitor_quadros.h"

namespace tevra {

class ContextoEGL;

// Pictures of frames without a screen, drawn by the animation window's own code (fixed
// state, lights, material, texture, projection, camera) into an off-screen framebuffer.
class Renderizador {
public:
    // The context of largura x altura pixels with the window's one-time set-up and the
    // 256 x 256 RGBA texture; null with the reason in `erro`.
    static std::unique_ptr<Renderizador> criar(int largura, int altura, const std::vector<std::uint8_t>& texels,
                                               std::string& erro);
    ~Renderizador();

    // One picture of the surface in `nos` (empty: none) seen with `vista`, as the window
    // shows it; valid until the next call. On the thread that calls it, the context is current.
    const Imagem& desenhar(const EstadoVista& vista, const NosSuperficie& nos, bool fechada);

    int largura() const;
    int altura() const;

private:
    Renderizador() = default;
    std::unique_ptr<ContextoEGL> contexto_;
    unsigned textura_ = 0;
    unsigned lista_ = 0;
    Imagem imagem_;
};

}  // namespace tevra
