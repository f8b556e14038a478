#include "view/janelas/contexto_gl.h"

#include <GL/gl.h>

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLWidget>
#include <QSurfaceFormat>

#include <memory>

#include "view/gl/cena_gl.h"

using namespace tevra;

namespace {

QSurfaceFormat formatoGL() {
    QSurfaceFormat f;
    f.setRenderableType(QSurfaceFormat::OpenGL);
    f.setProfile(QSurfaceFormat::CompatibilityProfile);
    f.setVersion(2, 1);
    f.setRedBufferSize(8);
    f.setGreenBufferSize(8);
    f.setBlueBufferSize(8);
    f.setDepthBufferSize(32);
    f.setStencilBufferSize(0);
    f.setSwapBehavior(QSurfaceFormat::DoubleBuffer);
    return f;
}

const QString kSemContexto = QStringLiteral(":-)~ hrc == NULL");

}  // namespace

// The window's OpenGL surface; its GL events go to the ContextoGL that made it, as long as
// that one lives.
class PainelGL : public QOpenGLWidget {
public:
    PainelGL(QWidget* janela, ContextoGL* dono) : QOpenGLWidget(janela), dono_(dono) { setFormat(formatoGL()); }
    void desligar() { dono_ = nullptr; }

protected:
    void initializeGL() override {
        if (dono_) dono_->inicializar();
    }
    void paintGL() override {
        if (dono_) dono_->pintar();
    }
    void resizeGL(int w, int h) override {
        if (dono_) dono_->redimensionar(w, h);
    }
    void paintEvent(QPaintEvent* e) override {
        // On screen without a context: the trial context worked but this one could not be made.
        if (!isValid() && dono_ && dono_->eventos_.problema)
            dono_->eventos_.problema(QStringLiteral("contexto"), kSemContexto);
        QOpenGLWidget::paintEvent(e);
    }

private:
    ContextoGL* dono_;
};

std::optional<ContextoGL::Falha> ContextoGL::provar() {
    QOpenGLContext prova;
    prova.setFormat(formatoGL());
    if (!prova.create()) return Falha{QStringLiteral("contexto"), kSemContexto};
    QOffscreenSurface superficie;
    superficie.setFormat(prova.format());
    superficie.create();
    if (!superficie.isValid() || !prova.makeCurrent(&superficie))
        return Falha{QStringLiteral("atual"), QStringLiteral("Could not MakeCurrent")};
    prova.doneCurrent();
    return std::nullopt;
}

ContextoGL::ContextoGL(QWidget* janela, std::vector<std::uint8_t> texels, Eventos eventos)
    : painel_(new PainelGL(janela, this)), texels_(std::move(texels)), eventos_(std::move(eventos)) {
    painel_->setObjectName(QStringLiteral("superficieGL"));
}

ContextoGL::~ContextoGL() {
    // The surface outlives this object (the window deletes it later): from here on its
    // context's end and its GL events reach nothing.
    QObject::disconnect(aoDestruir_);
    if (!painel_) return;  // already gone, and its context with it
    painel_->desligar();
    if (!pronto_) return;
    painel_->makeCurrent();
    desenho_.liberar();
    if (textura_ != 0) glDeleteTextures(1, &textura_);
    painel_->doneCurrent();
}

QOpenGLWidget* ContextoGL::superficie() const { return painel_; }

void ContextoGL::inicializar() {
    pronto_ = true;
    atual_ = true;
    configurarEstadoFixo();
    configurarLuzes();
    textura_ = carregarTextura(texels_);
    atual_ = false;
    aoDestruir_ = connect(
        painel_->context(), &QOpenGLContext::aboutToBeDestroyed, this,
        [this] {
            if (eventos_.perdendo) eventos_.perdendo();
            // What was made in it goes with it (the surface moved to another window, say).
            desenho_.esquecer();
            textura_ = 0;
            pronto_ = false;
        },
        Qt::DirectConnection);
    if (eventos_.criado) eventos_.criado();
}

void ContextoGL::pintar() {
    atual_ = true;
    if (eventos_.pintar) eventos_.pintar();
    atual_ = false;
}

void ContextoGL::redimensionar(int w, int h) {
    const float largura = static_cast<float>(w);
    const float altura = h == 0 ? 1.0f : static_cast<float>(h);
    const qreal escala = painel_->devicePixelRatioF();
    glViewport(0, 0, static_cast<GLsizei>(largura * escala), static_cast<GLsizei>(altura * escala));
}

void ContextoGL::desenhar(const EstadoVista& vista, const QuadroCompacto* quadro, bool fechada) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (quadro)
        desenharCena(vista, textura_, [&] { desenho_.desenhar(*quadro, fechada, vista.preenchido); });
    else
        desenharCena(vista, textura_, std::function<void()>());
    glFlush();
}

bool ContextoGL::comContexto(const std::function<void()>& trabalho) {
    if (!pronto_) return false;
    const bool tornar = !atual_;
    if (tornar) {
        painel_->makeCurrent();
        atual_ = true;
    }
    trabalho();
    if (tornar) {
        painel_->doneCurrent();
        atual_ = false;
    }
    return true;
}
