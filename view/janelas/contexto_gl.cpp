#include "view/janelas/contexto_gl.h"

#include <GL/gl.h>

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLWidget>
#include <QSurfaceFormat>
#include <QThread>

#include <algorithm>
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
    if (const int ate = std::max(maiorLista_, listasReservadas_); ate > 0) glDeleteLists(1, ate);
    if (textura_ != 0) glDeleteTextures(1, &textura_);
    painel_->doneCurrent();
}

QOpenGLWidget* ContextoGL::superficie() const { return painel_; }

void ContextoGL::inicializar() {
    // A context made again (the surface moved to another window) has none of the old lists,
    // nor those the workers were compiling into it. The first context keeps the names
    // reserved for a load that waited for it.
    const bool perdidas = houveContexto_ && (maiorLista_ > 0 || listasReservadas_ > 0);
    if (houveContexto_) {
        maiorLista_ = 0;
        listasReservadas_ = 0;
    }
    houveContexto_ = true;
    pronto_ = true;
    atual_ = true;
    configurarEstadoFixo();
    configurarLuzes();
    textura_ = carregarTextura(texels_);
    atual_ = false;
    aoDestruir_ = connect(
        painel_->context(), &QOpenGLContext::aboutToBeDestroyed, this,
        [this] {
            // The workers' contexts share this one: they stop first.
            if (eventos_.perdendo) eventos_.perdendo();
            pronto_ = false;
        },
        Qt::DirectConnection);
    if (eventos_.criado) eventos_.criado(perdidas);
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

void ContextoGL::desenhar(const EstadoVista& vista, int lista) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    desenharCena(vista, textura_, static_cast<unsigned>(lista));
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

void ContextoGL::compilar(int n, const NosSuperficie& nos, bool fechada) {
    if (!atual_) return;
    const int nome = std::min(n, kMaxQuadroArquivo);
    glNewList(static_cast<GLuint>(nome), GL_COMPILE);
    desenharSuperficie(nos, fechada);
    glEndList();
    maiorLista_ = std::max(maiorLista_, nome);
}

void ContextoGL::listaFeita(int n) { maiorLista_ = std::max(maiorLista_, std::min(n, kMaxQuadroArquivo)); }

void ContextoGL::excluirListas() {
    // Workers may have compiled lists that were never handed over: the whole reserved range goes.
    const int ate = std::max(maiorLista_, listasReservadas_);
    if (ate > 0) comContexto([ate] { glDeleteLists(1, ate); });
    maiorLista_ = 0;
    listasReservadas_ = 0;
}

TrabalhoCarga ContextoGL::trabalhoDosLeitores() {
    TrabalhoCarga t;
    QOpenGLContext* principal = painel_->context();
    if (!QOpenGLContext::supportsThreadedOpenGL() || !principal) return t;
    // Compiling display lists is the slow part of a load: one worker per core.
    t.trabalhadores = std::clamp(QThread::idealThreadCount(), 1, 4);
    // Offscreen surfaces must be made on the GUI thread; the workers' contexts on the workers.
    while (static_cast<int>(superficiesLeitores_.size()) < t.trabalhadores) {
        auto* s = new QOffscreenSurface(nullptr, this);
        s->setFormat(principal->format());
        s->create();
        superficiesLeitores_.push_back(s);
    }
    auto contextos =
        std::make_shared<std::vector<std::unique_ptr<QOpenGLContext>>>(static_cast<std::size_t>(t.trabalhadores));
    const std::vector<QOffscreenSurface*> superficies = superficiesLeitores_;
    const QSurfaceFormat formato = principal->format();
    t.iniciar = [contextos, superficies, principal, formato](int w) {
        auto c = std::make_unique<QOpenGLContext>();
        c->setFormat(formato);
        c->setShareContext(principal);
        const auto i = static_cast<std::size_t>(w);
        if (!c->create() || !superficies[i]->isValid() || !c->makeCurrent(superficies[i])) return false;
        (*contextos)[i] = std::move(c);
        return true;
    };
    t.preparar = [](int, int n, const NosSuperficie& nos, bool fechada) {
        glNewList(static_cast<GLuint>(std::min(n, kMaxQuadroArquivo)), GL_COMPILE);
        desenharSuperficie(nos, fechada);
        glEndList();
        // Complete before the GUI thread's context calls it.
        glFinish();
        return true;
    };
    t.terminar = [contextos](int w) {
        auto& c = (*contextos)[static_cast<std::size_t>(w)];
        if (!c) return;
        c->doneCurrent();
        c.reset();
    };
    return t;
}
