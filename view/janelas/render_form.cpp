#include "view/janelas/render_form.h"

#include <QFile>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QOpenGLWidget>
#include <QPainter>
#include <QProgressBar>
#include <QStatusBar>
#include <QToolButton>
#include <QWindow>

#include <algorithm>

#include "base/nomes_arquivos.h"
#include "base/tevra_home.h"
#include "ui_render_form.h"
#include "view/gl/malha.h"
#include "view/gl/teclas.h"
#include "view/imagem/png.h"
#include "view/janelas/carga_quadros.h"
#include "view/janelas/contexto_gl.h"
#include "view/janelas/dialogos.h"
#include "view/janelas/imagens.h"
#include "view/janelas/teclas_qt.h"

using namespace tevra;

namespace {

// The pause after each played frame.
constexpr int kPausaMs = 100;

// Platforms whose windows cannot hold an OpenGL widget.
bool plataformaSemOpenGL() {
    const QString p = QGuiApplication::platformName();
    return p == QLatin1String("offscreen") || p == QLatin1String("minimal");
}

}  // namespace

// The surface when there is no OpenGL: black, and each of its paints counts as a picture so
// that playback and the controls behave as with OpenGL.
class PainelSemGL : public QWidget {
public:
    explicit PainelSemGL(TRenderForm* form) : QWidget(form), form_(form) { setAttribute(Qt::WA_OpaquePaintEvent); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter(this).fillRect(rect(), Qt::black);
        form_->aposImagem();
    }

private:
    TRenderForm* form_;
};

TRenderForm::TRenderForm(QWidget* parent, Superficie superficie)
    : QMainWindow(parent), superficie_(superficie), ui_(std::make_unique<Ui::TRenderForm>()) {
    setObjectName(QStringLiteral("TRenderForm"));
    ui_->setupUi(this);
    move(338, 139);

    relogio_.setSingleShot(true);
    relogio_.setInterval(kPausaMs);
    relogio_.setTimerType(Qt::PreciseTimer);
    connect(&relogio_, &QTimer::timeout, this, &TRenderForm::passoDaReproducao);

    criarControles();
    // FormCreate: the context, the texture image, then the play button as when paused.
    criarSuperficie();
    carga_ = std::make_unique<CargaQuadros>(serie_);
    connect(carga_.get(), &CargaQuadros::avancou, this, &TRenderForm::quadrosChegaram);
    connect(carga_.get(), &CargaQuadros::concluida, this, &TRenderForm::cargaConcluida);

    if (const QString falhas = imagens::instalarGlifos(); !falhas.isEmpty())
        informarUmaVez(QStringLiteral("instalar"),
                       QStringLiteral("The tool-bar images could not be written to %1.").arg(falhas));
    reprodutor_.tocando = false;
    atualizarBotaoPlay();
    mostrarQuadro();
}

TRenderForm::~TRenderForm() {
    // Readers are left to end on their own, whatever they wait on; the context's end must
    // find nothing of this window.
    carga_.reset();
    relogio_.stop();
    gl_.reset();
}

void TRenderForm::criarControles() {
    ui_->ToolBar1->toggleViewAction()->setVisible(false);
    const std::pair<QToolButton*, const char*> glifos[] = {
        {ui_->SpeedButton3, imagens::kGlifoPlay},   {ui_->SpeedButton4, imagens::kGlifoParar},
        {ui_->SpeedButton2, imagens::kGlifoInicio}, {ui_->SpeedButton1, imagens::kGlifoFim},
        {ui_->SpeedButton5, imagens::kGlifoVoltar}, {ui_->SpeedButton6, imagens::kGlifoAvancar},
    };
    for (auto [botao, glifo] : glifos)
        botao->setIcon(QIcon(imagens::pixmapDoGlifo(QImage(imagens::glifoEmbutido(glifo)))));
    connect(ui_->SpeedButton3, &QToolButton::clicked, this, &TRenderForm::SpeedButton3Click);
    connect(ui_->SpeedButton4, &QToolButton::clicked, this, &TRenderForm::SpeedButton4Click);
    connect(ui_->SpeedButton2, &QToolButton::clicked, this, &TRenderForm::SpeedButton2Click);
    connect(ui_->SpeedButton1, &QToolButton::clicked, this, &TRenderForm::SpeedButton1Click);
    connect(ui_->SpeedButton5, &QToolButton::clicked, this, &TRenderForm::SpeedButton5Click);
    connect(ui_->SpeedButton6, &QToolButton::clicked, this, &TRenderForm::SpeedButton6Click);

    progresso_ = new QProgressBar(ui_->StatusBar1);
    progresso_->setObjectName(QStringLiteral("progressoCarga"));
    progresso_->setMaximumHeight(15);
    progresso_->setMaximumWidth(180);
    progresso_->setFormat(tr("Loading %v / %m"));
    progresso_->hide();
    ui_->StatusBar1->addPermanentWidget(progresso_);

    transmissao_ = new QLabel(tr("Streaming from disk"), ui_->StatusBar1);
    transmissao_->setObjectName(QStringLiteral("transmissao"));
    transmissao_->hide();
    ui_->StatusBar1->addPermanentWidget(transmissao_);
}

void TRenderForm::criarSuperficie() {
    std::optional<ContextoGL::Falha> falha;
    if (superficie_ == Superficie::Automatica && !plataformaSemOpenGL()) {
        falha = ContextoGL::provar();
        if (falha) informarUmaVez(falha->chave, falha->mensagem);
    }
    if (superficie_ == Superficie::SemOpenGL || plataformaSemOpenGL() || falha) {
        setCentralWidget(new PainelSemGL(this));
    } else {
        ContextoGL::Eventos eventos;
        // A new context (the surface moved to another window) has the frames drawn anew.
        eventos.criado = [this] { pedirImagem(); };
        eventos.pintar = [this] { pintarGL(); };
        eventos.problema = [this](const QString& chave, const QString& mensagem) { informarUmaVez(chave, mensagem); };
        gl_ = std::make_unique<ContextoGL>(this, lerTextura(), std::move(eventos));
        setCentralWidget(gl_->superficie());
    }
    centralWidget()->setFocusPolicy(Qt::NoFocus);
}

std::vector<std::uint8_t> TRenderForm::lerTextura() {
    const QString arquivo = imagens::localizarTextura();
    QString erro;
    const QImage img = imagens::lerImagem(arquivo, erro);
    if (img.isNull()) {
        informarUmaVez(QStringLiteral("textura"),
                       QStringLiteral("The texture image %1 could not be read (%2); the surface is drawn without it.")
                           .arg(arquivo, erro));
        return montarTextura(0, 0, [](int, int) { return 0u; });
    }
    return imagens::texelsDaImagem(img);
}

void TRenderForm::informarUmaVez(const QString& chave, const QString& mensagem) {
    if (informados_.contains(chave)) return;
    informados_.insert(chave);
    qWarning("%s", qPrintable(mensagem));
    emit problemaInformado(mensagem);
    dialogos().aviso(this, mensagem);
}

QOpenGLWidget* TRenderForm::superficieGL() const { return gl_ ? gl_->superficie() : nullptr; }

// ---- Pictures and the playback pace ------------------------------------------------------

void TRenderForm::pintarGL() {
    const int p = serie_.imagemDoQuadro(reprodutor_.quadroAtual);
    if (p == 0) {
        naTela_.reset();
        imagemNaTela_ = 0;
    } else if (auto quadro = serie_.quadro(p)) {
        naTela_ = std::move(quadro);
        imagemNaTela_ = p;
    }
    // Otherwise the frame is still on its way from disk: the picture before stays meanwhile.
    gl_->desenhar(vista_, naTela_.get(), serie_.superficieFechada());
    aposImagem();
}

void TRenderForm::pedirImagem() {
    pedirAdiante();
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
        if (reprodutor_.quadroAtual >= serie_.quadrosProntos() || !imagemPronta(reprodutor_.quadroAtual + 1)) {
            // The next frame is still being loaded, or read back from disk.
            serie_.posicionar(reprodutor_.quadroAtual + 1);
            carga_->pedir(serie_.aLer(reprodutor_.quadroAtual + 1));
            relogio_.start();
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
        informarUmaVez(
            arquivo, QStringLiteral("The tool-bar image %1 could not be read (%2); the built-in one is shown instead.")
                         .arg(arquivo, erro));
        img = QImage(imagens::glifoEmbutido(nome));
    }
    ui_->SpeedButton3->setIcon(QIcon(imagens::pixmapDoGlifo(img)));
    ui_->SpeedButton3->setToolTip(reprodutor_.tocando ? tr("Pause") : tr("Play"));
    glifoPlay_ = QString::fromLatin1(nome);
    ui_->SpeedButton5->setEnabled(!reprodutor_.tocando);
    ui_->SpeedButton6->setEnabled(!reprodutor_.tocando);
}

void TRenderForm::mostrarQuadro() {
    statusBar()->showMessage(QStringLiteral("Quadro: %1").arg(reprodutor_.quadroAtual));
}

// A control changed the playback: the pace starts over from the frame now on screen.
void TRenderForm::controleMudou(bool botaoPlay, bool contador) {
    relogio_.stop();
    if (botaoPlay) atualizarBotaoPlay();
    if (contador) mostrarQuadro();
    pedirImagem();
}

void TRenderForm::SpeedButton3Click() {
    reprodutor_.playPause();
    controleMudou(true, false);
}

void TRenderForm::SpeedButton4Click() {
    reprodutor_.parar();
    controleMudou(true, true);
}

void TRenderForm::SpeedButton2Click() {
    reprodutor_.irParaPrimeiro();
    controleMudou(true, true);
}

void TRenderForm::SpeedButton1Click() {
    reprodutor_.irParaUltimo();
    controleMudou(true, true);
}

void TRenderForm::SpeedButton5Click() {
    if (reprodutor_.voltar()) controleMudou(false, true);
}

void TRenderForm::SpeedButton6Click() {
    if (reprodutor_.avancar()) controleMudou(false, true);
}

void TRenderForm::FormKeyDown(int tecla, Qt::KeyboardModifiers modificadores) {
    const EfeitoTecla efeito = aplicarTecla(teclaDaJanela(tecla, modificadores), vista_, reprodutor_);
    if (efeito.salvarImagem)
        salvarImagem();
    else if (efeito.reproducao)
        controleMudou(true, true);
    else if (efeito.vista)
        pedirImagem();
}

void TRenderForm::FormMouseDown(QPoint ponto) {
    dialogos().mensagem(this, QString::number(ponto.x()));
    dialogos().mensagem(this, QString::number(ponto.y()));
}

QImage TRenderForm::imagemNaTela() {
    if (gl_ && gl_->superficie()->isValid()) return gl_->superficie()->grabFramebuffer();
    return centralWidget()->grab().toImage();
}

void TRenderForm::salvarImagem() {
    // Taken before the dialog: playback goes on behind it.
    const QImage tela = imagemNaTela().convertToFormat(QImage::Format_RGBA8888);
    const int quadro = std::clamp(reprodutor_.quadroAtual, 1, kMaxQuadroArquivo);
    const QString sugestao = QString::fromStdString(caminhoImagem(tevra::home::raiz(), quadro).string());
    const QString arquivo = dialogos().salvarImagem(this, sugestao);
    if (arquivo.isEmpty()) return;
    Imagem imagem;
    imagem.alocar(tela.width(), tela.height());
    const std::size_t linha = static_cast<std::size_t>(tela.width()) * 4;
    for (int y = 0; y < tela.height(); ++y)
        std::copy_n(tela.constScanLine(y), linha, imagem.rgba.data() + static_cast<std::size_t>(y) * linha);
    if (const Escrita f = gravarPng(std::filesystem::path(QFile::encodeName(arquivo).toStdString()), imagem))
        dialogos().mensagem(
            this, QStringLiteral("The picture could not be saved: %1").arg(QString::fromLocal8Bit(f->texto().c_str())));
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
