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
    return r;
}

Renderizador::~Renderizador() {
    if (!contexto_) return;
    contexto_->tornarAtual();
    desenho_.liberar();
    if (textura_ != 0) glDeleteTextures(1, &textura_);
    contexto_->liberar();
}

int Renderizador::largura() const { return contexto_->largura(); }
int Renderizador::altura() const { return contexto_->altura(); }

const Imagem& Renderizador::desenhar(const EstadoVista& vista, const QuadroCompacto* quadro, bool fechada) {
    contexto_->tornarAtual();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (quadro)
        desenharCena(vista, textura_, [&] { desenho_.desenhar(*quadro, fechada, vista.preenchido); });
    else
        desenharCena(vista, textura_, std::function<void()>());
    glFinish();
    contexto_->ler(imagem_);
    return imagem_;
}

}  // namespace tevra
