// File > "Novo" and "Salvar", the View menu, and what the main window says before a run.
#include <QAction>
#include <QComboBox>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTableWidget>

#include "app/janelas/janelas_teste.h"
#include "app/janelas/main_form.h"
#include "app/janelas/restr_form.h"
#include "view/janelas/diagnostico_form.h"

using namespace tevra;

namespace {

class MainFormArquivo : public JanelasTeste {
protected:
    // "Simulate", answering its messages; false when the run did not end.
    bool simular() {
        m().simularButton->click();
        return esperarFim(120000);
    }
    QString lerTexto(const QString& caminho) {
        QFile f(caminho);
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }
};

TEST_F(MainFormArquivo, MenusTrazemNovoAbrirSalvarEDiagnosticos) {
    EXPECT_EQ(m().Arquivo1->title(), "File");
    QStringList itens;
    for (QAction* a : m().Arquivo1->actions()) itens << a->text();
    EXPECT_EQ(itens, QStringList({"Novo", "Abrir", "Salvar"}));
    EXPECT_EQ(m().Salvar1->shortcut(), QKeySequence(QStringLiteral("Ctrl+S")));
    EXPECT_EQ(m().Exibir1->title(), "View");
    ASSERT_EQ(m().Exibir1->actions().size(), 1);
    EXPECT_EQ(m().Exibir1->actions()[0]->text(), "Diagnostics");

    TDiagnosticoForm& d = *janelas->DiagnosticoForm;
    EXPECT_TRUE(d.isHidden());
    EXPECT_EQ(d.windowTitle(), "Diagnostics");
    m().Diagnosticos1->trigger();
    EXPECT_FALSE(d.isHidden());
    d.close();
    EXPECT_TRUE(d.isHidden()) << "closing only hides it";
    m().Diagnosticos1->trigger();
    EXPECT_FALSE(d.isHidden());
}

TEST_F(MainFormArquivo, NovoEncheAJanelaESimulaSemMaisNada) {
    // Whatever was there before goes: a fluid, another shape, other restrictions.
    abrir(script("a.anisot1", cenaBase("20", "4 5", "fluido = cte = 0.3 x = 4 y = 5 z = 6\n", "qualquer 1 2")));
    m().Abiri1->trigger();
    EXPECT_TRUE(m().scriptCarregado);
    EXPECT_EQ(m().scriptLabel->text(), "<new scene>");
    EXPECT_EQ(m().objetoComboBox->currentText(), "plano");
    EXPECT_FALSE(m().planoPanel->isHidden());
    EXPECT_EQ(m().fluido_cte_Edit->text(), "") << "no fluid";
    EXPECT_EQ(m().passoEdit->text(), "0.0002");
    EXPECT_EQ(m().grade_i_Edit->text(), "10");
    EXPECT_EQ(janelas->RestrForm->linhas(), 3);
    for (QLineEdit* e : m().findChildren<QLineEdit*>()) {
        if (!e->objectName().startsWith("fluido")) {
            EXPECT_FALSE(e->text().isEmpty()) << e->objectName().toStdString();
        }
    }

    // The whole scene runs to its end in the scene tests; a fifth of it is enough here.
    m().quadrosEdit->setText("1001");
    ASSERT_TRUE(simular());
    ASSERT_EQ(dlg.mensagens.size(), 2) << dlg.mensagens.join("|").toStdString();
    EXPECT_EQ(dlg.mensagens[0], "2");
    EXPECT_TRUE(dlg.mensagens[1].startsWith("Tempo de simulação")) << dlg.mensagens[1].toStdString();
    EXPECT_TRUE(dlg.avisos.isEmpty());
    EXPECT_EQ(QDir(tmp()).entryList({"pontos*.txt"}, QDir::Files).size(), 41);
}

TEST_F(MainFormArquivo, NovoNumLocaleDeVirgulaMostraVirgulas) {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    m().Abiri1->trigger();
    EXPECT_EQ(m().passoEdit->text(), "0,0002");
    EXPECT_EQ(m().acel_z_Edit->text(), "-9,8");
    EXPECT_EQ(m().criarObjeto()->passo, 0.0002);
}

// What the window holds, saved and opened again, simulates to the same bytes; the runner
// reads the saved script to the same bytes too, whatever the window's decimal separator.
TEST_F(MainFormArquivo, SalvarEAbrirDaoOsMesmosQuadros) {
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    abrir(script("a.anisot1", cenaBase("41", "5 4", "fluido = cte = 0.3 x = 0.4 y = 0.5 z = 6\n", "plano 2 3 0.5",
                                       "n_restricoes = 2\nrestricoes = {\n 0 0 fixo i=0 f=100 x=0 y=1 z=0\n"
                                       " 4 3 forca i=0 f=20 x=0.25 y=0 z=-1.5\n}\n")));
    // Values the user typed after loading are what gets saved.
    m().gamaEdit->setText("0,125");
    m().eta_01_Edit->setText("1e-1");
    m().solverComboBox->setCurrentText("Runge-Kutta");
    ASSERT_TRUE(simular());
    const QString antes = home() + "/antes";
    ASSERT_TRUE(QDir().rename(tmp(), antes));
    ASSERT_TRUE(QDir().mkpath(tmp()));

    const QString salvo = home() + "/scripts/meu.anisot1";
    dlg.respostas.push_back(salvo);
    m().Salvar1->trigger();
    ASSERT_EQ(dlg.salvarPresets.size(), 1);
    EXPECT_EQ(dlg.salvarPresets[0], home() + "/scripts/a.anisot1") << "the home's scripts folder";
    EXPECT_TRUE(dlg.salvarFiltros[0].contains("*.anisot1"));
    EXPECT_EQ(m().scriptLabel->text(), salvo);
    const QString texto = lerTexto(salvo);
    EXPECT_TRUE(texto.contains("gama = 0.125\n")) << texto.toStdString();
    EXPECT_TRUE(texto.contains("solver = Runge-Kutta")) << texto.toStdString();
    EXPECT_FALSE(texto.contains("0,")) << "files hold points";

    m().Abiri1->trigger();  // something else in the window first
    abrir(salvo);
    EXPECT_EQ(m().gamaEdit->text(), "0,125");
    EXPECT_EQ(m().solverComboBox->currentText(), "Runge-Kutta");
    dlg.mensagens.clear();
    ASSERT_TRUE(simular());
    EXPECT_EQ(dlg.mensagens.size(), 2) << dlg.mensagens.join("|").toStdString();
    EXPECT_EQ(arquivosDiferentes(antes, tmp(), "pontos*.txt", 9), 0);
    EXPECT_EQ(arquivosDiferentes(antes, tmp(), "diagnostico.csv", 1), 0);

    const QString pastaSim = home() + "/sim";
    std::string erro;
    ASSERT_EQ(rodarTevraSim(salvo, pastaSim, &erro), 0) << erro;
    EXPECT_EQ(arquivosDiferentes(antes, pastaSim, "pontos*.txt", 9), 0);
}

TEST_F(MainFormArquivo, SalvarComValorRuimApontaACaixaENaoAbreODialogo) {
    abrir(script("a.anisot1", cenaBase()));
    m().massaEdit->setText("muito");
    m().Salvar1->trigger();
    EXPECT_EQ(dlg.mensagens, QStringList({"'muito' is not a valid floating point value\nmass"}));
    EXPECT_EQ(m().focusWidget(), m().massaEdit);
    EXPECT_TRUE(dlg.salvarPresets.isEmpty());

    // A folder that cannot take the file: said, and the window keeps its script.
    m().massaEdit->setText("1");
    dlg.mensagens.clear();
    dlg.respostas.push_back(home() + "/nao/existe/x.anisot1");
    m().Salvar1->trigger();
    ASSERT_EQ(dlg.mensagens.size(), 1);
    EXPECT_TRUE(dlg.mensagens[0].startsWith("The scene could not be saved: " + home() + "/nao/existe/x.anisot1: "))
        << dlg.mensagens[0].toStdString();
    EXPECT_EQ(m().scriptLabel->text(), home() + "/a.anisot1");
    // Cancelling the dialog writes nothing.
    dlg.mensagens.clear();
    m().Salvar1->trigger();
    EXPECT_TRUE(dlg.mensagens.isEmpty());
    EXPECT_TRUE(QDir(home() + "/scripts").entryList(QDir::Files).isEmpty());
}

TEST_F(MainFormArquivo, RestricoesForaDaGradeSaoListadasAntesDaExecucao) {
    abrir(script("a.anisot1", cenaBase("20", "4 5", "", "plano 2 3 0",
                                       "n_restricoes = 3\nrestricoes = {\n 0 0 fixo i=0 f=100 x=0 y=0 z=0\n"
                                       " 4 0 fixo i=0 f=100 x=0 y=0 z=0\n 1 7 forca i=0 f=9 x=1 y=0 z=0\n}\n")));
    int avisosNaContagem = -1;
    dlg.aoMostrar = [&](const QString&) {
        if (avisosNaContagem < 0) avisosNaContagem = static_cast<int>(dlg.avisos.size());
    };
    ASSERT_TRUE(simular());
    EXPECT_EQ(avisosNaContagem, 1) << "the warning comes before the run starts";
    EXPECT_EQ(dlg.avisos, QStringList({"Restrictions 1 (node 4, 0) and 2 (node 1, 7) lie outside the 4 x 5 grid and "
                                       "are ignored."}));
    ASSERT_EQ(dlg.mensagens.size(), 2);
    EXPECT_EQ(dlg.mensagens[0], "3") << "the count is the table's rows, as always";

    // Inside the grid: no warning.
    dlg.avisos.clear();
    dlg.mensagens.clear();
    m().grade_i_Edit->setText("5");
    m().grade_j_Edit->setText("8");
    ASSERT_TRUE(simular());
    EXPECT_TRUE(dlg.avisos.isEmpty()) << dlg.avisos.join("|").toStdString();
}

}  // namespace
