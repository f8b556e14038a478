#pragma once

#include <memory>
#include <string>

#include "view/imagem/imagem.h"

namespace tevra {

// An OpenGL compatibility context of Mesa's surfaceless EGL platform, drawing into an
// off-screen framebuffer (24-bit colour, 24-bit depth) of largura x altura pixels: no
// display, no window system, no toolkit.
class ContextoEGL {
public:
    // The context, current on the calling thread; null with the reason in `erro`.
    static std::unique_ptr<ContextoEGL> criar(int largura, int altura, std::string& erro);
    ~ContextoEGL();
    ContextoEGL(const ContextoEGL&) = delete;
    ContextoEGL& operator=(const ContextoEGL&) = delete;

    // Makes it current on the calling thread (it is current on one thread at a time).
    void tornarAtual();
    // Releases it from the calling thread.
    void liberar();

    int largura() const { return largura_; }
    int altura() const { return altura_; }

    // The framebuffer as drawn, rows from the top (OpenGL gives them from the bottom).
    void ler(Imagem& destino);
    // Whether ler has Mesa invert the rows as it reads them, and a way to turn that off (or
    // on again where Mesa can), for comparing it with the rows turned over by ler itself.
    bool invertendoAoLer() const;
    void inverterAoLer(bool sim);

    struct Estado;

private:
    explicit ContextoEGL(std::unique_ptr<Estado> estado, int largura, int altura);
    std::unique_ptr<Estado> estado_;
    int largura_;
    int altura_;
};

}  // namespace tevra
