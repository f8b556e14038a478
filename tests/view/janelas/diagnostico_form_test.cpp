// The plot window "Diagnostics": the curves of diagnostico.csv, the user's choice of them,
// the line at the animation's frame, the file followed while it grows, and the PNG.
#include <QFile>
#include <QImage>
#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>

#include <fstream>

#include "app/janelas/janelas_teste.h"
#include "view/janelas/diagnostico_form.h"
#include "view/janelas/render_form.h"
#include "view/quadros/quadros_teste.h"

using namespace tevra;

namespace {

const char* const kCabecalho =
    "frame,time,kinetic_energy,potential_energy,total_energy,area_ratio,max_speed,max_displacement,centre_x,"
    "centre_y,centre_z\n";

std::string linha(int n) {
    const double t = (n - 1) * 0.5;
    return std::to_string(n) + "," + std::to_string(t) + "," + std::to_string(t * t) + "," + std::to_string(-t) + "," +
           std::to_string(t * t - t) + ",1,0.5,0.25,0,0," + std::to_string(-t) + "\n";
}

class DiagnosticoForm : public JanelasTeste {
protected:
    TDiagnosticoForm& d() { return *janelas->DiagnosticoForm; }
    TRenderForm& a() { return *janelas->RenderForm; }
    QString csv() { return home() + "/tmp/diagnostico.csv"; }
    void escreverCsv(int quadros) {
        std::string t = kCabecalho;
        for (int n = 1; n <= quadros; ++n) t += linha(n);
        std::ofstream(csv().toStdString(), std::ios::binary) << t;
    }
    // The animation window on a series of `quadros` frames, paused on frame 1.
    void animacao(int quadros) {
        escreverSerie(home().toStdString() + "/tmp", quadros, 3, 3, folhaSubindo);
        a().numQuadros = quadros;
        a().gradeI = 3;
        a().gradeJ = 3;
        a().show();
        ASSERT_TRUE(esperarAte([&] { return !a().carregando(); }));
        a().SpeedButton4Click();
    }
};

TEST_F(DiagnosticoForm, SemArquivoDizOndeProcura) {
    d().show();
    EXPECT_TRUE(d().curvas().isEmpty());
    EXPECT_EQ(d().pontos(), 0);
    EXPECT_TRUE(d().situacaoLabel->text().startsWith("No diagnostics in " + home() + "/tmp yet"))
        << d().situacaoLabel->text().toStdString();
    EXPECT_EQ(d().salvarPngButton->text(), "Save as PNG");
    EXPECT_EQ(d().arquivo(), std::filesystem::path(csv().toStdString()));
}

TEST_F(DiagnosticoForm, CadaColunaEhUmaCurvaQueOUsuarioEscolhe) {
    escreverCsv(5);
    d().show();
    EXPECT_EQ(d().curvas(), QStringList({"kinetic energy", "potential energy", "total energy", "area ratio",
                                         "max speed", "max displacement", "centre x", "centre y", "centre z"}));
    EXPECT_EQ(d().curvasVisiveis(), QStringList({"kinetic energy", "potential energy", "total energy"}));
    EXPECT_EQ(d().pontos(), 5);
    EXPECT_EQ(d().curvasListWidget->count(), 9);
    EXPECT_EQ(d().situacaoLabel->text(), csv() + ": 5 frames");

    // The list is the choice: a click on an item's box shows or hides its curve.
    QListWidgetItem* area = d().curvasListWidget->item(3);
    area->setCheckState(Qt::Checked);
    d().curvasListWidget->item(2)->setCheckState(Qt::Unchecked);
    EXPECT_EQ(d().curvasVisiveis(), QStringList({"kinetic energy", "potential energy", "area ratio"}));
    // The choice survives a new file.
    escreverCsv(2);
    d().recarregar();
    EXPECT_EQ(d().pontos(), 2);
    EXPECT_EQ(d().curvasVisiveis(), QStringList({"kinetic energy", "potential energy", "area ratio"}));
}

TEST_F(DiagnosticoForm, LinhaMarcaOQuadroDaAnimacao) {
    escreverCsv(4);
    animacao(6);
    d().show();
    ASSERT_EQ(a().quadroAtual(), 1);
    EXPECT_EQ(d().tempoDaMarca(), 0.0);
    a().SpeedButton6Click();
    a().SpeedButton6Click();
    EXPECT_EQ(d().tempoDaMarca(), 1.0) << "frame 3 is at time 1";
    a().SpeedButton1Click();
    EXPECT_EQ(a().quadroAtual(), 6);
    EXPECT_FALSE(d().tempoDaMarca()) << "the file has no frame 6";
    // Opened later, it marks the frame already on screen.
    d().hide();
    a().SpeedButton2Click();
    a().SpeedButton6Click();
    d().show();
    EXPECT_EQ(d().tempoDaMarca(), 0.5);
}

TEST_F(DiagnosticoForm, SegueOArquivoEnquantoUmaExecucaoEscreve) {
    escreverCsv(2);
    d().show();
    ASSERT_EQ(d().pontos(), 2);
    {
        std::ofstream f(csv().toStdString(), std::ios::binary | std::ios::app);
        f << linha(3) << linha(4);
        f << "5,2,4";  // a line being written: left for later
    }
    EXPECT_TRUE(esperarAte([&] { return d().pontos() == 4; }, 5000));
    // Hidden, it stops looking.
    d().hide();
    escreverCsv(7);
    QThread::msleep(700);
    QCoreApplication::processEvents();
    EXPECT_EQ(d().pontos(), 4);
}

TEST_F(DiagnosticoForm, ExecucaoDaJanelaPrincipalApareceNoGrafico) {
    abrir(script("a.anisot1", cenaBase()));
    d().show();
    janelas->MainForm->simularButton->click();
    ASSERT_TRUE(esperarAte([&] { return !janelas->MainForm->simulando(); }, 60000));
    EXPECT_TRUE(esperarAte([&] { return d().pontos() == 4; }, 5000)) << d().pontos();
}

TEST_F(DiagnosticoForm, SalvarComoPngEscreveOGrafico) {
    escreverCsv(5);
    d().show();
    const QString destino = home() + "/curvas.png";
    dlg.respostas.push_back(destino);
    d().salvarPngButton->click();
    ASSERT_EQ(dlg.salvarTitulos, QStringList({"Save as PNG"}));
    EXPECT_EQ(dlg.salvarPresets[0], home() + "/diagnostico.png");
    EXPECT_TRUE(dlg.salvarFiltros[0].contains("*.png"));
    QImage imagem(destino);
    ASSERT_FALSE(imagem.isNull());
    EXPECT_EQ(imagem.size(), d().graficoChartView->size() * d().graficoChartView->devicePixelRatio());
    EXPECT_TRUE(dlg.mensagens.isEmpty());

    // A place it cannot be written is said; cancelling writes nothing.
    dlg.respostas.push_back(home() + "/nao/existe.png");
    d().salvarPngButton->click();
    ASSERT_EQ(dlg.mensagens.size(), 1);
    EXPECT_EQ(dlg.mensagens[0], "The picture could not be written to " + home() + "/nao/existe.png");
    d().salvarPngButton->click();
    EXPECT_EQ(dlg.mensagens.size(), 1);
}

TEST_F(DiagnosticoForm, TeclaGDaAnimacaoAbreAJanela) {
    EXPECT_TRUE(d().isHidden());
    QKeyEvent g(QEvent::KeyPress, Qt::Key_G, Qt::NoModifier);
    QCoreApplication::sendEvent(&a(), &g);
    EXPECT_FALSE(d().isHidden());
    const EstadoVista antes = a().vista();
    QCoreApplication::sendEvent(&a(), &g);
    EXPECT_FALSE(d().isHidden());
    EXPECT_EQ(a().vista().rotacao, antes.rotacao) << "G changes nothing of the view";
}

}  // namespace
