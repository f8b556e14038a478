#pragma once

#include <QElapsedTimer>
#include <QMainWindow>
#include <QOpenGLWidget>
#include <QSet>
#include <QString>
#include <QTimer>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <vector>

#include "view/gl/estado_vista.h"
#include "view/quadros/memoria_visor.h"
#include "view/quadros/reprodutor.h"
#include "view/quadros/serie_quadros.h"

class CargaQuadros;
class ContextoGL;
class QLabel;
class QProgressBar;

namespace Ui {
class TRenderForm;
}

// The animation window: plays the frame files of the Tevra home's tmp folder as a lit,
// textured surface. Openers set numQuadros, gradeI and gradeJ, then show it; every showing
// reloads the series and starts at frame 1.
//
// The series is read in the background (see CargaQuadros), so the window stays responsive
// and shows its progress; each frame is kept as compact floats and drawn from them. The
// window holds no more than a budget of memory: a series larger than that is played from
// disk as it goes, which the status bar says. While playing, a frame is drawn, and 100 ms
// later the next one follows; paused, the window draws only when something changes.
class TRenderForm : public QMainWindow {
    Q_OBJECT
public:
    // Automatica: OpenGL unless the platform cannot host it (offscreen, minimal), where the
    // window keeps all its controls over a blank surface. SemOpenGL forces that.
    enum class Superficie { Automatica, SemOpenGL };

    explicit TRenderForm(QWidget* parent = nullptr, Superficie superficie = Superficie::Automatica);
    ~TRenderForm() override;

    int numQuadros = 0;
    int gradeI = 0;
    int gradeJ = 0;

    // "Animation on-the-fly": a run of a gradeI x gradeJ grid is starting; then, as the run
    // writes frame n into `arquivo`, show it. Called on the GUI thread.
    void iniciarAoVivo(int gradeI, int gradeJ);
    void quadroAoVivo(int n, const std::filesystem::path& arquivo);

    // Showing the window (show(), even when it is already visible) reloads the series.
    void setVisible(bool visivel) override;

    // The folder whose series it plays.
    std::filesystem::path pasta() const;
    // The memory the window may hold for a series, in bytes, from the next showing on;
    // 0 (the default): a quarter of the memory available then.
    void definirOrcamento(std::size_t bytes) { orcamento_ = bytes; }
    // Frames are read with `leitor` instead of from their files as they stand (tests).
    void usarLeitorDeQuadros(tevra::LeitorQuadro leitor);
    // The series is larger than the budget: frames are read from disk as playback goes.
    bool transmitindo() const { return serie_.transmitindo(); }

    int quadroAtual() const { return reprodutor_.quadroAtual; }
    bool tocando() const { return reprodutor_.tocando; }
    bool superficieFechada() const { return serie_.superficieFechada(); }
    const tevra::SerieQuadros& serie() const { return serie_; }
    const tevra::EstadoVista& vista() const { return vista_; }
    bool carregando() const;
    bool aoVivo() const;
    // The OpenGL surface, or null when the window draws without OpenGL.
    QOpenGLWidget* superficieGL() const;
    // File name of the glyph the play/pause button shows.
    QString glifoPlay() const { return glifoPlay_; }

    // FormShow: reads frames 1 .. numQuadros of a gradeI x gradeJ grid (in the background);
    // back to frame 1.
    void carregarQuadros();
    // Pause glyph and step buttons off while playing; play glyph and step buttons on otherwise.
    void atualizarBotaoPlay();
    // "Quadro: N" in the status bar.
    void mostrarQuadro();
    // The key table; modifiers only tell the numeric pad apart.
    void FormKeyDown(int tecla, Qt::KeyboardModifiers modificadores);
    // A click in the client area: the x, then the y coordinate in two message boxes.
    void FormMouseDown(QPoint ponto);
    // Ctrl+S: the picture on screen into a PNG file chosen in a save dialog (preset to
    // quadroNNNN.png, NNNN the frame on screen, in the Tevra home).
    void salvarImagem();
    // The picture as it is on screen now.
    QImage imagemNaTela();

    void SpeedButton1Click();  // to the last frame
    void SpeedButton2Click();  // to the first frame
    void SpeedButton3Click();  // play / pause
    void SpeedButton4Click();  // stop
    void SpeedButton5Click();  // one frame back
    void SpeedButton6Click();  // one frame forward

signals:
    // Every frame of the showing has been read.
    void quadrosCarregados();
    // An image or the grid could not be used; each problem is reported once, also in a
    // warning that does not block.
    void problemaInformado(const QString& mensagem);
    // Frame n is the one on screen (and in the status bar).
    void quadroMostrado(int n);
    // The key G: the user asks for the diagnostics of the series.
    void diagnosticosPedidos();

protected:
    bool event(QEvent* e) override;
    void changeEvent(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;

private:
    friend class PainelSemGL;

    void criarControles();
    void criarSuperficie();
    std::vector<std::uint8_t> lerTextura();

    void pintarGL();

    // The end of every picture: the playback step.
    void aposImagem();
    // The pause after a played frame is over: on to the next one.
    void passoDaReproducao();
    // Something changed: a new picture (or, with nothing on screen, the step at once).
    void pedirImagem();
    void controleMudou(bool botaoPlay, bool contador);
    // A tool-bar button that runs one player operation; `contador`: the counter changes too.
    void botaoDaReproducao(void (tevra::Reprodutor::*acao)(), bool contador);

    // A new series; false when its grid cannot be held (reported).
    bool iniciarSerie(int quadros, int gi, int gj);
    // Streaming: asks for the frames playback comes to next.
    void pedirAdiante();
    // Frame q can be drawn as it is: its picture is in memory, or there is none to wait for.
    bool imagemPronta(int q) const;
    void quadrosChegaram();
    void avisarOutraGrade();
    void cargaConcluida();
    void informarUmaVez(const QString& chave, const QString& mensagem);

    Superficie superficie_;
    std::unique_ptr<Ui::TRenderForm> ui_;
    QProgressBar* progresso_ = nullptr;
    QElapsedTimer desdeProgresso_;  // since the bar last showed a new count
    QLabel* transmissao_ = nullptr;
    QString glifoPlay_;

    tevra::Reprodutor reprodutor_;
    tevra::EstadoVista vista_;
    tevra::SerieQuadros serie_;
    std::unique_ptr<ContextoGL> gl_;  // null without OpenGL
    std::unique_ptr<CargaQuadros> carga_;
    bool serieRecusada_ = false;  // grid too large: nothing is read
    bool semRecarga_ = false;
    bool outraGradeAvisada_ = false;  // this loading's frame of another grid was reported
    std::size_t orcamento_ = 0;
    tevra::PlanoCarga plano_;
    QTimer relogio_;
    int imagemNaTela_ = -1;  // the picture drawn last (0: none)
    std::shared_ptr<const tevra::QuadroCompacto> naTela_;

    QSet<QString> informados_;
};
