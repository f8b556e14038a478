#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "view/gl/estado_vista.h"
#include "view/gl/superficie_gl.h"
#include "view/imagem/imagem.h"
#include "view/quadros/quadro_compacto.h"

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

    // One picture of `quadro` (null: no surface) seen with `vista`, as the window shows it:
    // the window's own DesenhoSuperficie under its desenharCena. Valid until the next call;
    // the context becomes current on the calling thread.
    const Imagem& desenhar(const EstadoVista& vista, const QuadroCompacto* quadro, bool fechada);

    int largura() const;
    int altura() const;

private:
    Renderizador() = default;
    std::unique_ptr<ContextoEGL> contexto_;
    unsigned textura_ = 0;
    DesenhoSuperficie desenho_;
    Imagem imagem_;
};

}  // namespace tevra
