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
#include "view/quadros/serie_quadros.h"

class PainelGL;
class QOffscreenSurface;
class QOpenGLWidget;
class QWidget;

// The OpenGL side of the animation window: the surface and its context, the texture, the
// display lists (one a frame, named by the frame number) and the workers' contexts that
// share them. Everything here runs on the GUI thread except what the workers' job does.
//
// Destroying it ends every tie to the window: the lists and the texture go while the
// context still lives, and the context's later destruction (with the surface, a child of
// the window) calls nothing back.
class ContextoGL : public QObject {
public:
    // What the window does at the events of its surface.
    struct Eventos {
        std::function<void(bool listasPerdidas)> criado;  // the context exists (again)
        std::function<void()> perdendo;                   // it is about to go: the workers stop first
        std::function<void()> pintar;                     // one picture, the context current
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
    // The context exists: lists can be compiled and workers can share it.
    bool pronto() const { return pronto_; }

    // Runs `trabalho` with the context current; false (and nothing run) without a context.
    bool comContexto(const std::function<void()>& trabalho);
    // Compiles list n from `nos`; only inside comContexto.
    void compilar(int n, const tevra::NosSuperficie& nos, bool fechada);
    // A worker compiled list n.
    void listaFeita(int n);
    // Names 1 .. ate may hold lists of the series being loaded, handed over or not.
    void reservar(int ate) { listasReservadas_ = ate; }
    void excluirListas();
    // Reading workers that compile each frame's list in a context of their own sharing
    // the window's; an empty job where the platform cannot do that.
    tevra::TrabalhoCarga trabalhoDosLeitores();

    // One picture: cleared, the scene with list `lista` (0: none), flushed. Inside `pintar`.
    void desenhar(const tevra::EstadoVista& vista, int lista);

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
    bool houveContexto_ = false;
    bool atual_ = false;
    unsigned textura_ = 0;
    int maiorLista_ = 0;
    int listasReservadas_ = 0;
    std::vector<QOffscreenSurface*> superficiesLeitores_;
};
