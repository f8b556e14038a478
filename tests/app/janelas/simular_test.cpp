// "Simulate": the messages around a run, the run on its worker thread, cancelling,
// closing, the user's decimal separator, and the frames against the headless runner.
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>
#include <clocale>
#include <cstdio>
#include <cstdlib>

#include "app/janelas/fim_execucao.h"
#include "app/janelas/janelas_teste.h"
#include "app/janelas/main_form.h"

using namespace tevra;

namespace {

class MainFormSimular : public JanelasTeste {
protected:
    QString quadro(int n) { return tmp(QStringLiteral("pontos%1.txt").arg(n, 4, 10, QLatin1Char('0'))); }
    // A run long enough to be caught in the middle: one frame per 100000 steps.
    void abrirCenaLonga() {
        abrir(script("longa.anisot1", cenaBase("2000000", "30 30")));
        ASSERT_TRUE(m().scriptCarregado);
        m().intervaloEdit->setText("100000");
    }
};

const QRegularExpression kTempoIngles(QStringLiteral("^Tempo de simulação\\d+:\\d\\d:\\d\\d$"));

TEST_F(MainFormSimular, ExecucaoInformaContagemDepoisTempoEEscreveSeusQuadros) {
    abrir(script("a.anisot1", cenaBase()));
    bool rodavaNaContagem = true;
    bool haviaQuadro = true;
    dlg.aoMostrar = [&](const QString&) {
        if (dlg.mensagens.size() != 1) return;
        rodavaNaContagem = m().simulando();
        haviaQuadro = QFile::exists(quadro(1));
    };
    m().simularButton->click();
    // The run starts only once the count has been acknowledged.
    EXPECT_FALSE(rodavaNaContagem);
    EXPECT_FALSE(haviaQuadro);
    ASSERT_TRUE(esperarFim());
    ASSERT_EQ(dlg.mensagens.size(), 2) << dlg.mensagens.join("|").toStdString();
    EXPECT_EQ(dlg.mensagens[0], "1");
    EXPECT_TRUE(kTempoIngles.match(dlg.mensagens[1]).hasMatch()) << dlg.mensagens[1].toStdString();
    // 20 steps recording every 5th: frames 1 to 4, and no dumps by default.
    for (int n = 1; n <= 4; ++n) EXPECT_TRUE(QFile::exists(quadro(n))) << n;
    EXPECT_FALSE(QFile::exists(quadro(5)));
    EXPECT_TRUE(QDir(tmp()).entryList({"dados*", "dedos*"}, QDir::Files).isEmpty());
    EXPECT_TRUE(m().simularButton->isEnabled());
    EXPECT_TRUE(m().progressoBar->isHidden());
    EXPECT_TRUE(m().cancelarButton->isHidden());
    ASSERT_NE(m().objetoAtual(), nullptr);
    EXPECT_EQ(m().objetoAtual()->flagDados, 0);

    EXPECT_EQ(m().findChild<QStatusBar*>(), nullptr) << "nothing was cleared: no bar";

    // "Record data" makes the next run write the dumps too. The first run's frames and a
    // stray frame of a longer one are cleared first, said on the status bar, not in a box.
    QFile estranho(quadro(9));
    ASSERT_TRUE(estranho.open(QIODevice::WriteOnly));
    estranho.close();
    m().CheckBox2->setChecked(true);
    dlg.mensagens.clear();
    m().simularButton->click();
    ASSERT_TRUE(esperarFim());
    EXPECT_EQ(dlg.mensagens.size(), 2);
    EXPECT_FALSE(QFile::exists(quadro(9)));
    ASSERT_NE(m().findChild<QStatusBar*>(), nullptr);
    EXPECT_TRUE(m().statusBar()->currentMessage().startsWith("Removed 5 files of an earlier run"))
        << m().statusBar()->currentMessage().toStdString();
    EXPECT_TRUE(QFile::exists(tmp("dados0001.txt")));
    EXPECT_TRUE(QFile::exists(tmp("dedos0002.txt")));
    EXPECT_EQ(m().objetoAtual()->flagDados, 1);
}

TEST_F(MainFormSimular, ExportVtkEscreveUmVtuAoLadoDeCadaQuadroEOPvd) {
    abrir(script("a.anisot1", cenaBase()));
    m().simularButton->click();
    ASSERT_TRUE(esperarFim());
    EXPECT_TRUE(QDir(tmp()).entryList({"superficie*"}, QDir::Files).isEmpty()) << "off by default";

    m().exportarVtkCheckBox->setChecked(true);
    m().simularButton->click();
    ASSERT_TRUE(esperarFim());
    ASSERT_EQ(dlg.mensagens.size(), 4) << dlg.mensagens.join("|").toStdString();
    EXPECT_TRUE(kTempoIngles.match(dlg.mensagens[3]).hasMatch()) << dlg.mensagens[3].toStdString();
    EXPECT_EQ(QDir(tmp()).entryList({"superficie*"}, QDir::Files, QDir::Name),
              QStringList({"superficie.pvd", "superficie0001.vtu", "superficie0002.vtu", "superficie0003.vtu",
                           "superficie0004.vtu"}));
    QFile pvd(tmp("superficie.pvd"));
    ASSERT_TRUE(pvd.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(pvd.readAll()).count("<DataSet "), 4);
}

TEST_F(MainFormSimular, AnimacaoAoVivoRecebeCadaQuadroDaExecucao) {
    abrir(script("a.anisot1", cenaBase()));
    m().CheckBox1->setChecked(true);
    m().simularButton->click();
    ASSERT_TRUE(esperarFim());
    TRenderForm& animacao = *janelas->RenderForm;
    EXPECT_FALSE(animacao.isHidden());
    EXPECT_EQ(animacao.gradeI, 4);
    EXPECT_EQ(animacao.gradeJ, 5);
    // Frames 1 to 4 reach the window, one by one, as they are written.
    EXPECT_TRUE(esperarAte([&] { return animacao.numQuadros == 4; }, 10000)) << animacao.numQuadros;
}

TEST_F(MainFormSimular, SemRestricoesContaZero) {
    abrir(script("a.anisot1", cenaBase("20", "4 5", "", "plano 2 3 0", "n_restricoes = 0 restricoes = {")));
    m().simularButton->click();
    ASSERT_TRUE(esperarFim());
    ASSERT_EQ(dlg.mensagens.size(), 2);
    EXPECT_EQ(dlg.mensagens[0], "0");
    EXPECT_EQ(m().objetoAtual()->nRestricoes, 0);
}

TEST_F(MainFormSimular, JanelaSegueRespondendoEAExecucaoPodeSerCancelada) {
    abrirCenaLonga();
    m().simularButton->click();
    ASSERT_TRUE(m().simulando());
    EXPECT_FALSE(m().simularButton->isEnabled());
    EXPECT_FALSE(m().progressoBar->isHidden());
    EXPECT_FALSE(m().cancelarButton->isHidden());

    // The GUI thread keeps turning: a timer fires and the bar moves while the run goes on.
    bool disparou = false;
    QTimer::singleShot(0, [&] { disparou = true; });
    ASSERT_TRUE(esperarAte([&] { return disparou; }, 2000));
    ASSERT_TRUE(esperarAte([&] { return m().progressoBar->value() > 0; }));
    EXPECT_TRUE(m().simulando());
    EXPECT_EQ(m().progressoBar->maximum(), 1999999);

    // A second Simulate does not start another run.
    m().simularButtonClick();
    EXPECT_EQ(dlg.mensagens.size(), 1);
    // Other controls still work meanwhile.
    m().restricaoButton->click();
    EXPECT_FALSE(janelas->RestrForm->isHidden());

    m().cancelarButton->click();
    ASSERT_TRUE(esperarFim(30000));
    ASSERT_EQ(dlg.mensagens.size(), 3) << dlg.mensagens.join("|").toStdString();
    EXPECT_EQ(dlg.mensagens[0], "1");
    const auto cancelado =
        QRegularExpression(QStringLiteral("^The simulation was cancelled after step (\\d+) of 1999999; "
                                          "frames 1 to (\\d+) are kept\\.$"))
            .match(dlg.mensagens[1]);
    ASSERT_TRUE(cancelado.hasMatch()) << dlg.mensagens[1].toStdString();
    EXPECT_LT(cancelado.captured(1).toInt(), 1999999);
    EXPECT_TRUE(kTempoIngles.match(dlg.mensagens[2]).hasMatch()) << dlg.mensagens[2].toStdString();
    const int guardados = cancelado.captured(2).toInt();
    ASSERT_GE(guardados, 1);
    for (int n = 1; n <= guardados; ++n) EXPECT_TRUE(QFile::exists(quadro(n))) << n;
    EXPECT_FALSE(QFile::exists(quadro(guardados + 1)));
    EXPECT_TRUE(m().simularButton->isEnabled());
    EXPECT_TRUE(m().progressoBar->isHidden());

    // And the window simulates again afterwards.
    dlg.mensagens.clear();
    m().intervaloEdit->setText("5");
    m().quadrosEdit->setText("20");
    m().simularButton->click();
    ASSERT_TRUE(esperarFim());
    EXPECT_EQ(dlg.mensagens.size(), 2);
}

TEST_F(MainFormSimular, FecharAJanelaPrincipalParaAExecucaoEmSilencio) {
    abrirCenaLonga();
    m().show();
    m().simularButton->click();
    ASSERT_TRUE(esperarAte([&] { return m().progressoBar->value() > 0; }));
    m().close();
    EXPECT_FALSE(m().simulando());
    EXPECT_TRUE(m().isHidden());
    QCoreApplication::processEvents();
    EXPECT_EQ(dlg.mensagens, QStringList({"1"}));
    EXPECT_TRUE(QFile::exists(quadro(1)));
}

TEST_F(MainFormSimular, LocaleDeVirgulaLeVirgulasERecusaPontos) {
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    abrir(script("a.anisot1", cenaBase()));
    // The script was written with points; the boxes show this user's commas.
    EXPECT_EQ(m().massaEdit->text(), "1,5");
    EXPECT_EQ(m().eta_01_Edit->text(), "0,1");
    m().passoEdit->setText("0,5");
    const auto o = m().criarObjeto();
    EXPECT_EQ(o->passo, 0.5);
    EXPECT_EQ(o->massa, 1.5);
    EXPECT_EQ(o->acel[2], -9.8);

    m().passoEdit->setText("0.5");
    m().simularButton->click();
    EXPECT_EQ(dlg.mensagens, QStringList({"'0.5' is not a valid floating point value\ntime step"}));

    dlg.mensagens.clear();
    m().passoEdit->setText("0,001");
    m().simularButton->click();
    ASSERT_TRUE(esperarFim());
    ASSERT_EQ(dlg.mensagens.size(), 2);
    // Brazilian time: two-digit hours, no time zone.
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^Tempo de simulação\\d\\d:\\d\\d:\\d\\d$"))
                    .match(dlg.mensagens[1])
                    .hasMatch())
        << dlg.mensagens[1].toStdString();
}

// Builds a comma-decimal C-library locale in a private folder, so the test does not depend
// on the locales a machine happens to have installed.
bool localeVirgula(const QString& pasta) {
    const QString destino = pasta + "/pt_BR.UTF-8";
    if (QProcess::execute("localedef", {"-i", "pt_BR", "-f", "UTF-8", destino}) < 0) return false;
    if (!QDir(destino).exists()) return false;
    qputenv("LOCPATH", pasta.toLocal8Bit());
    if (!std::setlocale(LC_ALL, "pt_BR.UTF-8")) return false;
    char buf[16];
    std::snprintf(buf, sizeof buf, "%.1f", 1.5);
    return std::string(buf) == "1,5";
}

// A user of a comma-decimal locale opens the example and presses Simulate, changing
// nothing: the boxes show commas, the files are those of the runner, byte for byte.
TEST_F(MainFormSimular, QuadrosDoExemploIguaisAosDoTevraSimSobLocaleDeVirgula) {
    const QString exemplo = QStringLiteral(TEVRA_SOURCE_DIR "/assets/scenes/script.anisot1");
    const QString pastaSim = home() + "/sim";
    std::string erro;
    ASSERT_EQ(rodarTevraSim(exemplo, pastaSim, &erro), 0) << erro;

    // Qt puts the user's locale into the C library; the files must not notice.
    const std::string localeAntes = std::setlocale(LC_ALL, nullptr);
    QTemporaryDir locais;
    const bool virgula = localeVirgula(locais.path());
    if (!virgula) std::printf("[ note     ] no comma-decimal C locale could be made; running in the C locale\n");
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));

    abrir(exemplo);
    ASSERT_TRUE(m().scriptCarregado);
    EXPECT_EQ(m().passoEdit->text(), "0,0002");
    EXPECT_EQ(m().gamaEdit->text(), "0,5");
    EXPECT_EQ(m().fluido_cte_Edit->text(), "0,05");
    EXPECT_EQ(m().acel_z_Edit->text(), "-9,8");
    EXPECT_EQ(m().quadrosEdit->text(), "9976") << "integers as they stand";
    m().simularButton->click();
    const bool terminou = esperarFim(600000);
    std::setlocale(LC_ALL, localeAntes.c_str());
    qunsetenv("LOCPATH");
    ASSERT_TRUE(terminou);
    ASSERT_EQ(dlg.mensagens.size(), 2) << dlg.mensagens.join("|").toStdString();
    EXPECT_EQ(dlg.mensagens[0], "2");

    EXPECT_EQ(arquivosDiferentes(pastaSim, tmp(), "pontos*.txt", 400), 0);
    EXPECT_EQ(arquivosDiferentes(pastaSim, tmp(), "diagnostico.csv", 1), 0);
}

TEST(MensagensDoFim, DivergenciaTomaOLugarDoTempo) {
    ResultadoExecucao r;
    r.passos = 40;
    r.passosTotais = 100;
    r.quadros = 4;
    const QLocale en(QLocale::English, QLocale::UnitedStates);
    EXPECT_EQ(mensagensDoFim(r, {}, 61000, en), QStringList({"Tempo de simulação0:01:01"}));

    r.divergencia = Divergencia{41, 0.041, 2, 3, "velocity z"};
    const QStringList m = mensagensDoFim(r, {}, 61000, en);
    ASSERT_EQ(m.size(), 1);
    EXPECT_EQ(m[0].toStdString(), textoDivergencia(r));
    EXPECT_TRUE(m[0].startsWith("The run diverged at step 41")) << m[0].toStdString();

    // What else went wrong still comes first, in its order.
    r.falhas = 2;
    r.primeiraFalha = FalhaEscrita{"/x/pontos0002.txt", "No space left on device"};
    r.cancelado = true;
    const QStringList todas = mensagensDoFim(r, "Out of memory", 1000, en);
    ASSERT_EQ(todas.size(), 4);
    EXPECT_EQ(todas[0], "Out of memory");
    EXPECT_TRUE(todas[1].startsWith("The simulation was cancelled"));
    EXPECT_EQ(todas[2].toStdString(), textoFalhas(r));
    EXPECT_TRUE(todas[3].startsWith("The run diverged"));
}

}  // namespace
