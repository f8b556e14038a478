#include "view/janelas/render_form.h"

#include <GL/gl.h>

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMouseEvent>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QPainter>
#include <QProgressBar>
#include <QStatusBar>
#include <QSurfaceFormat>
#include <QThread>
#include <QToolBar>
#include <QToolButton>
#include <QWindow>

#include <algorithm>

#include "base/tevra_home.h"
#include "view/gl/cena_gl.h"
#include "view/janelas/imagens.h"
#include "view/gl/malha.h"

using namespace tevra;

namespace {

// A slice of loading work on the GUI thread before the window handles its events again.
constexpr qint64 kFatiaMs = 30;
// The pause after each played frame.
constexpr int kPausaMs = 100;

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

// Platforms whose windows cannot hold an OpenGL widget.
bool plataformaSemOpenGL() {
    const QString p = QGuiApplication::platformName();
    return p == QLatin1String("offscreen") || p == QLatin1String("minimal");
}

QString titulo() { return QGuiApplication::applicationDisplayName(); }

}  // namespace

// The surface when there is no OpenGL: black, and each of its paints counts as a picture so
// that playback and the controls behave as with OpenGL.
class PainelSemGL : public QWidget {
public:
    explicit PainelSemGL(TRenderForm* form) : QWidget(form), form_(form) {
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter(this).fillRect(rect(), Qt::black);
        form_->aposImagem();
    }

private:
    TRenderForm* form_;
};

PainelGL::PainelGL(TRenderForm* form) : QOpenGLWidget(form), form_(form) { setFormat(formatoGL()); }

void PainelGL::paintEvent(QPaintEvent* e) {
    // On screen without a context: the trial context worked but this one could not be made.
    if (!isValid()) form_->informarUmaVez(QStringLiteral("contexto"), QStringLiteral(":-)~ hrc == NULL"));
    QOpenGLWidget::paintEvent(e);
}

void PainelGL::initializeGL() { form_->inicializarGL(); }
void PainelGL::paintGL() { form_->pintarGL(); }
void PainelGL::resizeGL(int w, int h) { form_->redimensionarGL(w, h); }

TRenderForm::TRenderForm(QWidget* parent, Superficie superficie) : QMainWindow(parent), superficie_(superficie) {
    setObjectName(QStringLiteral("TRenderForm"));
    setWindowTitle(QStringLiteral("Animation"));
    move(338, 139);
    resize(599, 560);
    setFocusPolicy(Qt::StrongFocus);
    setContextMenuPolicy(Qt::PreventContextMenu);

    relogio_.setSingleShot(true);
    relogio_.setInterval(kPausaMs);
    relogio_.setTimerType(Qt::PreciseTimer);
    connect(&relogio_, &QTimer::timeout, this, &TRenderForm::passoDaReproducao);
    avisoPendente_ = std::make_shared<std::atomic<bool>>(false);

    criarControles();

    // FormCreate: the context, the texture image, then the play button as when paused.
    if (superficie_ == Superficie::Automatica && !plataformaSemOpenGL()) verificarOpenGL();
    if (painelGL_) {
        setCentralWidget(painelGL_);
        lerTextura();
    } else {
        setCentralWidget(new PainelSemGL(this));
    }
    centralWidget()->setFocusPolicy(Qt::NoFocus);

    if (const QString falhas = imagens::instalarGlifos(); !falhas.isEmpty())
        informarUmaVez(QStringLiteral("instalar"),
                       QStringLiteral("The tool-bar images could not be written to %1.").arg(falhas));
    reprodutor_.tocando = false;
    atualizarBotaoPlay();
    mostrarQuadro();
}

TRenderForm::~TRenderForm() {
    carga_.reset();
    relogio_.stop();
    if (painelGL_ && contextoPronto_) {
        painelGL_->makeCurrent();
        if (const int ate = std::max(maiorLista_, listasReservadas_); ate > 0) glDeleteLists(1, ate);
        if (textura_ != 0) glDeleteTextures(1, &textura_);
        painelGL_->doneCurrent();
    }
}

void TRenderForm::criarControles() {
    ToolBar1 = new QToolBar(this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setMovable(false);
    ToolBar1->setFloatable(false);
    ToolBar1->setFixedHeight(34);
    ToolBar1->setIconSize(QSize(24, 24));
    ToolBar1->toggleViewAction()->setVisible(false);
    addToolBar(Qt::TopToolBarArea, ToolBar1);

    auto botao = [this](const char* nome, const char* glifo, const QString& dica, void (TRenderForm::*acao)()) {
        auto* b = new QToolButton(ToolBar1);
        b->setObjectName(QString::fromLatin1(nome));
        b->setAutoRaise(true);
        b->setFixedSize(30, 30);
        b->setIconSize(QSize(24, 24));
        b->setFocusPolicy(Qt::NoFocus);
        b->setToolTip(dica);
        b->setIcon(QIcon(imagens::pixmapDoGlifo(QImage(imagens::glifoEmbutido(glifo)))));
        connect(b, &QToolButton::clicked, this, acao);
        ToolBar1->addWidget(b);
        return b;
    };
    SpeedButton3 = botao("SpeedButton3", imagens::kGlifoPlay, tr("Play"), &TRenderForm::SpeedButton3Click);
    SpeedButton4 = botao("SpeedButton4", imagens::kGlifoParar, tr("Stop"), &TRenderForm::SpeedButton4Click);
    SpeedButton2 = botao("SpeedButton2", imagens::kGlifoInicio, tr("First frame"), &TRenderForm::SpeedButton2Click);
    SpeedButton1 = botao("SpeedButton1", imagens::kGlifoFim, tr("Last frame"), &TRenderForm::SpeedButton1Click);
    SpeedButton5 = botao("SpeedButton5", imagens::kGlifoVoltar, tr("Previous frame"), &TRenderForm::SpeedButton5Click);
    SpeedButton6 = botao("SpeedButton6", imagens::kGlifoAvancar, tr("Next frame"), &TRenderForm::SpeedButton6Click);
    SpeedButton5->setEnabled(false);
    SpeedButton6->setEnabled(false);

    QStatusBar* barra = statusBar();
    barra->setObjectName(QStringLiteral("StatusBar1"));
    barra->setFixedHeight(19);
    progresso_ = new QProgressBar(barra);
    progresso_->setObjectName(QStringLiteral("progressoCarga"));
    progresso_->setMaximumHeight(15);
    progresso_->setMaximumWidth(180);
    progresso_->setFormat(tr("Loading %v / %m"));
    progresso_->hide();
    barra->addPermanentWidget(progresso_);
}

void TRenderForm::verificarOpenGL() {
    // The window's own context is made when it is first shown; a trial context with the same
    // format tells now whether that can work.
    QOpenGLContext prova;
    prova.setFormat(formatoGL());
    if (!prova.create()) {
        informarUmaVez(QStringLiteral("contexto"), QStringLiteral(":-)~ hrc == NULL"));
        return;
    }
    QOffscreenSurface superficie;
    superficie.setFormat(prova.format());
    superficie.create();
    if (!superficie.isValid() || !prova.makeCurrent(&superficie)) {
        informarUmaVez(QStringLiteral("atual"), QStringLiteral("Could not MakeCurrent"));
        return;
    }
    prova.doneCurrent();
    painelGL_ = new PainelGL(this);
    painelGL_->setObjectName(QStringLiteral("superficieGL"));
}

void TRenderForm::lerTextura() {
    const QString arquivo = imagens::localizarTextura();
    QString erro;
    const QImage img = imagens::lerImagem(arquivo, erro);
    if (img.isNull()) {
        informarUmaVez(QStringLiteral("textura"),
                       QStringLiteral("The texture image %1 could not be read (%2); the surface is drawn without it.")
                           .arg(arquivo, erro));
        texels_ = montarTextura(0, 0, [](int, int) { return 0u; });
        return;
    }
    texels_ = imagens::texelsDaImagem(img);
}

void TRenderForm::informarUmaVez(const QString& chave, const QString& mensagem) {
    if (informados_.contains(chave)) return;
    informados_.insert(chave);
    qWarning("%s", qPrintable(mensagem));
    emit problemaInformado(mensagem);
    // Not modal: the window goes on working behind it.
    auto* caixa = new QMessageBox(QMessageBox::Warning, titulo(), mensagem, QMessageBox::Ok);
    caixa->setAttribute(Qt::WA_DeleteOnClose);
    caixa->setModal(false);
    caixa->show();
}

// ---- Showing and loading -------------------------------------------------------------

void TRenderForm::setVisible(bool visivel) {
    QMainWindow::setVisible(visivel);
    if (!visivel) {
        // A picture asked for but never painted would hold playback: it goes on unseen.
        if (reprodutor_.tocando && !relogio_.isActive()) aposImagem();
        return;
    }
    if (!semRecarga_) carregarQuadros();
    setFocus();
}

void TRenderForm::carregarQuadros() {
    aoVivo_ = false;
    pendentesAoVivo_.clear();
    relogio_.stop();
    iniciarSerie(numQuadros, gradeI, gradeJ);
    reprodutor_.carregado(serie_.numQuadros());
    listasReservadas_ = serie_.arquivosASerLidos();
    iniciarCarregador();
    atualizarBotaoPlay();
    mostrarQuadro();
    pedirImagem();
}

void TRenderForm::iniciarSerie(int quadros, int gi, int gj) {
    carga_.reset();
    cargaPendente_ = false;
    progresso_->hide();
    excluirListas();
    serieRecusada_ = !serie_.iniciar(quadros, gi, gj);
    if (serieRecusada_)
        informarUmaVez(QStringLiteral("grade %1 %2").arg(gi).arg(gj),
                       QStringLiteral("A grid of %1 x %2 nodes is too large to show; the animation stays empty.")
                           .arg(gi)
                           .arg(gj));
}

void TRenderForm::iniciarCarregador() {
    const int arquivos = serie_.arquivosASerLidos();
    if (arquivos == 0 || serieRecusada_) {
        concluirCarga();
        return;
    }
    // The workers' contexts share the window's: it has to exist first.
    if (painelGL_ && !contextoPronto_) {
        cargaPendente_ = true;
        progresso_->setRange(0, serie_.numQuadros());
        progresso_->setValue(0);
        progresso_->show();
        return;
    }
    cargaPendente_ = false;
    std::weak_ptr<std::atomic<bool>> aviso = avisoPendente_;
    carga_ = std::make_unique<CarregadorSerie>(
        tevra::home::tmp(), arquivos, serie_.gradeI(), serie_.gradeJ(),
        [this, aviso] {
            // Worker thread: one wake-up message at a time.
            auto a = aviso.lock();
            if (!a || a->exchange(true)) return;
            QMetaObject::invokeMethod(this, [this] { processarCarga(); }, Qt::QueuedConnection);
        },
        painelGL_ ? trabalhoGL() : CarregadorSerie::Trabalho{});
    progresso_->setRange(0, serie_.numQuadros());
    progresso_->setValue(0);
    progresso_->show();
}

CarregadorSerie::Trabalho TRenderForm::trabalhoGL() {
    CarregadorSerie::Trabalho t;
    if (!QOpenGLContext::supportsThreadedOpenGL() || !painelGL_->context()) return t;
    // Compiling display lists is the slow part of a load: one worker per core.
    t.trabalhadores = std::clamp(QThread::idealThreadCount(), 1, 4);
    // Offscreen surfaces must be made on the GUI thread; the workers' contexts on the workers.
    while (static_cast<int>(superficiesTrabalho_.size()) < t.trabalhadores) {
        auto* s = new QOffscreenSurface(nullptr, this);
        s->setFormat(painelGL_->context()->format());
        s->create();
        superficiesTrabalho_.push_back(s);
    }
    QOpenGLContext* principal = painelGL_->context();
    auto contextos = std::make_shared<std::vector<std::unique_ptr<QOpenGLContext>>>(
        static_cast<std::size_t>(t.trabalhadores));
    const std::vector<QOffscreenSurface*> superficies = superficiesTrabalho_;
    const QSurfaceFormat formato = principal->format();
    t.iniciar = [contextos, superficies, principal, formato](int w) {
        auto c = std::make_unique<QOpenGLContext>();
        c->setFormat(formato);
        c->setShareContext(principal);
        if (!c->create() || !superficies[static_cast<std::size_t>(w)]->isValid() ||
            !c->makeCurrent(superficies[static_cast<std::size_t>(w)]))
            return false;
        (*contextos)[static_cast<std::size_t>(w)] = std::move(c);
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

void TRenderForm::agendarCarga() {
    if (cargaAgendada_) return;
    cargaAgendada_ = true;
    QTimer::singleShot(0, this, [this] {
        cargaAgendada_ = false;
        processarCarga();
    });
}

void TRenderForm::processarCarga() {
    avisoPendente_->store(false);
    if (!carga_) return;
    // The lists need the context: without one yet, the load waits for inicializarGL.
    if (painelGL_ && !contextoPronto_) return;
    QElapsedTimer fatia;
    fatia.start();
    bool restaTrabalho = false;
    auto lote = [&] {
        while (auto q = carga_->pegar()) {
            if (serie_.aceitar(q->n, q->nos, q->resultado)) {
                if (q->preparado)
                    maiorLista_ = std::max(maiorLista_, std::min(q->n, kMaxQuadroArquivo));
                else
                    compilarQuadro(q->n);
            }
            carga_->devolver(std::move(q->nos));
            if (fatia.elapsed() >= kFatiaMs) {
                restaTrabalho = true;
                break;
            }
        }
    };
    if (painelGL_) {
        if (!comContexto(lote)) return;
    } else {
        lote();
    }
    progresso_->setValue(serie_.quadrosProntos());
    if (carga_->acabou()) {
        concluirCarga();
        atualizarBotaoPlay();
        mostrarQuadro();
    } else if (restaTrabalho) {
        agendarCarga();
    }
    if (serie_.imagemDoQuadro(reprodutor_.quadroAtual) != imagemNaTela_) pedirImagem();
}

void TRenderForm::concluirCarga() {
    carga_.reset();
    serie_.concluir();
    progresso_->hide();
    emit quadrosCarregados();
}

bool TRenderForm::comContexto(const std::function<void()>& trabalho) {
    if (!painelGL_ || !contextoPronto_) return false;
    const bool tornar = !contextoAtual_;
    if (tornar) {
        painelGL_->makeCurrent();
        contextoAtual_ = true;
    }
    trabalho();
    if (tornar) {
        painelGL_->doneCurrent();
        contextoAtual_ = false;
    }
    return true;
}

void TRenderForm::compilarQuadro(int n) {
    if (!contextoAtual_) return;
    const int nome = std::min(n, kMaxQuadroArquivo);
    glNewList(static_cast<GLuint>(nome), GL_COMPILE);
    desenharSuperficie(serie_.nos(), serie_.superficieFechada());
    glEndList();
    maiorLista_ = std::max(maiorLista_, nome);
}

void TRenderForm::excluirListas() {
    // Workers may have compiled lists that were never handed over: the whole reserved range goes.
    const int ate = std::max(maiorLista_, listasReservadas_);
    if (ate > 0) comContexto([ate] { glDeleteLists(1, ate); });
    maiorLista_ = 0;
    listasReservadas_ = 0;
}

// ---- Animation on-the-fly --------------------------------------------------------------

void TRenderForm::iniciarAoVivo(int gi, int gj) {
    relogio_.stop();
    pendentesAoVivo_.clear();
    gradeI = gi;
    gradeJ = gj;
    numQuadros = 0;
    iniciarSerie(0, gi, gj);
    aoVivo_ = true;
    lidoAoVivo_.alocar(serie_.gradeI(), serie_.gradeJ());
    reprodutor_.carregado(0);
    atualizarBotaoPlay();
    mostrarQuadro();
    if (!isVisible()) {
        semRecarga_ = true;
        show();
        semRecarga_ = false;
    }
    raise();
    pedirImagem();
}

void TRenderForm::quadroAoVivo(int n) {
    if (!aoVivo_ || n < 1) return;
    pendentesAoVivo_.push_back(n);
    if (aoVivoAgendado_) return;
    aoVivoAgendado_ = true;
    QTimer::singleShot(0, this, &TRenderForm::processarAoVivo);
}

void TRenderForm::processarAoVivo() {
    aoVivoAgendado_ = false;
    if (!aoVivo_) {
        pendentesAoVivo_.clear();
        return;
    }
    if (painelGL_ && !contextoPronto_) return;  // resumed by inicializarGL
    QElapsedTimer fatia;
    fatia.start();
    auto lote = [&] {
        while (!pendentesAoVivo_.empty()) {
            const int n = pendentesAoVivo_.front();
            pendentesAoVivo_.pop_front();
            // Follow the run while the newest frame is on screen; stay where the user went otherwise.
            const bool seguir = !reprodutor_.tocando && reprodutor_.quadroAtual >= reprodutor_.numQuadros;
            if (lidoAoVivo_.numNos() != serie_.nos().numNos() || lidoAoVivo_.gradeJ != serie_.gradeJ())
                lidoAoVivo_.alocar(serie_.gradeI(), serie_.gradeJ());
            const ResultadoLeitura r = lerQuadro(caminhoQuadro(n), n == 1, lidoAoVivo_);
            if (serie_.aceitar(n, lidoAoVivo_, r)) compilarQuadro(n);
            numQuadros = serie_.numQuadros();
            reprodutor_.numQuadros = numQuadros;
            if (seguir) reprodutor_.quadroAtual = numQuadros;
            if (fatia.elapsed() >= kFatiaMs) break;
        }
    };
    if (painelGL_)
        comContexto(lote);
    else
        lote();
    if (!pendentesAoVivo_.empty() && !aoVivoAgendado_) {
        aoVivoAgendado_ = true;
        QTimer::singleShot(0, this, &TRenderForm::processarAoVivo);
    }
    mostrarQuadro();
    pedirImagem();
}

// ---- Pictures and the playback pace ------------------------------------------------------

void TRenderForm::inicializarGL() {
    const bool listasPerdidas = maiorLista_ > 0 || (carga_ != nullptr);
    contextoPronto_ = true;
    contextoAtual_ = true;
    configurarEstadoFixo();
    configurarLuzes();
    textura_ = carregarTextura(texels_);
    maiorLista_ = 0;
    listasReservadas_ = 0;
    contextoAtual_ = false;
    connect(painelGL_->context(), &QOpenGLContext::aboutToBeDestroyed, this,
            [this] {
                // The workers' contexts share this one: they stop first.
                carga_.reset();
                contextoPronto_ = false;
            },
            Qt::DirectConnection);
    if (listasPerdidas && !aoVivo_) {
        // A new context (the surface changed windows): the lists went with the old one.
        const int quadro = reprodutor_.quadroAtual;
        QTimer::singleShot(0, this, [this, quadro] {
            carregarQuadros();
            reprodutor_.quadroAtual = std::min(quadro, std::max(reprodutor_.numQuadros, 1));
            mostrarQuadro();
        });
        return;
    }
    if (cargaPendente_) iniciarCarregador();
    if (!pendentesAoVivo_.empty() && !aoVivoAgendado_) {
        aoVivoAgendado_ = true;
        QTimer::singleShot(0, this, &TRenderForm::processarAoVivo);
    }
}

void TRenderForm::pintarGL() {
    contextoAtual_ = true;
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    imagemNaTela_ = serie_.imagemDoQuadro(reprodutor_.quadroAtual);
    desenharCena(vista_, textura_, static_cast<unsigned>(imagemNaTela_));
    glFlush();
    contextoAtual_ = false;
    aposImagem();
}

void TRenderForm::redimensionarGL(int w, int h) {
    larguraCliente_ = static_cast<float>(w);
    alturaCliente_ = h == 0 ? 1.0f : static_cast<float>(h);
    const qreal escala = painelGL_->devicePixelRatioF();
    glViewport(0, 0, static_cast<GLsizei>(larguraCliente_ * escala), static_cast<GLsizei>(alturaCliente_ * escala));
}

void TRenderForm::pedirImagem() {
    QWidget* s = centralWidget();
    if (s && s->isVisible() && windowHandle() && windowHandle()->isExposed())
        s->update();
    else
        aposImagem();  // nothing on screen to wait for: playback goes on without pictures
}

void TRenderForm::aposImagem() {
    if (!reprodutor_.tocando) return;
    if (reprodutor_.aposImagem()) {
        if (!relogio_.isActive()) relogio_.start();
    } else {
        atualizarBotaoPlay();
    }
    mostrarQuadro();
}

void TRenderForm::passoDaReproducao() {
    if (!reprodutor_.tocando) return;
    if (reprodutor_.quadroAtual < reprodutor_.numQuadros) {
        if (reprodutor_.quadroAtual >= serie_.quadrosProntos()) {
            relogio_.start();  // the next frame is still being loaded
            return;
        }
        ++reprodutor_.quadroAtual;
        mostrarQuadro();
    }
    pedirImagem();
}

// ---- Controls ------------------------------------------------------------------------

void TRenderForm::atualizarBotaoPlay() {
    const char* nome = reprodutor_.tocando ? imagens::kGlifoPausa : imagens::kGlifoPlay;
    const QString arquivo = QString::fromStdString((tevra::home::imagens() / nome).string());
    QString erro;
    QImage img = imagens::lerImagem(arquivo, erro);
    if (img.isNull()) {
        informarUmaVez(arquivo,
                       QStringLiteral("The tool-bar image %1 could not be read (%2); the built-in one is shown instead.")
                           .arg(arquivo, erro));
        img = QImage(imagens::glifoEmbutido(nome));
    }
    SpeedButton3->setIcon(QIcon(imagens::pixmapDoGlifo(img)));
    SpeedButton3->setToolTip(reprodutor_.tocando ? tr("Pause") : tr("Play"));
    glifoPlay_ = QString::fromLatin1(nome);
    SpeedButton5->setEnabled(!reprodutor_.tocando);
    SpeedButton6->setEnabled(!reprodutor_.tocando);
}

void TRenderForm::mostrarQuadro() {
    statusBar()->showMessage(QStringLiteral("Quadro: %1").arg(reprodutor_.quadroAtual));
}

void TRenderForm::SpeedButton3Click() {
    reprodutor_.playPause();
    relogio_.stop();
    atualizarBotaoPlay();
    pedirImagem();
}

void TRenderForm::SpeedButton4Click() {
    reprodutor_.parar();
    relogio_.stop();
    atualizarBotaoPlay();
    mostrarQuadro();
    pedirImagem();
}

void TRenderForm::SpeedButton2Click() {
    reprodutor_.irParaPrimeiro();
    relogio_.stop();
    atualizarBotaoPlay();
    mostrarQuadro();
    pedirImagem();
}

void TRenderForm::SpeedButton1Click() {
    reprodutor_.irParaUltimo();
    relogio_.stop();
    atualizarBotaoPlay();
    mostrarQuadro();
    pedirImagem();
}

void TRenderForm::SpeedButton5Click() {
    if (!reprodutor_.voltar()) return;
    relogio_.stop();
    mostrarQuadro();
    pedirImagem();
}

void TRenderForm::SpeedButton6Click() {
    if (!reprodutor_.avancar()) return;
    relogio_.stop();
    mostrarQuadro();
    pedirImagem();
}

void TRenderForm::FormKeyDown(int tecla, Qt::KeyboardModifiers modificadores) {
    // Digits of the main row only (with Shift they arrive as their symbols); plus and minus
    // of the numeric pad only.
    const bool tecladoNumerico = modificadores.testFlag(Qt::KeypadModifier);
    const bool um = !tecladoNumerico && (tecla == Qt::Key_1 || tecla == Qt::Key_Exclam);
    const bool dois = !tecladoNumerico && (tecla == Qt::Key_2 || tecla == Qt::Key_At);
    EstadoVista& v = vista_;

    // Every matching row in order; M matches two.
    if (tecla == Qt::Key_L) v.iluminacaoLigada = !v.iluminacaoLigada;
    if (um) {
        if (v.selecionandoLuz) {
            v.luzSelecionada = 0;
            v.selecionandoLuz = false;
        } else {
            v.marcaLuz0 = !v.marcaLuz0;
        }
    }
    if (dois) {
        if (v.selecionandoLuz) {
            v.luzSelecionada = 1;
            v.selecionandoLuz = false;
        } else {
            v.marcaLuz1 = !v.marcaLuz1;
        }
    }
    if (tecla == Qt::Key_M) v.selecionandoLuz = true;
    if (v.iluminacaoLigada) {
        Vetor3& luz = v.luzSelecionadaPos();
        if (tecla == Qt::Key_Y) luz.x -= 0.3;
        if (tecla == Qt::Key_U) luz.x += 0.3;
        if (tecla == Qt::Key_H) luz.y -= 0.3;
        if (tecla == Qt::Key_J) luz.y += 0.3;
        if (tecla == Qt::Key_N) luz.z -= 0.3;
        if (tecla == Qt::Key_M) luz.z += 0.3;
    }
    if (tecla == Qt::Key_T) v.texturaLigada = !v.texturaLigada;
    if (tecla == Qt::Key_F) v.preenchido = !v.preenchido;
    if (tecla == Qt::Key_Up) v.rotacao.x += 3;
    if (tecla == Qt::Key_Down) v.rotacao.x -= 3;
    if (tecla == Qt::Key_Left) v.rotacao.y -= 3;
    if (tecla == Qt::Key_Right) v.rotacao.y += 3;
    if (tecla == Qt::Key_PageUp) v.rotacao.z += 1;
    if (tecla == Qt::Key_PageDown) v.rotacao.z -= 1;
    if (tecla == Qt::Key_Q) v.translacao.x -= 1;
    if (tecla == Qt::Key_W) v.translacao.x += 1;
    if (tecla == Qt::Key_A) v.translacao.y -= 1;
    if (tecla == Qt::Key_S) v.translacao.y += 1;
    if (tecla == Qt::Key_Z) v.translacao.z -= 1;
    if (tecla == Qt::Key_X) v.translacao.z += 1;
    if (tecladoNumerico && tecla == Qt::Key_Plus) {
        v.escala.x += 0.01;
        v.escala.y += 0.01;
        v.escala.z += 0.01;
    }
    if (tecladoNumerico && tecla == Qt::Key_Minus) {
        v.escala.x -= 0.01;
        v.escala.y -= 0.01;
        v.escala.z -= 0.01;
    }
    if (tecla == Qt::Key_V) v.perspectiva = !v.perspectiva;
    if (tecla == Qt::Key_Escape) {
        reprodutor_.reiniciar();
        relogio_.stop();
        atualizarBotaoPlay();
        mostrarQuadro();
    }
    pedirImagem();
}

void TRenderForm::FormMouseDown(QPoint ponto) {
    QMessageBox x(QMessageBox::NoIcon, titulo(), QString::number(ponto.x()), QMessageBox::Ok, this);
    x.exec();
    QMessageBox y(QMessageBox::NoIcon, titulo(), QString::number(ponto.y()), QMessageBox::Ok, this);
    y.exec();
}

bool TRenderForm::event(QEvent* e) {
    // Status tips of the tool bar would wipe the frame counter.
    if (e->type() == QEvent::StatusTip) return true;
    return QMainWindow::event(e);
}

void TRenderForm::changeEvent(QEvent* e) {
    QMainWindow::changeEvent(e);
    if (e->type() == QEvent::WindowStateChange && isMinimized() && reprodutor_.tocando && !relogio_.isActive())
        aposImagem();
}

void TRenderForm::keyPressEvent(QKeyEvent* e) { FormKeyDown(e->key(), e->modifiers()); }

void TRenderForm::mousePressEvent(QMouseEvent* e) {
    const QPoint p = e->position().toPoint();
    if (!centralWidget() || !centralWidget()->geometry().contains(p)) {
        QMainWindow::mousePressEvent(e);
        return;
    }
    FormMouseDown(p);
}
