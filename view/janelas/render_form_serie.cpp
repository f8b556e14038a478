// The animation window's series: showing and loading, the memory budget and streaming,
// frames of another grid, and the live run.
#include <QLabel>
#include <QProgressBar>
#include <QThread>

#include <algorithm>

#include "base/tevra_home.h"
#include "view/gl/superficie_gl.h"
#include "view/janelas/carga_quadros.h"
#include "view/janelas/dialogos.h"
#include "view/janelas/render_form.h"
#include "view/quadros/memoria_visor.h"

using namespace tevra;

namespace {

// A new count on the bar repaints it at once, and with an OpenGL widget inside, the window is
// composed anew by OpenGL: with Mesa's software renderer that cost as much as reading the
// frames when it came with every frame. Ten counts a second tell the progress as well.
constexpr qint64 kMsEntreProgressos = 100;

QString mebibytes(std::size_t bytes) { return QString::number(static_cast<double>(bytes) / (1 << 20), 'f', 0); }

}  // namespace

bool TRenderForm::carregando() const { return carga_->carregando(); }
bool TRenderForm::aoVivo() const { return carga_->vivo(); }
void TRenderForm::usarLeitorDeQuadros(LeitorQuadro leitor) { carga_->usarLeitor(std::move(leitor)); }

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
    relogio_.stop();
    const bool aceita = iniciarSerie(numQuadros, gradeI, gradeJ);
    reprodutor_.carregado(serie_.numQuadros());
    const int arquivos = aceita ? serie_.arquivosASerLidos() : 0;
    if (arquivos > 0) {
        progresso_->setRange(0, serie_.numQuadros());
        progresso_->setValue(0);
        progresso_->show();
        desdeProgresso_.start();
    }
    carga_->carregar(pasta(), arquivos, plano_.trabalhadores, plano_.adiantados);
    atualizarBotaoPlay();
    mostrarQuadro();
    pedirImagem();
}

bool TRenderForm::iniciarSerie(int quadros, int gi, int gj) {
    carga_->parar();
    progresso_->hide();
    transmissao_->hide();
    naTela_.reset();
    imagemNaTela_ = -1;
    outraGradeAvisada_ = false;
    const long long nos = static_cast<long long>(std::max(gi, 0)) * std::max(gj, 0);
    const std::size_t orcamento = orcamento_ > 0 ? orcamento_ : orcamentoPadraoVisor();
    // Reading is parsing: one thread a core.
    plano_ = planejarCarga(orcamento, nos, DesenhoSuperficie::bytesPorNo() + 6 * sizeof(double),
                           std::clamp(QThread::idealThreadCount(), 1, 4));
    const QString chave = QStringLiteral("grade %1 %2").arg(gi).arg(gj);
    if (nos > kMaxNosVisiveis) {
        informarUmaVez(
            chave,
            QStringLiteral("A grid of %1 x %2 nodes is too large to show; the animation stays empty.").arg(gi).arg(gj));
    } else if (!plano_.cabe) {
        informarUmaVez(chave, QStringLiteral("A grid of %1 x %2 nodes does not fit the %3 MiB of memory set aside for "
                                             "the animation; the animation stays empty.")
                                  .arg(gi)
                                  .arg(gj)
                                  .arg(mebibytes(orcamento)));
    } else if (serie_.iniciar(quadros, gi, gj, plano_.orcamentoQuadros)) {
        serieRecusada_ = false;
        return true;
    }
    serieRecusada_ = true;
    serie_.iniciar(quadros, 0, 0);
    return false;
}

void TRenderForm::quadrosChegaram() {
    if (carga_->vivo()) {
        // Follow the run while the newest frame is on screen; stay where the user went otherwise.
        const bool seguir = !reprodutor_.tocando && reprodutor_.quadroAtual >= reprodutor_.numQuadros;
        numQuadros = serie_.numQuadros();
        reprodutor_.numQuadros = numQuadros;
        if (seguir) reprodutor_.quadroAtual = numQuadros;
        mostrarQuadro();
    } else if (carga_->carregando() && desdeProgresso_.elapsed() >= kMsEntreProgressos) {
        progresso_->setValue(serie_.quadrosProntos());
        desdeProgresso_.restart();
    }
    avisarOutraGrade();
    if (serie_.transmitindo() && transmissao_->isHidden()) {
        transmissao_->setToolTip(
            QStringLiteral("The frames do not all fit the %1 MiB of memory set aside for them: they are read from "
                           "disk as they play.")
                .arg(mebibytes(serie_.orcamento())));
        transmissao_->show();
    }
    if (serie_.imagemDoQuadro(reprodutor_.quadroAtual) != imagemNaTela_ && imagemPronta(reprodutor_.quadroAtual))
        pedirImagem();
    else
        pedirAdiante();
}

void TRenderForm::cargaConcluida() {
    progresso_->hide();
    avisarOutraGrade();
    atualizarBotaoPlay();
    mostrarQuadro();
    emit quadrosCarregados();
}

// Once a loading: stale frames of an earlier run are the usual cause, and one says it.
void TRenderForm::avisarOutraGrade() {
    const auto& outra = serie_.outraGrade();
    if (!outra || outraGradeAvisada_) return;
    outraGradeAvisada_ = true;
    const QString quadro = carga_->vivo() ? QStringLiteral("Frame %1").arg(outra->n)
                                          : QStringLiteral("Frame %1 (%2)")
                                                .arg(outra->n)
                                                .arg(QString::fromStdString(caminhoQuadro(pasta(), outra->n).string()));
    const long long nos = static_cast<long long>(serie_.gradeI()) * serie_.gradeJ();
    const QString mensagem =
        QStringLiteral(
            "%1 holds %2%3 nodes, not the %4 of a %5 x %6 grid: it is not shown, nor any other frame of "
            "another grid; each shows the frame before it.")
            .arg(quadro, outra->maisNos ? QStringLiteral("more than ") : QString())
            .arg(outra->nos)
            .arg(nos)
            .arg(serie_.gradeI())
            .arg(serie_.gradeJ());
    qWarning("%s", qPrintable(mensagem));
    dialogos().aviso(this, mensagem);
}

void TRenderForm::pedirAdiante() {
    serie_.posicionar(reprodutor_.quadroAtual);
    if (serie_.transmitindo()) carga_->pedir(serie_.aLer(reprodutor_.quadroAtual));
}

bool TRenderForm::imagemPronta(int q) const {
    const int p = serie_.imagemDoQuadro(q);
    return p == 0 || serie_.quadro(p) || !serie_.disponivel(p);
}

// ---- Animation on-the-fly --------------------------------------------------------------

void TRenderForm::iniciarAoVivo(int gi, int gj) {
    relogio_.stop();
    gradeI = gi;
    gradeJ = gj;
    numQuadros = 0;
    iniciarSerie(0, gi, gj);
    carga_->aoVivo();
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

void TRenderForm::quadroAoVivo(int n, const std::filesystem::path& arquivo) { carga_->gravado(n, arquivo); }
