#include "view/render/renderizador.h"

#include <GL/gl.h>

#include "view/gl/cena_gl.h"
#include "view/render/contexto_egl.h"

namespace tevra {

std::unique_ptr<Renderizador> Renderizador::criar(int largura, int altura, const std::vector<std::uint8_t>& texels,
                                                  std::string& erro) {
    std::unique_ptr<Renderizador> r(new Renderizador);
    r->contexto_ = ContextoEGL::criar(largura, altura, erro);
    if (!r->contexto_) return nullptr;
    // What the window does once, when its context is made.
    configurarEstadoFixo();
    configurarLuzes();
    r->textura_ = carregarTextura(texels);
    r->lista_ = glGenLists(1);
    return r;
}

Renderizador::~Renderizador() {
    if (!contexto_) return;
    contexto_->tornarAtual();
    if (lista_ != 0) glDeleteLists(lista_, 1);
    if (textura_ != 0) glDeleteTextures(1, &textura_);
    contexto_->liberar();
}

int Renderizador::largura() const { return contexto_->largura(); }
int Renderizador::altura() const { return contexto_->altura(); }

const Imagem& Renderizador::desenhar(const EstadoVista& vista, const NosSuperficie& nos, bool fechada) {
    contexto_->tornarAtual();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (vista.preenchido) {
        // Each frame is drawn once: straight, rather than compiled into a display list first
        // as the window does, which costs more than the drawing. Filled triangles cover the
        // same pixels however the list stores them.
        desenharCena(vista, textura_, [&] { desenharSuperficie(nos, fechada); });
    } else {
        // Outlines are not: Mesa's lists store the strips in an order of their own, and a line
        // drawn the other way round lights other pixels. They go through a list, as the window's.
        glNewList(lista_, GL_COMPILE);
        desenharSuperficie(nos, fechada);
        glEndList();
        desenharCena(vista, textura_, lista_);
    }
    glFinish();
    contexto_->ler(imagem_);
    return imagem_;
}

}  // namespace tevra
