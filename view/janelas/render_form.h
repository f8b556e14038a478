#pragma once

#include <QMainWindow>
#include <QOpenGLWidget>
#include <QSet>
#include <QString>
#include <QTimer>

#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

#include "view/gl/estado_vista.h"
#include "view/quadros/reprodutor.h"
#include "view/quadros/serie_quadros.h"

class QOffscreenSurface;
class QProgressBar;
class QToolBar;
class QToolButton;
class TRenderForm;

// The window's OpenGL surface; its GL events are the window's.
class PainelGL : public QOpenGLWidget {
public:
    explicit PainelGL(TRenderForm* form);

protected:
    void initializeGL() override;
    void paintGL() override;
    void resizeGL(int w, int h) override;
    void paintEvent(QPaintEvent* e) override;

private:
    TRenderForm* form_;
};

// The animation window: plays the frame files of the Tevra home's tmp folder as a lit,
// textured surface. Openers set numQuadros, gradeI and gradeJ, then show it; every showing
// reloads the series and starts at frame 1.
//
// The series is read and compiled into one display list per frame on worker threads, each
// with a context sharing the window's lists (or, where that is not possible, compiled on the
// GUI thread in short slices), so the window stays responsive and shows its progress.
// While playing, a frame is drawn, and 100 ms later the next one follows; paused, the window
// draws only when something changes.
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
    // writes frame n, show it. Called on the GUI thread.
    void iniciarAoVivo(int gradeI, int gradeJ);
    void quadroAoVivo(int n);

    // Showing the window (show(), even when it is already visible) reloads the series.
    void setVisible(bool visivel) override;

    int quadroAtual() const { return reprodutor_.quadroAtual; }
    bool tocando() const { return reprodutor_.tocando; }
    bool superficieFechada() const { return serie_.superficieFechada(); }
    const tevra::SerieQuadros& serie() const { return serie_; }
    const tevra::EstadoVista& vista() const { return vista_; }
    bool carregando() const { return carga_ != nullptr || cargaPendente_; }
    bool aoVivo() const { return aoVivo_; }
    // The OpenGL surface, or null when the window draws without OpenGL.
    QOpenGLWidget* superficieGL() const { return painelGL_; }
    // File name of the glyph the play/pause button shows.
    QString glifoPlay() const { return glifoPlay_; }

    // FormShow: reads frames 1 .. numQuadros of a gradeI x gradeJ grid (in the background)
    // and compiles each into its display list; back to frame 1.
    void carregarQuadros();
    // Pause glyph and step buttons off while playing; play glyph and step buttons on otherwise.
    void atualizarBotaoPlay();
    // "Quadro: N" in the status bar.
    void mostrarQuadro();
    // The key table; modifiers only tell the numeric pad apart.
    void FormKeyDown(int tecla, Qt::KeyboardModifiers modificadores);
    // A click in the client area: the x, then the y coordinate in two message boxes.
    void FormMouseDown(QPoint ponto);

    void SpeedButton1Click();  // to the last frame
    void SpeedButton2Click();  // to the first frame
    void SpeedButton3Click();  // play / pause
    void SpeedButton4Click();  // stop
    void SpeedButton5Click();  // one frame back
    void SpeedButton6Click();  // one frame forward

signals:
    // Every frame of the showing has been read and compiled.
    void quadrosCarregados();
    // An image or the grid could not be used; each problem is reported once, also in a
    // message box that does not block.
    void problemaInformado(const QString& mensagem);

protected:
    bool event(QEvent* e) override;
    void changeEvent(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;

private:
    friend class PainelGL;
    friend class PainelSemGL;

    void criarControles();
    void verificarOpenGL();
    void lerTextura();

    // GL events of the surface.
    void inicializarGL();
    void pintarGL();
    void redimensionarGL(int w, int h);

    // The end of every picture: the playback step.
    void aposImagem();
    // The pause after a played frame is over: on to the next one.
    void passoDaReproducao();
    // Something changed: a new picture (or, with nothing on screen, the step at once).
    void pedirImagem();

    void iniciarSerie(int quadros, int gi, int gj);
    void iniciarCarregador();
    tevra::CarregadorSerie::Trabalho trabalhoGL();
    void processarCarga();
    void agendarCarga();
    void concluirCarga();
    void processarAoVivo();
    // Runs `trabalho` with the context current; false (and nothing run) without a context.
    bool comContexto(const std::function<void()>& trabalho);
    void compilarQuadro(int n);
    void excluirListas();
    void informarUmaVez(const QString& chave, const QString& mensagem);

    Superficie superficie_;
    PainelGL* painelGL_ = nullptr;
    QToolBar* ToolBar1 = nullptr;
    QToolButton* SpeedButton1 = nullptr;
    QToolButton* SpeedButton2 = nullptr;
    QToolButton* SpeedButton3 = nullptr;
    QToolButton* SpeedButton4 = nullptr;
    QToolButton* SpeedButton5 = nullptr;
    QToolButton* SpeedButton6 = nullptr;
    QProgressBar* progresso_ = nullptr;
    QString glifoPlay_;

    tevra::Reprodutor reprodutor_;
    tevra::EstadoVista vista_;
    tevra::SerieQuadros serie_;
    std::unique_ptr<tevra::CarregadorSerie> carga_;
    bool cargaAgendada_ = false;
    bool cargaPendente_ = false;  // waits for the context
    bool serieRecusada_ = false;  // grid too large: nothing is read
    std::shared_ptr<std::atomic<bool>> avisoPendente_;
    bool aoVivo_ = false;
    bool semRecarga_ = false;
    std::deque<int> pendentesAoVivo_;
    bool aoVivoAgendado_ = false;
    tevra::NosSuperficie lidoAoVivo_;
    QTimer relogio_;

    // GL side.
    bool contextoPronto_ = false;
    bool contextoAtual_ = false;
    unsigned textura_ = 0;
    std::vector<std::uint8_t> texels_;
    int maiorLista_ = 0;
    int listasReservadas_ = 0;  // names 1 .. this may hold lists of the series being loaded
    std::vector<QOffscreenSurface*> superficiesTrabalho_;
    int imagemNaTela_ = -1;  // the display list of the last picture (0: none)
    float larguraCliente_ = 1.0f;
    float alturaCliente_ = 1.0f;

    QSet<QString> informados_;
};
