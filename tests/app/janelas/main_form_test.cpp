// The main and restrictions windows as a user meets them: start-up state, loading
// scripts, the set-up's refusals and "Render".
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <set>

#include "app/janelas/janelas_teste.h"
#include "app/janelas/main_form.h"
#include "app/janelas/restr_form.h"
#include "base/conversao.h"
#include "model/solver.h"
#include "view/janelas/matriz_form.h"
#include "view/janelas/render_form.h"

using namespace tevra;

namespace {

const char* const kTodasAsCaixas[] = {
    "quadrosEdit",  "passoEdit",    "gamaEdit",    "fluido_cte_Edit", "fluido_x_Edit", "fluido_y_Edit", "fluido_z_Edit",
    "vel_x_Edit",   "vel_y_Edit",   "vel_z_Edit",  "acel_x_Edit",     "acel_y_Edit",   "acel_z_Edit",   "massaEdit",
    "grade_i_Edit", "grade_j_Edit", "eta_00_Edit", "eta_01_Edit",     "eta_10_Edit",   "eta_11_Edit",   "qsi_00_Edit",
    "qsi_01_Edit",  "qsi_10_Edit",  "qsi_11_Edit", "psi_00_Edit",     "psi_01_Edit",   "psi_10_Edit",   "psi_11_Edit",
    "comp_x_Edit",  "comp_y_Edit",  "comp_z_Edit", "raioEdit",        "compEdit",      "tempoEdit",     "intervaloEdit",
};

class MainForm : public JanelasTeste {
protected:
    TMainForm& m() { return *janelas->MainForm; }
    TRestrForm& r() { return *janelas->RestrForm; }
    QString caixa(const char* nome) {
        auto* e = m().findChild<QLineEdit*>(QString::fromLatin1(nome));
        EXPECT_NE(e, nullptr) << nome;
        return e ? e->text() : QString();
    }
    void digitar(const char* nome, const QString& texto) {
        auto* e = m().findChild<QLineEdit*>(QString::fromLatin1(nome));
        ASSERT_NE(e, nullptr) << nome;
        e->setText(texto);
    }
    // Rows of the restrictions window, column 0 included.
    std::vector<QStringList> grade() {
        std::vector<QStringList> linhas;
        for (int l = 0; l < r().linhas(); ++l) {
            QStringList cel;
            for (int c = 0; c <= 8; ++c) cel << r().celula(c, l);
            linhas.push_back(cel);
        }
        return linhas;
    }
    std::string texto(const QString& q) { return q.toStdString(); }
};

// ---------------------------------------------------------------------------------------
// Start-up

TEST_F(MainForm, JanelasComecamComSeusTitulosTamanhosELugares) {
    EXPECT_EQ(m().windowTitle(), "Tevra 1.0");
    EXPECT_EQ(m().size(), QSize(748, 622));
    EXPECT_EQ(m().pos(), QPoint(178, 87));
    EXPECT_EQ(r().windowTitle(), "Restrictions");
    EXPECT_EQ(r().size(), QSize(608, 628));
    EXPECT_EQ(r().pos(), QPoint(223, 42));
    EXPECT_EQ(janelas->DadosForm->windowTitle(), "Simulacao");
    EXPECT_EQ(janelas->MatrizForm->windowTitle(), "Matrizes");
    // Nothing but the main window is shown by the program; the others wait hidden.
    for (QWidget* w : std::initializer_list<QWidget*>{janelas->RestrForm.get(), janelas->DadosForm.get(),
                                                      janelas->MatrizForm.get(), janelas->RenderForm.get()}) {
        EXPECT_TRUE(w->isHidden()) << w->objectName().toStdString();
        EXPECT_FALSE(w->testAttribute(Qt::WA_QuitOnClose)) << w->objectName().toStdString();
        EXPECT_FALSE(w->testAttribute(Qt::WA_DeleteOnClose)) << w->objectName().toStdString();
    }
    EXPECT_TRUE(m().testAttribute(Qt::WA_QuitOnClose));
    EXPECT_FALSE(m().scriptCarregado);
    EXPECT_EQ(m().objetoAtual(), nullptr);
}

TEST_F(MainForm, ControlesTrazemSeusNomesETextos) {
    for (const char* nome : kTodasAsCaixas) EXPECT_EQ(caixa(nome), "") << nome;
    EXPECT_EQ(caixa("Edit1"), "<no file>");
    EXPECT_EQ(m().scriptLabel->objectName(), "scriptLabel");
    EXPECT_EQ(m().scriptLabel->text(), "<no file>");

    const std::pair<const char*, const char*> botoes[] = {
        {"restricaoButton", "Restrictions"}, {"simularButton", "Simulate"}, {"Button3", "Load"}, {"Button1", "Render"},
        {"gerarDadosButton", "Data"},        {"Button2", "Exit"},
    };
    for (const auto& [nome, legenda] : botoes) {
        auto* b = m().findChild<QPushButton*>(nome);
        ASSERT_NE(b, nullptr) << nome;
        EXPECT_EQ(b->text(), legenda);
        EXPECT_EQ(b->isEnabled(), std::string(nome) != "gerarDadosButton") << nome;
    }
    const std::pair<const char*, const char*> marcas[] = {{"CheckBox3", "Record points"},
                                                          {"CheckBox2", "Record data"},
                                                          {"exportarVtkCheckBox", "Export VTK"},
                                                          {"CheckBox1", "Animation on-the-fly"}};
    for (const auto& [nome, legenda] : marcas) {
        auto* c = m().findChild<QCheckBox*>(nome);
        ASSERT_NE(c, nullptr) << nome;
        EXPECT_EQ(c->text(), legenda);
        EXPECT_FALSE(c->isChecked());
    }

    auto* solver = m().findChild<QComboBox*>("solverComboBox");
    ASSERT_NE(solver, nullptr);
    QStringList itens;
    for (int k = 0; k < solver->count(); ++k) itens << solver->itemText(k);
    EXPECT_EQ(itens, QStringList({"Semi-explicit Euler", "Midpoint", "Runge-Kutta", "Leapfrog", "Verlet"}));
    EXPECT_EQ(solver->currentText(), "Semi-explicit Euler");
    auto* objeto = m().findChild<QComboBox*>("objetoComboBox");
    ASSERT_NE(objeto, nullptr);
    itens.clear();
    for (int k = 0; k < objeto->count(); ++k) itens << objeto->itemText(k);
    EXPECT_EQ(itens, QStringList({"", "plano", "cilindro"}));
    EXPECT_EQ(objeto->currentText(), "");

    std::set<QString> rotulos;
    for (auto* l : m().findChildren<QLabel*>()) rotulos.insert(l->text());
    for (const char* t : {"iterations", "time step", "damp D", "damp R", "u",
                          "v",          "g",         "x",      "y",      "z",
                          "Solver",     "mass",      "grid",   "zeta",   "xi",
                          "psi",        "object",    "00",     "01",     "10",
                          "11",         "Lenghts",   "Ray",    "Lenght", "Select an object",
                          "Time",       "Interval",  "Script:"})
        EXPECT_TRUE(rotulos.count(QString::fromUtf8(t))) << t;
    std::set<QString> grupos;
    for (auto* g : m().findChildren<QGroupBox*>()) grupos.insert(g->title());
    EXPECT_EQ(grupos, (std::set<QString>{"Simulation", "Surface", "Animation"}));

    ASSERT_NE(m().findChild<QMenu*>("Arquivo1"), nullptr);
    EXPECT_EQ(m().Arquivo1->title(), "File");
    EXPECT_EQ(m().findChild<QAction*>("Abiri1")->text(), "Novo");
    EXPECT_EQ(m().findChild<QAction*>("Abrir1")->text(), "Abrir");

    // Run controls appear only while a run lasts.
    EXPECT_TRUE(m().progressoBar->isHidden());
    EXPECT_TRUE(m().cancelarButton->isHidden());
}

TEST_F(MainForm, GradeDeRestricoesComecaComCabecalhosEUmaLinhaVazia) {
    auto* g = r().findChild<QTableWidget*>("restrStringGrid");
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->editTriggers(), QAbstractItemView::NoEditTriggers);
    const auto linhas = grade();
    ASSERT_EQ(linhas.size(), 2u);
    EXPECT_EQ(linhas[0], QStringList({"", "U", "V", "Tipo", "Inicio", "Fim", "X", "Y", "Z"}));
    EXPECT_EQ(linhas[1], QStringList(9, QString()));
    // A row without a header item of its own would show its number.
    EXPECT_EQ(g->model()->headerData(0, Qt::Vertical).toString().toStdString(), "");
}

TEST_F(MainForm, ComboDaFormaMostraUmSoPainel) {
    auto escolher = [&](int k) {
        m().objetoComboBox->setCurrentIndex(k);
        emit m().objetoComboBox->activated(k);
    };
    auto estado = [&] {
        return std::tuple{!m().planoPanel->isHidden(), !m().cilindroPanel->isHidden(), !m().objectPanel->isHidden()};
    };
    EXPECT_EQ(estado(), std::tuple(false, false, true));
    escolher(1);
    EXPECT_EQ(estado(), std::tuple(true, false, false));
    escolher(2);
    EXPECT_EQ(estado(), std::tuple(false, true, false));
    escolher(0);
    EXPECT_EQ(estado(), std::tuple(false, false, true));
}

// ---------------------------------------------------------------------------------------
// Loading scripts

TEST_F(MainForm, CargaPreencheCadaCaixaOComboEAGrade) {
    const QString caminho =
        script("cena.anisot1", cenaBase("1e3", "4 5", "fluido = cte = 0.3 x = 4 y = 5 z = 6\n", "plano 2 3 0",
                                        "n_restricoes = 3\nrestricoes = {\n"
                                        " 0 0 fixo i=0 f=100 x=0 y=1 z=0\n"
                                        " 3 4 forca inicio=5 fim=9 fx=0.5 fy=0 fz=-1.5\n"
                                        " 1 2 outro 7 a=b=8 k= 1 1e-3\n}\n"));
    abrir(caminho);
    EXPECT_TRUE(dlg.mensagens.isEmpty()) << texto(dlg.mensagens.join("|"));
    ASSERT_EQ(dlg.presets.size(), 1);
    EXPECT_EQ(dlg.presets[0], home() + "/scripts/script.anisot1");
    EXPECT_EQ(m().scriptLabel->text(), caminho);
    EXPECT_TRUE(m().scriptCarregado);

    const std::pair<const char*, const char*> esperado[] = {
        {"passoEdit", "0.001"},   {"quadrosEdit", "1e3"}, {"intervaloEdit", "5"},     {"tempoEdit", "7"},
        {"grade_i_Edit", "4"},    {"grade_j_Edit", "5"},  {"acel_x_Edit", "0.1"},     {"acel_y_Edit", "0.2"},
        {"acel_z_Edit", "-9.8"},  {"vel_x_Edit", "1"},    {"vel_y_Edit", "2"},        {"vel_z_Edit", "3"},
        {"eta_00_Edit", "2"},     {"eta_01_Edit", "0.1"}, {"eta_10_Edit", "0.2"},     {"eta_11_Edit", "2"},
        {"qsi_00_Edit", "0.001"}, {"qsi_01_Edit", "0"},   {"qsi_10_Edit", "0"},       {"qsi_11_Edit", "0.002"},
        {"psi_00_Edit", "0"},     {"psi_01_Edit", "0"},   {"psi_10_Edit", "0"},       {"psi_11_Edit", "0"},
        {"massaEdit", "1.5"},     {"gamaEdit", "0.05"},   {"fluido_cte_Edit", "0.3"}, {"fluido_x_Edit", "4"},
        {"fluido_y_Edit", "5"},   {"fluido_z_Edit", "6"}, {"comp_x_Edit", "2"},       {"comp_y_Edit", "3"},
        {"comp_z_Edit", "0"},     {"raioEdit", ""},       {"compEdit", ""},
    };
    for (const auto& [nome, valor] : esperado) EXPECT_EQ(caixa(nome), valor) << nome;
    EXPECT_EQ(m().objetoComboBox->currentText(), "plano");
    EXPECT_FALSE(m().planoPanel->isHidden());
    EXPECT_TRUE(m().objectPanel->isHidden());

    const auto linhas = grade();
    ASSERT_EQ(linhas.size(), 4u);
    EXPECT_EQ(linhas[1], QStringList({"0", "0", "0", "fixo", "0", "100", "0", "1", "0"}));
    EXPECT_EQ(linhas[2], QStringList({"1", "3", "4", "forca", "5", "9", "0.5", "0", "-1.5"}));
    // Everything after the first "=", the whole token without one, nothing after a final one.
    EXPECT_EQ(linhas[3], QStringList({"2", "1", "2", "outro", "7", "b=8", "", "1", "1e-3"}));
}

TEST_F(MainForm, DisposicaoDoScriptNaoImporta) {
    abrir(script("a.anisot1", cenaBase()));
    const FormularioCena referencia = m().lerFormulario();

    // Comments between sections, one token per line, and arbitrary vector labels.
    std::string outro = "comentario qualquer\n" + cenaBase();
    for (char& c : outro)
        if (c == ' ') c = '\n';
    const std::string rotulos = "aceleracao\n=\nA\nB\n0.1\nC\nD\n0.2\nE\nF\n-9.8";
    outro.replace(outro.find("aceleracao"), outro.find("velocidade") - outro.find("aceleracao"),
                  rotulos + "\nnotas soltas\n");
    novasJanelas();
    abrir(script("b.anisot1", outro));
    ASSERT_TRUE(m().scriptCarregado) << texto(dlg.mensagens.join("|"));
    const FormularioCena b = m().lerFormulario();
    EXPECT_EQ(b.caixas, referencia.caixas);
    EXPECT_EQ(b.objeto, referencia.objeto);
    EXPECT_EQ(b.restricoes, referencia.restricoes);
}

TEST_F(MainForm, SecoesPuladasMantemOQueAsCaixasTinham) {
    // The user's fluid survives a script without one; a cylinder leaves the plane's
    // lengths of the earlier script alone.
    abrir(script("plano.anisot1", cenaBase()));
    digitar("fluido_cte_Edit", "0.7");
    digitar("fluido_x_Edit", "u1");
    abrir(script("tubo.anisot1", cenaBase("20", "4 5", "", "qualquer 0.5 8")));
    EXPECT_EQ(caixa("fluido_cte_Edit"), "0.7");
    EXPECT_EQ(caixa("fluido_x_Edit"), "u1");
    EXPECT_EQ(m().objetoComboBox->currentText(), "cilindro");
    EXPECT_FALSE(m().cilindroPanel->isHidden());
    EXPECT_TRUE(m().planoPanel->isHidden());
    EXPECT_EQ(caixa("raioEdit"), "0.5");
    EXPECT_EQ(caixa("compEdit"), "8");
    EXPECT_EQ(caixa("comp_x_Edit"), "2");
    EXPECT_EQ(caixa("comp_y_Edit"), "3");
    // A fluid block after the shape is never reached.
    abrir(script("tarde.anisot1", cenaBase("20", "4 5", "", "plano 1 1 0 fluido = cte = 9 x = 9 y = 9 z = 9")));
    EXPECT_EQ(caixa("fluido_cte_Edit"), "0.7");
}

TEST_F(MainForm, CadaCargaSubstituiAGradeInteira) {
    abrir(script("tres.anisot1", cenaBase("20", "4 5", "", "plano 2 3 0",
                                          "n_restricoes = 3\nrestricoes = {\n 0 0 fixo i=0 f=1 x=0 y=0 z=0\n"
                                          " 1 1 fixo i=0 f=1 x=0 y=0 z=0\n 2 2 fixo i=0 f=1 x=0 y=0 z=0\n}\n")));
    ASSERT_EQ(r().linhas(), 4);
    EXPECT_EQ(r().celula(0, 3), "2");
    abrir(script("um.anisot1", cenaBase()));
    const auto linhas = grade();
    ASSERT_EQ(linhas.size(), 2u);
    EXPECT_EQ(linhas[1], QStringList({"0", "0", "0", "fixo", "0", "100", "0", "0", "0"}));
    abrir(script("zero.anisot1", cenaBase("20", "4 5", "", "plano 2 3 0", "n_restricoes = 0 restricoes = {")));
    EXPECT_EQ(r().linhas(), 1);
    EXPECT_EQ(r().restrStringGrid->rowCount(), 0);
    EXPECT_TRUE(dlg.mensagens.isEmpty()) << texto(dlg.mensagens.join("|"));
}

TEST_F(MainForm, ContagemRuimOuArquivoCurtoMantemGradeEEstado) {
    // Before any complete load: the message, the boxes read so far, nothing else.
    abrir(script("ruim.anisot1", cenaBase("20", "4 5", "", "plano 2 3 0", "n_restricoes = dois restricoes = {")));
    ASSERT_EQ(dlg.mensagens, QStringList({"'dois' is not a valid integer value"}));
    EXPECT_FALSE(m().scriptCarregado);
    EXPECT_EQ(caixa("massaEdit"), "1.5");
    EXPECT_EQ(m().objetoComboBox->currentText(), "plano");
    EXPECT_EQ(grade().size(), 2u);
    EXPECT_EQ(grade()[1], QStringList(9, QString()));

    abrir(script("bom.anisot1", cenaBase()));
    ASSERT_TRUE(m().scriptCarregado);
    const auto antes = grade();

    // A file that ends inside the restrictions, and one that ends before the shape.
    dlg.mensagens.clear();
    abrir(
        script("curto.anisot1", cenaBase("20", "9 9", "", "plano 2 3 0", "n_restricoes = 2 restricoes = { 0 0 fixo")));
    ASSERT_EQ(dlg.mensagens.size(), 1);
    EXPECT_FALSE(dlg.mensagens[0].isEmpty());
    EXPECT_EQ(caixa("grade_i_Edit"), "9");
    EXPECT_EQ(grade(), antes);
    EXPECT_TRUE(m().scriptCarregado);

    std::string cortado = cenaBase("20", "4 6");
    cortado.resize(cortado.find("obj_deformavel"));
    abrir(script("cortado.anisot1", cortado));
    EXPECT_EQ(dlg.mensagens.size(), 2);
    EXPECT_EQ(caixa("grade_j_Edit"), "6");
    EXPECT_EQ(m().scriptLabel->text(), home() + "/cortado.anisot1");
    EXPECT_EQ(grade(), antes);
}

TEST_F(MainForm, CancelarODialogoNaoMudaNada) {
    janelas->MainForm->Abrir1->trigger();  // no answer queued: the user cancels
    EXPECT_EQ(dlg.presets.size(), 1);
    EXPECT_EQ(m().scriptLabel->text(), "<no file>");
    EXPECT_FALSE(m().scriptCarregado);
    EXPECT_TRUE(dlg.mensagens.isEmpty());

    abrir(home() + "/nao-existe.anisot1");
    EXPECT_EQ(m().scriptLabel->text(), home() + "/nao-existe.anisot1");
    EXPECT_EQ(dlg.mensagens.size(), 1);
    EXPECT_FALSE(m().scriptCarregado);
}

// ---------------------------------------------------------------------------------------
// Set-up from the window

TEST_F(MainForm, MontagemLeAJanelaNaoOScript) {
    abrir(script("a.anisot1", cenaBase("1e3", "4 5", "", "plano 2 3 0",
                                       "n_restricoes = 1\nrestricoes = {\n 3 4 forca i=5 f=9 x=0.5 y=0 z=-1.5\n}\n")));
    digitar("massaEdit", "2.5");
    digitar("intervaloEdit", "10.9");
    // With the plane chosen the cylinder boxes are not read; without a fluid constant the
    // fluid boxes are not read.
    digitar("raioEdit", "nada");
    digitar("fluido_x_Edit", "nada");
    const auto o = m().criarObjeto();
    EXPECT_EQ(o->massa, 2.5);
    EXPECT_EQ(o->quadros, 1000);
    EXPECT_EQ(o->intervalo, 10);
    EXPECT_EQ(o->grade_i, 4);
    EXPECT_EQ(o->grade_j, 5);
    EXPECT_EQ(o->fluidoAtivo, 0);
    ASSERT_EQ(o->nRestricoes, 1);
    EXPECT_EQ(o->restricoes[0].tipo, RestricaoForca);
    EXPECT_EQ(o->restricoes[0].forca[0], 0.5);
    EXPECT_EQ(o->restricoes[0].forca[2], -1.5);

    m().solverComboBox->setCurrentText("Verlet");
    EXPECT_EQ(m().criarObjeto()->solver, SolverVerlet);
}

TEST_F(MainForm, ErrosDeConversaoParamSimularComSeuTexto) {
    abrir(script("a.anisot1", cenaBase()));
    ASSERT_TRUE(m().scriptCarregado);
    struct Caso {
        const char* caixa;
        const char* texto;
        const char* mensagem;
    };
    const Caso casos[] = {
        {"massaEdit", "abc", "'abc' is not a valid floating point value"},
        {"grade_i_Edit", "", "'' is not a valid integer value"},
        {"grade_j_Edit", "2.5", "'2.5' is not a valid integer value"},
        {"quadrosEdit", "mil", "'mil' is not a valid floating point value"},
        {"comp_y_Edit", "1,5", "'1,5' is not a valid floating point value"},
        {"tempoEdit", "", "'' is not a valid floating point value"},
        // Any text in the constant switches the fluid on, and then its boxes must parse.
        {"fluido_cte_Edit", " ", "'' is not a valid floating point value"},
    };
    for (const Caso& c : casos) {
        novasJanelas();
        abrir(script("a.anisot1", cenaBase()));
        dlg.mensagens.clear();
        digitar(c.caixa, QString::fromUtf8(c.texto));
        m().simularButton->click();
        EXPECT_EQ(dlg.mensagens, QStringList({QString::fromUtf8(c.mensagem)})) << c.caixa;
        EXPECT_EQ(m().objetoAtual(), nullptr) << c.caixa;
        EXPECT_FALSE(m().simulando());
        EXPECT_TRUE(m().simularButton->isEnabled());
    }
    // A fixing restriction takes whole numbers only.
    novasJanelas();
    abrir(script("b.anisot1", cenaBase("20", "4 5", "", "plano 2 3 0",
                                       "n_restricoes = 1\nrestricoes = {\n 0 0 fixo i=0 f=9 x=0.5 y=0 z=0\n}\n")));
    dlg.mensagens.clear();
    m().simularButton->click();
    EXPECT_EQ(dlg.mensagens, QStringList({"'0.5' is not a valid integer value"}));
    // A name that is no solver is refused before anything is built.
    dlg.mensagens.clear();
    m().solverComboBox->setCurrentText("Euler");
    m().simularButton->click();
    ASSERT_EQ(dlg.mensagens.size(), 1);
    EXPECT_TRUE(dlg.mensagens[0].startsWith("'Euler' is not a solver")) << texto(dlg.mensagens[0]);
}

TEST_F(MainForm, SimularNaoFazNadaAntesDeUmaCargaCompleta) {
    digitar("grade_i_Edit", "4");
    m().simularButton->click();
    EXPECT_TRUE(dlg.mensagens.isEmpty());
    EXPECT_EQ(m().objetoAtual(), nullptr);
    EXPECT_FALSE(m().simulando());
    abrir(script("ruim.anisot1", cenaBase("20", "4 5", "", "plano 2 3 0", "n_restricoes = x restricoes = {")));
    dlg.mensagens.clear();
    m().simularButton->click();
    EXPECT_TRUE(dlg.mensagens.isEmpty());
    EXPECT_EQ(m().objetoAtual(), nullptr);
}

// ---------------------------------------------------------------------------------------
// The other buttons

TEST_F(MainForm, BotaoRenderEntrega400QuadrosEOTamanhoDaGrade) {
    TRenderForm& a = *janelas->RenderForm;
    a.numQuadros = 7;
    m().Button1->click();
    EXPECT_EQ(dlg.mensagens, QStringList({"'' is not a valid integer value"}));
    EXPECT_EQ(renderMostrado, 0);
    EXPECT_EQ(a.numQuadros, 400);

    dlg.mensagens.clear();
    digitar("grade_i_Edit", "10");
    digitar("grade_j_Edit", "x");
    m().Button1->click();
    EXPECT_EQ(dlg.mensagens, QStringList({"'x' is not a valid integer value"}));
    EXPECT_EQ(a.gradeI, 10);
    EXPECT_EQ(renderMostrado, 0);

    dlg.mensagens.clear();
    digitar("grade_j_Edit", "12");
    m().Button1->click();
    EXPECT_TRUE(dlg.mensagens.isEmpty());
    EXPECT_EQ(renderMostrado, 1);
    EXPECT_EQ(a.numQuadros, 400);
    EXPECT_EQ(a.gradeI, 10);
    EXPECT_EQ(a.gradeJ, 12);
}

TEST_F(MainForm, BotaoRestricoesMostraAJanelaUnicaEExitFecha) {
    m().show();
    m().restricaoButton->click();
    EXPECT_TRUE(r().isVisible());
    m().restricaoButton->click();
    EXPECT_TRUE(r().isVisible());
    r().close();
    EXPECT_TRUE(r().isHidden());
    // Hidden, not gone: its table is still there.
    EXPECT_EQ(r().linhas(), 2);

    m().Button2->click();
    EXPECT_TRUE(m().isHidden());
}

}  // namespace
