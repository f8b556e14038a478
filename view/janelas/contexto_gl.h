#pragma once

#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "view/gl/estado_vista.h"
#include "view/gl/superficie_gl.h"

class PainelGL;
class QOpenGLWidget;
class QWidget;

// The OpenGL side of the animation window: the surface and its context, the texture and
// the drawing of a frame. Everything here runs on the GUI thread.
//
// Destroying it ends every tie to the window: what it made in the context goes while the
// context still lives, and the context's later destruction (with the surface, a child of
// the window) calls nothing back.
class ContextoGL : public QObject {
public:
    // What the window does at the events of its surface.
    struct Eventos {
        std::function<void()> criado;    // the context exists (again)
        std::function<void()> perdendo;  // it is about to go
        std::function<void()> pintar;    // one picture, the context current
        std::function<void(const QString& chave, const QString& mensagem)> problema;
    };
    struct Falha {
        QString chave;
        QString mensagem;
    };

    // Whether a context of the window's format can be made and made current on this
    // platform; the window's own is made only when it is first shown.
    static std::optional<Falha> provar();

    ContextoGL(QWidget* janela, std::vector<std::uint8_t> texels, Eventos eventos);
    ~ContextoGL() override;

    QOpenGLWidget* superficie() const;
    // The context exists.
    bool pronto() const { return pronto_; }

    // Runs `trabalho` with the context current; false (and nothing run) without a context.
    bool comContexto(const std::function<void()>& trabalho);

    // One picture: cleared, the scene with the frame `quadro` (null: none), flushed.
    // Inside `pintar`.
    void desenhar(const tevra::EstadoVista& vista, const tevra::QuadroCompacto* quadro, bool fechada);

private:
    friend class PainelGL;
    void inicializar();
    void pintar();
    void redimensionar(int w, int h);

    QPointer<PainelGL> painel_;
    std::vector<std::uint8_t> texels_;
    Eventos eventos_;
    QMetaObject::Connection aoDestruir_;
    bool pronto_ = false;
    bool atual_ = false;
    unsigned textura_ = 0;
    tevra::DesenhoSuperficie desenho_;
};
