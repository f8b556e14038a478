// The animation window on the offscreen platform (no OpenGL there): its controls, the
// playback states, the key table, the mouse messages, loading within its memory, stale and
// blocking frame files, closing during a load, and the live run.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QProgressBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QThread>
#include <QToolBar>
#include <QToolButton>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <mutex>
#include <thread>

#include "base/tevra_home.h"
#include "support/casa_teste.h"
#include "support/dialogos_teste.h"
#include "support/esperar_qt.h"
#include "support/png_teste.h"
#include "view/janelas/render_form.h"
#include "view/quadros/quadros_teste.h"

using namespace tevra;

namespace {

bool esperar(const std::function<bool()>& pronto, int ms = 20000) { return esperarAte(pronto, ms); }

void processarPor(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(2);
    }
}

// Counts the pictures (paint events) of a widget.
class ContaPinturas : public QObject {
public:
    int n = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) ++n;
        return false;
    }
};

bool iguais(const Vetor3& a, const Vetor3& b) { return a.x == b.x && a.y == b.y && a.z == b.z; }
bool iguais(const EstadoVista& a, const EstadoVista& b) {
    return a.preenchido == b.preenchido && a.texturaLigada == b.texturaLigada &&
           a.iluminacaoLigada == b.iluminacaoLigada && a.perspectiva == b.perspectiva && a.marcaLuz0 == b.marcaLuz0 &&
           a.marcaLuz1 == b.marcaLuz1 && a.selecionandoLuz == b.selecionandoLuz &&
           a.luzSelecionada == b.luzSelecionada && iguais(a.posLuz0, b.posLuz0) && iguais(a.posLuz1, b.posLuz1) &&
           iguais(a.rotacao, b.rotacao) && iguais(a.escala, b.escala) && iguais(a.translacao, b.translacao);
}

class RenderForm : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(casa_.pronta());
        usarDialogos(&dlg);
        form = std::make_unique<TRenderForm>();
        QObject::connect(form.get(), &TRenderForm::problemaInformado, [this](const QString& m) { problemas << m; });
    }
    void TearDown() override {
        form.reset();
        usarDialogos(nullptr);
    }

    void abrir(int quadros, int gi, int gj) {
        form->numQuadros = quadros;
        form->gradeI = gi;
        form->gradeJ = gj;
        form->show();
        ASSERT_TRUE(esperar([&] { return !form->carregando(); }));
    }
    QToolButton* botao(const char* nome) { return form->findChild<QToolButton*>(QString::fromLatin1(nome)); }
    QString status() { return form->statusBar()->currentMessage(); }
    void tecla(int k, Qt::KeyboardModifiers m = Qt::NoModifier, int vezes = 1) {
        for (int v = 0; v < vezes; ++v) {
            QKeyEvent e(QEvent::KeyPress, k, m);
            QCoreApplication::sendEvent(form.get(), &e);
        }
    }
    // Paused on frame k of a series of n.
    void pausadoEm(int k) {
        form->SpeedButton4Click();
        for (int i = 1; i < k; ++i) form->SpeedButton6Click();
        ASSERT_EQ(form->quadroAtual(), k);
        ASSERT_FALSE(form->tocando());
    }

    DialogosTeste dlg;
    std::unique_ptr<TRenderForm> form;
    QStringList problemas;

private:
    CasaTemporaria casa_;
};

// ---- Creation and showing ------------------------------------------------------------------

TEST_F(RenderForm, CriadaEscondidaComSuaBarraDeFerramentasEContador) {
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(form->windowTitle(), "Animation");
    EXPECT_EQ(form->superficieGL(), nullptr) << "the offscreen platform has no OpenGL surface";
    auto* barra = form->findChild<QToolBar*>("ToolBar1");
    ASSERT_NE(barra, nullptr);
    // Left to right: play/pause, stop, first, last, back, forward.
    QStringList ordem;
    for (QAction* a : barra->actions())
        if (QWidget* w = barra->widgetForAction(a)) ordem << w->objectName();
    EXPECT_EQ(ordem, (QStringList{"SpeedButton3", "SpeedButton4", "SpeedButton2", "SpeedButton1", "SpeedButton5",
                                  "SpeedButton6"}));
    for (const char* b :
         {"SpeedButton1", "SpeedButton2", "SpeedButton3", "SpeedButton4", "SpeedButton5", "SpeedButton6"}) {
        ASSERT_NE(botao(b), nullptr) << b;
        EXPECT_FALSE(botao(b)->icon().isNull()) << b;
    }
    // Paused at creation: play glyph, step buttons usable.
    EXPECT_EQ(form->glifoPlay(), "play_blue24_h.bmp");
    EXPECT_TRUE(botao("SpeedButton5")->isEnabled());
    EXPECT_TRUE(botao("SpeedButton6")->isEnabled());
    EXPECT_EQ(form->quadroAtual(), 1);
    EXPECT_FALSE(form->tocando());
    EXPECT_EQ(status(), "Quadro: 1");
    EXPECT_EQ(form->statusBar()->objectName(), "StatusBar1");
    // The glyph files were put into the home's Imagens folder.
    for (const char* nome : {"play_blue24_h.bmp", "pause_blue24_h.bmp"}) {
        QFile f(QString::fromStdString((tevra::home::imagens() / nome).string()));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << nome;
        QFile a(QStringLiteral(TEVRA_SOURCE_DIR "/assets/") + nome);
        ASSERT_TRUE(a.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll(), a.readAll()) << nome;
    }
    EXPECT_TRUE(problemas.isEmpty()) << problemas.join("\n").toStdString();
    EXPECT_TRUE(dlg.avisos.isEmpty());
}

TEST_F(RenderForm, GlifosQueJaEstaoNaCasaFicamComoEstao) {
    form.reset();
    const auto play = tevra::home::imagens() / "play_blue24_h.bmp";
    QFile::remove(QString::fromStdString(play.string()));
    QFile::copy(QStringLiteral(TEVRA_SOURCE_DIR "/assets/stop_blue24_h.bmp"), QString::fromStdString(play.string()));
    form = std::make_unique<TRenderForm>();
    EXPECT_EQ(lerArquivo(play), lerArquivo(std::filesystem::path(TEVRA_SOURCE_DIR) / "assets" / "stop_blue24_h.bmp"));
}

TEST_F(RenderForm, MostrarCarregaASerieECadaMostrarRecarrega) {
    escreverSerie(tevra::home::tmp(), 3, 2, 3, folhaSubindo, 2);
    abrir(3, 2, 3);
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->serie().quadrosProntos(), 3);
    EXPECT_EQ(form->serie().quadrosFalhos(), 0);
    EXPECT_TRUE(form->superficieFechada());
    // The arrays hold the last frame.
    EXPECT_DOUBLE_EQ(form->serie().nos().z[5], 0.3);
    EXPECT_EQ(form->quadroAtual(), 1);
    EXPECT_EQ(status(), "Quadro: 1");

    // Shown again while visible, with another grid and frame count: read again from frame 1.
    form->SpeedButton6Click();
    escreverSerie(tevra::home::tmp(), 2, 3, 2, folhaSubindo, 0);
    abrir(2, 3, 2);
    EXPECT_EQ(form->quadroAtual(), 1);
    EXPECT_EQ(form->serie().gradeI(), 3);
    EXPECT_EQ(form->serie().gradeJ(), 2);
    EXPECT_EQ(form->serie().quadrosProntos(), 2);
    EXPECT_FALSE(form->superficieFechada());
    EXPECT_DOUBLE_EQ(form->serie().nos().z[5], 0.2);

    // Closed, then shown again: the same.
    form->close();
    EXPECT_FALSE(form->isVisible());
    abrir(2, 3, 2);
    EXPECT_EQ(form->serie().quadrosProntos(), 2);
}

TEST_F(RenderForm, QuadrosQueFaltamRepetemOUltimoENadaQuebra) {
    escreverSerie(tevra::home::tmp(), 3, 2, 2, folhaSubindo);
    abrir(400, 2, 2);  // as the main window asks after a short run
    EXPECT_EQ(form->serie().quadrosProntos(), 400);
    EXPECT_EQ(form->serie().imagemDoQuadro(2), 2);
    EXPECT_EQ(form->serie().imagemDoQuadro(3), 3);
    EXPECT_EQ(form->serie().imagemDoQuadro(4), 3);
    EXPECT_EQ(form->serie().imagemDoQuadro(400), 3);
    form->SpeedButton1Click();
    EXPECT_EQ(status(), "Quadro: 400");

    // A grid larger than the files, a folder with nothing, a grid far too large: all quiet
    // but the last, which is reported once.
    abrir(3, 5, 5);
    EXPECT_EQ(form->serie().imagemDoQuadro(3), 0);
    std::filesystem::remove_all(tevra::home::tmp());
    abrir(20, 4, 4);
    EXPECT_EQ(form->serie().quadrosFalhos(), 20);
    EXPECT_TRUE(problemas.isEmpty());
    abrir(5, 100000, 100000);
    abrir(5, 100000, 100000);
    EXPECT_EQ(problemas.size(), 1);
    EXPECT_EQ(form->serie().imagemDoQuadro(5), 0);
}

TEST_F(RenderForm, SerieVaziaMostraOQuadroUmETocarParaNaHora) {
    abrir(0, 3, 3);
    EXPECT_EQ(status(), "Quadro: 1");
    form->SpeedButton3Click();
    ASSERT_TRUE(esperar([&] { return !form->tocando(); }));
    EXPECT_EQ(form->quadroAtual(), 1);
    EXPECT_EQ(form->glifoPlay(), "play_blue24_h.bmp");
}

// ---- Playback --------------------------------------------------------------------------------

TEST_F(RenderForm, TocaCadaQuadroPorSuaVezEParaNoUltimo) {
    escreverSerie(tevra::home::tmp(), 3, 2, 2, folhaSubindo);
    abrir(3, 2, 2);
    QStringList vistos{status()};
    QObject::connect(form->statusBar(), &QStatusBar::messageChanged, [&](const QString& m) {
        if (vistos.isEmpty() || vistos.back() != m) vistos << m;
    });
    botao("SpeedButton3")->click();
    EXPECT_TRUE(form->tocando());
    EXPECT_EQ(form->glifoPlay(), "pause_blue24_h.bmp");
    EXPECT_FALSE(botao("SpeedButton5")->isEnabled());
    EXPECT_FALSE(botao("SpeedButton6")->isEnabled());
    ASSERT_TRUE(esperar([&] { return !form->tocando(); }));
    EXPECT_EQ(vistos, (QStringList{"Quadro: 1", "Quadro: 2", "Quadro: 3"}));
    EXPECT_EQ(form->quadroAtual(), 3);
    EXPECT_EQ(status(), "Quadro: 3");
    EXPECT_EQ(form->glifoPlay(), "play_blue24_h.bmp");
    EXPECT_TRUE(botao("SpeedButton5")->isEnabled());

    // Play on the last frame while paused starts again from the first.
    botao("SpeedButton3")->click();
    EXPECT_EQ(form->quadroAtual(), 1);
    EXPECT_TRUE(form->tocando());
    ASSERT_TRUE(esperar([&] { return !form->tocando(); }));
    EXPECT_EQ(form->quadroAtual(), 3);
}

TEST_F(RenderForm, JanelaEscondidaTocaAteOFim) {
    escreverSerie(tevra::home::tmp(), 4, 2, 2, folhaSubindo);
    abrir(4, 2, 2);
    form->SpeedButton3Click();
    form->close();
    ASSERT_TRUE(esperar([&] { return !form->tocando(); }));
    EXPECT_EQ(form->quadroAtual(), 4);
    // Shown again: reloaded, frame 1, paused as it was.
    abrir(4, 2, 2);
    EXPECT_EQ(form->quadroAtual(), 1);
    EXPECT_FALSE(form->tocando());
}

TEST_F(RenderForm, JanelaPausadaNaoDesenhaNadaAteAlgoMudar) {
    escreverSerie(tevra::home::tmp(), 5, 2, 2, folhaSubindo);
    abrir(5, 2, 2);
    ContaPinturas pinturas;
    form->centralWidget()->installEventFilter(&pinturas);
    processarPor(150);
    pinturas.n = 0;
    processarPor(400);
    EXPECT_EQ(pinturas.n, 0) << "an idle paused window must not draw";
    tecla(Qt::Key_Up);
    ASSERT_TRUE(esperar([&] { return pinturas.n > 0; }));
    // Playing: one picture per frame at least, and it ends.
    pinturas.n = 0;
    form->SpeedButton3Click();
    ASSERT_TRUE(esperar([&] { return !form->tocando(); }));
    EXPECT_GE(pinturas.n, 5);
    processarPor(50);
    pinturas.n = 0;
    processarPor(300);
    EXPECT_EQ(pinturas.n, 0);
    form->centralWidget()->removeEventFilter(&pinturas);
}

TEST_F(RenderForm, BarraDeFerramentasSegueATabelaDeReproducao) {
    escreverSerie(tevra::home::tmp(), 10, 2, 2, folhaSubindo);
    abrir(10, 2, 2);

    pausadoEm(4);  // play/pause toggles, the frame stays; the counter is not refreshed by it
    form->SpeedButton3Click();
    EXPECT_TRUE(form->tocando());
    EXPECT_EQ(form->quadroAtual(), 4);
    form->SpeedButton3Click();
    EXPECT_FALSE(form->tocando());

    for (bool tocando : {false, true}) {
        pausadoEm(6);
        if (tocando) form->SpeedButton3Click();
        form->SpeedButton2Click();  // to the first frame: playing state kept
        EXPECT_EQ(form->quadroAtual(), 1);
        EXPECT_EQ(form->tocando(), tocando);
        EXPECT_EQ(status(), "Quadro: 1");

        pausadoEm(6);
        if (tocando) form->SpeedButton3Click();
        form->SpeedButton4Click();  // stop
        EXPECT_EQ(form->quadroAtual(), 1);
        EXPECT_FALSE(form->tocando());
        EXPECT_EQ(form->glifoPlay(), "play_blue24_h.bmp");

        pausadoEm(6);
        if (tocando) form->SpeedButton3Click();
        form->SpeedButton1Click();  // to the last frame, paused
        EXPECT_EQ(form->quadroAtual(), 10);
        EXPECT_FALSE(form->tocando());
        EXPECT_EQ(status(), "Quadro: 10");
    }

    // Step buttons within 1 .. 10; disabled (clicks ignored) while playing.
    pausadoEm(1);
    botao("SpeedButton5")->click();
    EXPECT_EQ(form->quadroAtual(), 1);
    botao("SpeedButton6")->click();
    EXPECT_EQ(form->quadroAtual(), 2);
    EXPECT_EQ(status(), "Quadro: 2");
    botao("SpeedButton5")->click();
    EXPECT_EQ(form->quadroAtual(), 1);
    form->SpeedButton1Click();
    botao("SpeedButton6")->click();
    EXPECT_EQ(form->quadroAtual(), 10);
    pausadoEm(5);
    botao("SpeedButton3")->click();
    botao("SpeedButton6")->click();
    botao("SpeedButton5")->click();
    EXPECT_TRUE(form->tocando());
    form->SpeedButton4Click();
}

// ---- Keys and mouse --------------------------------------------------------------------------

TEST_F(RenderForm, TeclasDaVistaMudamOEstadoDaVista) {
    const EstadoVista& v = form->vista();
    EXPECT_TRUE(iguais(v, EstadoVista{}));
    EXPECT_TRUE(v.preenchido && !v.texturaLigada && !v.iluminacaoLigada && v.perspectiva && !v.marcaLuz0 &&
                !v.marcaLuz1);
    EXPECT_EQ(v.rotacao.x, 20);
    EXPECT_EQ(v.rotacao.y, -20);
    EXPECT_EQ(v.posLuz0.x, -20);
    EXPECT_EQ(v.posLuz1.z, -20);

    // Letters act the same with Shift, Ctrl or Alt.
    tecla(Qt::Key_T);
    tecla(Qt::Key_F, Qt::ShiftModifier);
    tecla(Qt::Key_V, Qt::ControlModifier);
    tecla(Qt::Key_L, Qt::AltModifier);
    EXPECT_TRUE(v.texturaLigada);
    EXPECT_FALSE(v.preenchido);
    EXPECT_FALSE(v.perspectiva);
    EXPECT_TRUE(v.iluminacaoLigada);

    tecla(Qt::Key_Up, Qt::NoModifier, 2);
    tecla(Qt::Key_Down);
    tecla(Qt::Key_Left, Qt::NoModifier, 3);
    tecla(Qt::Key_Right);
    tecla(Qt::Key_PageUp, Qt::NoModifier, 5);
    tecla(Qt::Key_PageDown);
    EXPECT_EQ(v.rotacao.x, 23);
    EXPECT_EQ(v.rotacao.y, -26);
    EXPECT_EQ(v.rotacao.z, 4);

    tecla(Qt::Key_Q, Qt::NoModifier, 3);
    tecla(Qt::Key_W);
    tecla(Qt::Key_S, Qt::NoModifier, 2);
    tecla(Qt::Key_A);
    tecla(Qt::Key_X);
    tecla(Qt::Key_Z, Qt::NoModifier, 4);
    EXPECT_EQ(v.translacao.x, -2);
    EXPECT_EQ(v.translacao.y, 1);
    EXPECT_EQ(v.translacao.z, -3);

    // Plus and minus of the numeric pad only; 100 presses of minus reach zero, then mirror.
    tecla(Qt::Key_Plus, Qt::KeypadModifier, 2);
    tecla(Qt::Key_Plus);
    tecla(Qt::Key_Minus);
    EXPECT_NEAR(v.escala.x, 1.02, 1e-12);
    tecla(Qt::Key_Minus, Qt::KeypadModifier, 102);
    EXPECT_NEAR(v.escala.x, 0.0, 1e-9);
    EXPECT_NEAR(v.escala.y, 0.0, 1e-9);
    EXPECT_NEAR(v.escala.z, 0.0, 1e-9);
    tecla(Qt::Key_Minus, Qt::KeypadModifier);
    EXPECT_NEAR(v.escala.z, -0.01, 1e-9);

    // Keys outside the table change nothing.
    const EstadoVista antes = v;
    for (int k : {Qt::Key_B, Qt::Key_0, Qt::Key_3, Qt::Key_Space, Qt::Key_End, Qt::Key_F1, Qt::Key_Return}) tecla(k);
    EXPECT_TRUE(iguais(antes, v));
    EXPECT_EQ(form->quadroAtual(), 1);
    EXPECT_FALSE(form->tocando());
}

TEST_F(RenderForm, TeclasDeLuzMovemALuzEscolhidaSoComIluminacao) {
    const EstadoVista& v = form->vista();
    // Lighting off: the light keys do nothing, even with a marker shown.
    tecla(Qt::Key_1);
    EXPECT_TRUE(v.marcaLuz0);
    for (int k : {Qt::Key_Y, Qt::Key_U, Qt::Key_H, Qt::Key_J, Qt::Key_N}) tecla(k);
    EXPECT_EQ(v.posLuz0.x, -20);
    EXPECT_EQ(v.posLuz0.y, 10);
    EXPECT_EQ(v.posLuz0.z, 20);

    tecla(Qt::Key_L);
    tecla(Qt::Key_Y, Qt::NoModifier, 2);
    tecla(Qt::Key_J);
    tecla(Qt::Key_N);
    EXPECT_NEAR(v.posLuz0.x, -20.6, 1e-12);
    EXPECT_NEAR(v.posLuz0.y, 10.3, 1e-12);
    EXPECT_NEAR(v.posLuz0.z, 19.7, 1e-12);

    // M, then 2: light 0 moves by +0.3 in z first (still selected), then light 1 is selected.
    tecla(Qt::Key_M);
    EXPECT_NEAR(v.posLuz0.z, 20.0, 1e-12);
    EXPECT_TRUE(v.selecionandoLuz);
    tecla(Qt::Key_2);
    EXPECT_EQ(v.luzSelecionada, 1);
    EXPECT_FALSE(v.selecionandoLuz);
    EXPECT_FALSE(v.marcaLuz1) << "2 chose a light, it did not toggle a marker";
    tecla(Qt::Key_M);
    EXPECT_NEAR(v.posLuz1.z, -19.7, 1e-12);
    tecla(Qt::Key_U);
    tecla(Qt::Key_H);
    EXPECT_NEAR(v.posLuz1.x, 20.3, 1e-12);
    EXPECT_NEAR(v.posLuz1.y, 9.7, 1e-12);
    // With Shift the digit arrives as its symbol and still acts: back to light 0.
    tecla(Qt::Key_Exclam, Qt::ShiftModifier);
    EXPECT_EQ(v.luzSelecionada, 0);
    // 1 and 2 when not choosing toggle the markers; the numeric pad's digits are other keys.
    tecla(Qt::Key_At, Qt::ShiftModifier);
    EXPECT_TRUE(v.marcaLuz1);
    tecla(Qt::Key_1, Qt::KeypadModifier);
    EXPECT_TRUE(v.marcaLuz0);
    tecla(Qt::Key_1);
    EXPECT_FALSE(v.marcaLuz0);
}

TEST_F(RenderForm, EscReiniciaAReproducaoNoQuadroUm) {
    escreverSerie(tevra::home::tmp(), 30, 2, 2, folhaSubindo);
    abrir(30, 2, 2);
    pausadoEm(20);
    tecla(Qt::Key_Escape);
    EXPECT_EQ(form->quadroAtual(), 1);
    EXPECT_TRUE(form->tocando());
    EXPECT_EQ(form->glifoPlay(), "pause_blue24_h.bmp");
    EXPECT_EQ(status(), "Quadro: 1");
    form->SpeedButton4Click();
}

TEST_F(RenderForm, CliqueMostraACoordenadaXDepoisAY) {
    abrir(0, 2, 2);
    QWidget* area = form->centralWidget();
    const QPoint dentro(37, 41);
    QMouseEvent clique(QEvent::MouseButtonPress, QPointF(dentro), area->mapToGlobal(QPointF(dentro)), Qt::RightButton,
                       Qt::RightButton, Qt::NoModifier);
    QCoreApplication::sendEvent(area, &clique);
    const QPoint naJanela = area->mapTo(form.get(), dentro);
    EXPECT_GT(naJanela.y(), dentro.y()) << "client coordinates count from above the tool bar";
    EXPECT_EQ(dlg.mensagens, (QStringList{QString::number(naJanela.x()), QString::number(naJanela.y())}));

    // On the tool bar's empty part: no message.
    dlg.mensagens.clear();
    auto* barra = form->findChild<QToolBar*>("ToolBar1");
    const QPoint vazio(barra->width() - 5, 5);
    QMouseEvent naBarra(QEvent::MouseButtonPress, QPointF(vazio), barra->mapToGlobal(QPointF(vazio)), Qt::LeftButton,
                        Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(barra, &naBarra);
    processarPor(50);
    EXPECT_TRUE(dlg.mensagens.isEmpty());
    EXPECT_EQ(form->quadroAtual(), 1);
}

// ---- Home and Ctrl+S --------------------------------------------------------------------------

TEST_F(RenderForm, HomeVoltaAVistaDoInicio) {
    const EstadoVista& v = form->vista();
    tecla(Qt::Key_Up, Qt::NoModifier, 4);
    tecla(Qt::Key_PageDown);
    tecla(Qt::Key_Q, Qt::NoModifier, 2);
    tecla(Qt::Key_Minus, Qt::KeypadModifier, 10);
    tecla(Qt::Key_L);
    tecla(Qt::Key_Home);
    const EstadoVista inicio;
    EXPECT_TRUE(iguais(v.rotacao, inicio.rotacao));
    EXPECT_TRUE(iguais(v.translacao, inicio.translacao));
    EXPECT_TRUE(iguais(v.escala, inicio.escala));
    EXPECT_TRUE(v.iluminacaoLigada) << "the switches stay";
    // The numeric pad's Home too.
    tecla(Qt::Key_Left);
    tecla(Qt::Key_Home, Qt::KeypadModifier);
    EXPECT_TRUE(iguais(v.rotacao, inicio.rotacao));
}

TEST_F(RenderForm, CtrlSSalvaOQueAJanelaMostraPeloDialogo) {
    escreverSerie(tevra::home::tmp(), 3, 4, 4, folhaSubindo);
    abrir(3, 4, 4);
    pausadoEm(2);
    const QString casa = QString::fromStdString(tevra::home::raiz().string());

    // Cancelled: nothing written, and S's row (move along y) did not run.
    tecla(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(dlg.salvarPresets, QStringList{casa + "/quadro0002.png"});
    EXPECT_EQ(form->vista().translacao.y, 0);
    EXPECT_FALSE(std::filesystem::exists(tevra::home::raiz() / "quadro0002.png"));

    // Chosen: the picture of the drawing area, as a PNG.
    const std::filesystem::path foto = tevra::home::raiz() / "foto.png";
    dlg.respostas.push_back(QString::fromStdString(foto.string()));
    tecla(Qt::Key_S, Qt::ControlModifier);
    const Imagem salva = lerPng(foto);
    EXPECT_EQ(salva.largura, form->centralWidget()->width());
    EXPECT_EQ(salva.altura, form->centralWidget()->height());
    EXPECT_TRUE(dlg.mensagens.isEmpty()) << dlg.mensagens.join("\n").toStdString();

    // A place that cannot be written: said in a message, no file.
    const std::filesystem::path ruim = tevra::home::raiz() / "nao-ha" / "foto.png";
    dlg.respostas.push_back(QString::fromStdString(ruim.string()));
    tecla(Qt::Key_S, Qt::ControlModifier);
    ASSERT_EQ(dlg.mensagens.size(), 1);
    EXPECT_TRUE(dlg.mensagens[0].startsWith("The picture could not be saved: ")) << dlg.mensagens[0].toStdString();
    EXPECT_TRUE(dlg.mensagens[0].contains("foto.png"));
    EXPECT_FALSE(std::filesystem::exists(ruim.parent_path()));

    // S alone, or with Shift, still moves the surface; the frame counter is untouched throughout.
    tecla(Qt::Key_S, Qt::ShiftModifier);
    EXPECT_EQ(form->vista().translacao.y, 1);
    EXPECT_EQ(dlg.salvarPresets.size(), 3);
    EXPECT_EQ(form->quadroAtual(), 2);
}

// ---- Images ----------------------------------------------------------------------------------

TEST_F(RenderForm, GlifoIlegivelEhRelatadoUmaVezEOEmbutidoEhMostrado) {
    escreverSerie(tevra::home::tmp(), 10, 2, 2, folhaSubindo);
    abrir(10, 2, 2);
    escreverArquivo(tevra::home::imagens() / "pause_blue24_h.bmp", "not a bitmap");
    form->SpeedButton3Click();
    form->SpeedButton3Click();
    form->SpeedButton3Click();
    EXPECT_EQ(form->glifoPlay(), "pause_blue24_h.bmp");
    EXPECT_FALSE(botao("SpeedButton3")->icon().isNull());
    ASSERT_EQ(problemas.size(), 1);
    EXPECT_TRUE(problemas[0].contains("pause_blue24_h.bmp"));
    // The play glyph is still fine; removing it adds one report of its own.
    std::filesystem::remove(tevra::home::imagens() / "play_blue24_h.bmp");
    form->SpeedButton4Click();
    form->SpeedButton4Click();
    EXPECT_EQ(problemas.size(), 2);
    EXPECT_EQ(form->glifoPlay(), "play_blue24_h.bmp");
    // Each report is also a warning that does not block, never a modal message.
    EXPECT_EQ(dlg.avisos, problemas);
    EXPECT_TRUE(dlg.mensagens.isEmpty());
}

// ---- Memory, stale frames, files that never end ------------------------------------------

TEST_F(RenderForm, SerieMaiorQueAMemoriaTocaDoDiscoEDizQueTransmite) {
    // 40 frames of 10 x 10 (2,400 bytes each) with room for a handful.
    escreverSerie(tevra::home::tmp(), 40, 10, 10, folhaSubindo);
    form->definirOrcamento(120'000);
    abrir(40, 10, 10);
    ASSERT_TRUE(form->transmitindo());
    auto* aviso = form->findChild<QLabel*>("transmissao");
    ASSERT_NE(aviso, nullptr);
    EXPECT_TRUE(aviso->isVisible());
    EXPECT_EQ(aviso->text(), "Streaming from disk");
    EXPECT_EQ(status(), "Quadro: 1");
    EXPECT_LT(form->serie().orcamento(), 40u * 2400);
    EXPECT_EQ(form->serie().quadrosFalhos(), 0);

    // Played through, every frame in turn, the memory never over its share.
    QStringList vistos{status()};
    QObject::connect(form->statusBar(), &QStatusBar::messageChanged, [&](const QString& m) {
        if (vistos.isEmpty() || vistos.back() != m) vistos << m;
    });
    std::size_t maximo = 0;
    form->SpeedButton3Click();
    ASSERT_TRUE(esperar(
        [&] {
            maximo = std::max(maximo, form->serie().bytesGuardados());
            return !form->tocando();
        },
        60000));
    EXPECT_LE(maximo, form->serie().orcamento());
    QStringList esperado;
    for (int q = 1; q <= 40; ++q) esperado << QStringLiteral("Quadro: %1").arg(q);
    EXPECT_EQ(vistos, esperado);
    // Each frame came back from disk as playback reached it.
    EXPECT_NE(form->serie().quadro(40), nullptr);
    EXPECT_EQ(form->serie().quadro(40)->pos[2], 4.0f);
    EXPECT_EQ(form->serie().quadro(1), nullptr) << "frame 1 made room long ago";
    // Back to the first frame: read again.
    form->SpeedButton2Click();
    ASSERT_TRUE(esperar([&] { return form->serie().quadro(1) != nullptr; }));

    // The same series with the memory it needs is held whole.
    form->definirOrcamento(0);
    abrir(40, 10, 10);
    EXPECT_FALSE(form->transmitindo());
    EXPECT_FALSE(aviso->isVisible());
    for (int q = 1; q <= 40; ++q) ASSERT_NE(form->serie().quadro(q), nullptr) << q;
}

TEST_F(RenderForm, GradeQueNaoCabeNaMemoriaFicaVaziaComUmAviso) {
    escreverSerie(tevra::home::tmp(), 3, 10, 10, folhaSubindo);
    form->definirOrcamento(50'000);
    abrir(3, 10, 10);
    ASSERT_EQ(problemas.size(), 1);
    EXPECT_TRUE(problemas[0].contains("10 x 10")) << problemas[0].toStdString();
    EXPECT_TRUE(problemas[0].contains("memory")) << problemas[0].toStdString();
    EXPECT_EQ(form->serie().imagemDoQuadro(3), 0);
    EXPECT_EQ(form->serie().quadrosProntos(), 3);
    form->SpeedButton3Click();
    ASSERT_TRUE(esperar([&] { return !form->tocando(); }));
    EXPECT_EQ(form->quadroAtual(), 3);
}

TEST_F(RenderForm, QuadrosDeOutraGradeSaoAvisadosUmaVezPorCarga) {
    // An earlier run of a 2 x 2 grid left frames 3 and 4 among those of this 3 x 3 one.
    escreverSerie(tevra::home::tmp(), 5, 3, 3, folhaSubindo);
    for (int n : {3, 4}) escreverArquivo(caminhoQuadro(tevra::home::tmp(), n), textoQuadro(n, 2, 2, folhaSubindo));
    abrir(5, 3, 3);
    ASSERT_EQ(dlg.avisos.size(), 1);
    const QString& aviso = dlg.avisos[0];
    EXPECT_TRUE(aviso.startsWith("Frame 3 (")) << aviso.toStdString();
    EXPECT_TRUE(aviso.contains("pontos0003.txt")) << aviso.toStdString();
    EXPECT_TRUE(aviso.contains("holds 4 nodes, not the 9 of a 3 x 3 grid")) << aviso.toStdString();
    EXPECT_EQ(form->serie().imagemDoQuadro(3), 2);
    EXPECT_EQ(form->serie().imagemDoQuadro(4), 2);
    EXPECT_EQ(form->serie().imagemDoQuadro(5), 5);
    EXPECT_TRUE(problemas.isEmpty());
    // Every loading says it again, once.
    abrir(5, 3, 3);
    EXPECT_EQ(dlg.avisos.size(), 2);
    // A series of the right grid says nothing.
    escreverSerie(tevra::home::tmp(), 5, 3, 3, folhaSubindo);
    abrir(5, 3, 3);
    EXPECT_EQ(dlg.avisos.size(), 2);
}

TEST_F(RenderForm, FifoEntreOsQuadrosEhPuladoSemPrenderACarga) {
    escreverSerie(tevra::home::tmp(), 4, 2, 2, folhaSubindo);
    const auto fifo = caminhoQuadro(tevra::home::tmp(), 2);
    std::filesystem::remove(fifo);
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    form->numQuadros = 4;
    form->gradeI = 2;
    form->gradeJ = 2;
    form->show();
    const bool terminou = esperar([&] { return !form->carregando(); }, 15000);
    if (!terminou) {
        // A reader stuck in the FIFO: let it go before failing.
        const int fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0) ::close(fd);
    }
    ASSERT_TRUE(terminou) << "the load waits on the FIFO";
    EXPECT_EQ(form->serie().imagemDoQuadro(2), 1);
    EXPECT_EQ(form->serie().imagemDoQuadro(3), 3);
    EXPECT_EQ(form->serie().quadrosFalhos(), 1);
}

TEST_F(RenderForm, FecharDuranteACargaNaoEsperaLeitorPreso) {
    escreverSerie(tevra::home::tmp(), 6, 2, 2, folhaSubindo);
    auto preso = std::make_shared<LeitorPreso>();
    form->usarLeitorDeQuadros(preso->leitor());
    form->numQuadros = 6;
    form->gradeI = 2;
    form->gradeJ = 2;
    form->show();
    ASSERT_TRUE(esperar([&] {
        std::lock_guard t(preso->m);
        return preso->presos > 0;
    }));
    EXPECT_TRUE(form->carregando());

    // Should the window wait for its readers, only the watchdog would let it go on.
    std::atomic<bool> fechada{false}, soltaPeloVigia{false};
    std::thread vigia([&] {
        for (int k = 0; k < 1000 && !fechada; ++k) std::this_thread::sleep_for(std::chrono::milliseconds(10));
        if (!fechada) soltaPeloVigia = true;
        preso->soltar();
    });
    form.reset();  // as the program ends
    fechada = true;
    vigia.join();
    EXPECT_FALSE(soltaPeloVigia) << "closing waited for a reader that never returns";
    // The readers end on their own afterwards, and nothing of the window is touched.
    ASSERT_TRUE(preso->esperar([&] { return preso->terminados == preso->presos; }));
    processarPor(100);
}

TEST_F(RenderForm, BarraDeCargaContaOsQuadrosDezVezesPorSegundoNoMaximo) {
    // Each count shown repaints the whole window through OpenGL: a count per frame made the
    // repaints cost more than the reading.
    escreverSerie(tevra::home::tmp(), 40, 2, 2, folhaSubindo);
    form->usarLeitorDeQuadros([](const std::filesystem::path& arquivo, bool primeiro, NosSuperficie& nos) {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));  // 300 ms at least on four readers
        return lerQuadro(arquivo, primeiro, nos);
    });
    auto* barra = form->findChild<QProgressBar*>("progressoCarga");
    ASSERT_NE(barra, nullptr);
    std::vector<int> contagens;
    QObject::connect(barra, &QProgressBar::valueChanged, [&](int v) { contagens.push_back(v); });
    form->numQuadros = 40;
    form->gradeI = 2;
    form->gradeJ = 2;
    QElapsedTimer relogio;
    relogio.start();
    form->show();
    EXPECT_TRUE(barra->isVisible());
    ASSERT_TRUE(esperar([&] { return !form->carregando(); }, 15000));
    const qint64 ms = relogio.elapsed();
    EXPECT_FALSE(barra->isVisible());
    EXPECT_EQ(form->serie().quadrosProntos(), 40);
    ASSERT_GE(contagens.size(), 2u) << "the bar moved while the frames came in (" << ms << " ms)";
    EXPECT_LE(static_cast<qint64>(contagens.size()), ms / 100 + 2) << ms << " ms";
    EXPECT_TRUE(std::is_sorted(contagens.begin(), contagens.end()));
    EXPECT_GT(contagens.back(), 0);
}

// ---- Animation on-the-fly ------------------------------------------------------------------

TEST_F(RenderForm, ExecucaoAoVivoMostraCadaQuadroAoSerEscrito) {
    std::filesystem::remove_all(tevra::home::tmp());
    std::filesystem::create_directories(tevra::home::tmp());
    form->iniciarAoVivo(2, 3);
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(form->aoVivo());
    EXPECT_FALSE(form->carregando());
    EXPECT_EQ(form->numQuadros, 0);
    auto gravar = [&](int n) {
        const auto arquivo = caminhoQuadro(tevra::home::tmp(), n);
        escreverArquivo(arquivo, textoQuadro(n, 2, 3, folhaSubindo, 2));
        form->quadroAoVivo(n, arquivo);
    };
    for (int n = 1; n <= 3; ++n) gravar(n);
    ASSERT_TRUE(esperar([&] { return form->numQuadros == 3; }));
    EXPECT_EQ(form->quadroAtual(), 3);
    EXPECT_EQ(status(), "Quadro: 3");
    EXPECT_TRUE(form->superficieFechada());
    EXPECT_DOUBLE_EQ(form->serie().nos().z[0], 0.3);

    // Looking back at frame 2: new frames do not pull the view away.
    form->SpeedButton5Click();
    gravar(4);
    ASSERT_TRUE(esperar([&] { return form->numQuadros == 4; }));
    EXPECT_EQ(form->quadroAtual(), 2);
    form->SpeedButton1Click();
    gravar(5);
    ASSERT_TRUE(esperar([&] { return form->numQuadros == 5; }));
    EXPECT_EQ(form->quadroAtual(), 5);

    // "Render" after the run: the usual reload of the whole series.
    abrir(5, 2, 3);
    EXPECT_FALSE(form->aoVivo());
    EXPECT_EQ(form->quadroAtual(), 1);
    EXPECT_EQ(form->serie().quadrosProntos(), 5);
    escreverArquivo(caminhoQuadro(tevra::home::tmp(), 6), textoQuadro(6, 2, 3, folhaSubindo, 2));
    form->quadroAoVivo(6, caminhoQuadro(tevra::home::tmp(), 6));  // a late message from the run is ignored
    processarPor(50);
    EXPECT_EQ(form->numQuadros, 5);
}

TEST_F(RenderForm, ExecucaoAoVivoLeOsArquivosOndeAExecucaoOsEscreve) {
    // The home's tmp folder holds another series of the same grid, which must not show.
    escreverSerie(tevra::home::tmp(), 3, 2, 2, folhaSubindo, 2);
    QTemporaryDir outra;
    ASSERT_TRUE(outra.isValid());
    const std::filesystem::path pasta = outra.path().toStdString();
    auto baixando = [](int n, int i, int j) { return std::array<double, 6>{i + 10.0, j + 10.0, -n / 10.0, 0, 0, -1}; };

    form->iniciarAoVivo(2, 2);
    for (int n = 1; n <= 3; ++n) {
        const auto arquivo = caminhoQuadro(pasta, n);
        escreverArquivo(arquivo, textoQuadro(n, 2, 2, baixando, 0));
        form->quadroAoVivo(n, arquivo);
    }
    ASSERT_TRUE(esperar([&] { return form->numQuadros == 3; }));
    EXPECT_EQ(form->serie().quadrosFalhos(), 0);
    EXPECT_FALSE(form->superficieFechada()) << "frame 1 of the run, not of the home";
    EXPECT_DOUBLE_EQ(form->serie().nos().x[3], 11.0);
    EXPECT_DOUBLE_EQ(form->serie().nos().z[3], -0.3);
    EXPECT_DOUBLE_EQ(form->serie().nos().nz[0], -1.0);

    // A frame the run names but that is not there (its write failed) repeats the last one.
    form->quadroAoVivo(4, pasta / "nada.txt");
    ASSERT_TRUE(esperar([&] { return form->numQuadros == 4; }));
    EXPECT_EQ(form->serie().quadrosFalhos(), 1);
    EXPECT_EQ(form->serie().imagemDoQuadro(4), 3);
}

}  // namespace
