#include "app/janelas/main_form.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenuBar>
#include <QPointer>
#include <QProgressBar>
#include <QShowEvent>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "app/cena/configuracao.h"
#include "base/conversao.h"
#include "view/janelas/dialogos.h"
#include "app/janelas/duracao.h"
#include "app/janelas/restr_form.h"
#include "app/cena/script_cena.h"
#include "base/tevra_home.h"
#include "view/janelas/render_form.h"

using namespace tevra;

namespace {

// Stands in the form's shape while a script loads: still there afterwards means the load
// never reached the shape, so the combo box keeps its text.
const char* const kFormaNaoLida = "\x01";

QLabel* rotulo(const char* texto, QWidget* pai) { return new QLabel(QString::fromUtf8(texto), pai); }

QLabel* cabecalho(const char* texto, QWidget* pai) {
    QLabel* l = rotulo(texto, pai);
    l->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    return l;
}

// The user's decimal separator for the set-up; one the core cannot take as one character
// falls back to the point.
char separadorDecimal() {
    const QString p = QLocale().decimalPoint();
    if (p.size() == 1 && p[0].unicode() < 128) return static_cast<char>(p[0].unicode());
    return '.';
}

std::filesystem::path caminhoLocal(const QString& caminho) {
    return std::filesystem::path(QFile::encodeName(caminho).toStdString());
}

}  // namespace

TMainForm::TMainForm(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("Tevra 1.0"));
    resize(748, 622);
    move(178, 87);

    Arquivo1 = menuBar()->addMenu(QStringLiteral("File"));
    Arquivo1->setObjectName(QStringLiteral("Arquivo1"));
    Abiri1 = Arquivo1->addAction(QStringLiteral("Novo"));
    Abiri1->setObjectName(QStringLiteral("Abiri1"));
    Abrir1 = Arquivo1->addAction(QStringLiteral("Abrir"));
    Abrir1->setObjectName(QStringLiteral("Abrir1"));
    connect(Abrir1, &QAction::triggered, this, &TMainForm::Abrir1Click);

    auto* central = new QWidget(this);
    auto* grade = new QGridLayout(central);
    grade->addWidget(montarSimulacao(), 0, 0, 2, 1);
    grade->addWidget(montarSuperficie(), 0, 1);
    grade->addWidget(montarAnimacao(), 1, 1);
    grade->addWidget(montarRodape(), 2, 0, 1, 2);
    grade->setColumnStretch(0, 1);
    grade->setColumnStretch(1, 1);
    grade->setRowStretch(0, 3);
    grade->setRowStretch(1, 1);
    setCentralWidget(central);

    progressoTimer_ = new QTimer(this);
    progressoTimer_->setInterval(100);
    connect(progressoTimer_, &QTimer::timeout, this, &TMainForm::atualizarProgresso);

    mostrarAnimacao = [this] {
        if (!render_) return;
        render_->show();
        render_->raise();
        render_->activateWindow();
    };
    objetoComboBoxChange();
}

TMainForm::~TMainForm() {
    fechando_ = true;
    pararTrabalho();
}

void TMainForm::ligar(TRestrForm* restricoes, TRenderForm* animacao) {
    restr_ = restricoes;
    render_ = animacao;
}

QLineEdit* TMainForm::novaCaixa(const char* nome) {
    auto* e = new QLineEdit(this);
    e->setObjectName(QString::fromLatin1(nome));
    caixas_[nome] = e;
    return e;
}

QGroupBox* TMainForm::montarSimulacao() {
    auto* g = new QGroupBox(QStringLiteral("Simulation"), this);
    auto* L = new QGridLayout(g);
    quadrosEdit = novaCaixa(caixa::quadros);
    passoEdit = novaCaixa(caixa::passo);
    gamaEdit = novaCaixa(caixa::gama);
    fluido_cte_Edit = novaCaixa(caixa::fluido_cte);
    fluido_x_Edit = novaCaixa(caixa::fluido[0]);
    fluido_y_Edit = novaCaixa(caixa::fluido[1]);
    fluido_z_Edit = novaCaixa(caixa::fluido[2]);
    vel_x_Edit = novaCaixa(caixa::vel[0]);
    vel_y_Edit = novaCaixa(caixa::vel[1]);
    vel_z_Edit = novaCaixa(caixa::vel[2]);
    acel_x_Edit = novaCaixa(caixa::acel[0]);
    acel_y_Edit = novaCaixa(caixa::acel[1]);
    acel_z_Edit = novaCaixa(caixa::acel[2]);

    // Two caption/box pairs per row, then the x, y, z rows.
    auto* par = [&] {
        auto* w = new QWidget(g);
        auto* h = new QGridLayout(w);
        h->setContentsMargins(0, 0, 0, 0);
        h->addWidget(rotulo("iterations", w), 0, 0);
        h->addWidget(quadrosEdit, 0, 1);
        h->addWidget(rotulo("time step", w), 0, 2);
        h->addWidget(passoEdit, 0, 3);
        h->addWidget(rotulo("damp D", w), 1, 0);
        h->addWidget(gamaEdit, 1, 1);
        h->addWidget(rotulo("damp R", w), 1, 2);
        h->addWidget(fluido_cte_Edit, 1, 3);
        return w;
    }();
    L->addWidget(par, 0, 0, 1, 4);
    L->addWidget(cabecalho("x", g), 1, 1);
    L->addWidget(cabecalho("y", g), 1, 2);
    L->addWidget(cabecalho("z", g), 1, 3);
    L->addWidget(rotulo("u", g), 2, 0);
    L->addWidget(fluido_x_Edit, 2, 1);
    L->addWidget(fluido_y_Edit, 2, 2);
    L->addWidget(fluido_z_Edit, 2, 3);
    L->addWidget(rotulo("v", g), 3, 0);
    L->addWidget(vel_x_Edit, 3, 1);
    L->addWidget(vel_y_Edit, 3, 2);
    L->addWidget(vel_z_Edit, 3, 3);
    L->addWidget(rotulo("g", g), 4, 0);
    L->addWidget(acel_x_Edit, 4, 1);
    L->addWidget(acel_y_Edit, 4, 2);
    L->addWidget(acel_z_Edit, 4, 3);

    restricaoButton = new QPushButton(QStringLiteral("Restrictions"), g);
    restricaoButton->setObjectName(QStringLiteral("restricaoButton"));
    connect(restricaoButton, &QPushButton::clicked, this, &TMainForm::restricaoButtonClick);
    L->addWidget(restricaoButton, 5, 1, 1, 2);

    solverComboBox = new QComboBox(g);
    solverComboBox->setObjectName(QStringLiteral("solverComboBox"));
    solverComboBox->setEditable(true);  // a typed name is matched by the set-up
    solverComboBox->setInsertPolicy(QComboBox::NoInsert);
    solverComboBox->addItems({QStringLiteral("Semi-explicit Euler"), QStringLiteral("Midpoint"),
                              QStringLiteral("Runge-Kutta"), QStringLiteral("Leapfrog"), QStringLiteral("Verlet")});
    solverComboBox->setCurrentIndex(0);
    L->addWidget(rotulo("Solver", g), 6, 0);
    L->addWidget(solverComboBox, 6, 1, 1, 3);

    CheckBox3 = new QCheckBox(QStringLiteral("Record points"), g);
    CheckBox3->setObjectName(QStringLiteral("CheckBox3"));
    CheckBox2 = new QCheckBox(QStringLiteral("Record data"), g);
    CheckBox2->setObjectName(QStringLiteral("CheckBox2"));
    CheckBox1 = new QCheckBox(QStringLiteral("Animation on-the-fly"), g);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    L->addWidget(CheckBox3, 7, 1, 1, 3);
    L->addWidget(CheckBox2, 8, 1, 1, 3);
    L->addWidget(CheckBox1, 9, 1, 1, 3);

    simularButton = new QPushButton(QStringLiteral("Simulate"), g);
    simularButton->setObjectName(QStringLiteral("simularButton"));
    connect(simularButton, &QPushButton::clicked, this, &TMainForm::simularButtonClick);
    L->addWidget(simularButton, 10, 1, 1, 2);

    // Shown only while a run lasts.
    progressoBar = new QProgressBar(g);
    progressoBar->setObjectName(QStringLiteral("progressoBar"));
    progressoBar->setFormat(QStringLiteral("%v / %m steps"));
    progressoBar->hide();
    cancelarButton = new QPushButton(QStringLiteral("Cancel"), g);
    cancelarButton->setObjectName(QStringLiteral("cancelarButton"));
    cancelarButton->hide();
    connect(cancelarButton, &QPushButton::clicked, this, &TMainForm::cancelarButtonClick);
    L->addWidget(progressoBar, 11, 0, 1, 3);
    L->addWidget(cancelarButton, 11, 3);
    L->setRowStretch(12, 1);
    return g;
}

QGroupBox* TMainForm::montarSuperficie() {
    auto* g = new QGroupBox(QStringLiteral("Surface"), this);
    auto* L = new QGridLayout(g);
    massaEdit = novaCaixa(caixa::massa);
    grade_i_Edit = novaCaixa(caixa::grade_i);
    grade_j_Edit = novaCaixa(caixa::grade_j);
    QLineEdit** tensores[3][4] = {{&eta_00_Edit, &eta_01_Edit, &eta_10_Edit, &eta_11_Edit},
                                  {&qsi_00_Edit, &qsi_01_Edit, &qsi_10_Edit, &qsi_11_Edit},
                                  {&psi_00_Edit, &psi_01_Edit, &psi_10_Edit, &psi_11_Edit}};
    const char* const* nomes[3] = {caixa::eta, caixa::qsi, caixa::psi};
    const char* legendas[3] = {"zeta", "xi", "psi"};

    L->addWidget(rotulo("mass", g), 0, 0);
    L->addWidget(massaEdit, 0, 1);
    L->addWidget(rotulo("grid", g), 0, 2, Qt::AlignRight);
    L->addWidget(grade_i_Edit, 0, 3);
    L->addWidget(grade_j_Edit, 0, 4);
    const char* colunas[4] = {"00", "01", "10", "11"};
    for (int a = 0; a < 4; ++a) L->addWidget(cabecalho(colunas[a], g), 1, a + 1);
    for (int t = 0; t < 3; ++t) {
        L->addWidget(rotulo(legendas[t], g), t + 2, 0);
        for (int a = 0; a < 4; ++a) {
            *tensores[t][a] = novaCaixa(nomes[t][a]);
            L->addWidget(*tensores[t][a], t + 2, a + 1);
        }
    }

    objetoComboBox = new QComboBox(g);
    objetoComboBox->setObjectName(QStringLiteral("objetoComboBox"));
    objetoComboBox->addItems({QString(), QStringLiteral("plano"), QStringLiteral("cilindro")});
    objetoComboBox->setCurrentIndex(0);
    connect(objetoComboBox, &QComboBox::activated, this, &TMainForm::objetoComboBoxChange);
    L->addWidget(rotulo("object", g), 5, 0);
    L->addWidget(objetoComboBox, 5, 1, 1, 2);

    // The three shape panels share one place; one is shown at a time.
    auto* lugar = new QWidget(g);
    auto* pilha = new QGridLayout(lugar);
    pilha->setContentsMargins(0, 0, 0, 0);

    planoPanel = new QWidget(lugar);
    planoPanel->setObjectName(QStringLiteral("planoPanel"));
    {
        auto* p = new QGridLayout(planoPanel);
        comp_x_Edit = novaCaixa(caixa::comp[0]);
        comp_y_Edit = novaCaixa(caixa::comp[1]);
        comp_z_Edit = novaCaixa(caixa::comp[2]);
        p->addWidget(cabecalho("x", planoPanel), 0, 1);
        p->addWidget(cabecalho("y", planoPanel), 0, 2);
        p->addWidget(cabecalho("z", planoPanel), 0, 3);
        p->addWidget(rotulo("Lenghts", planoPanel), 1, 0);
        p->addWidget(comp_x_Edit, 1, 1);
        p->addWidget(comp_y_Edit, 1, 2);
        p->addWidget(comp_z_Edit, 1, 3);
        p->setRowStretch(2, 1);
    }
    cilindroPanel = new QWidget(lugar);
    cilindroPanel->setObjectName(QStringLiteral("cilindroPanel"));
    {
        auto* p = new QGridLayout(cilindroPanel);
        raioEdit = novaCaixa(caixa::raio);
        compEdit = novaCaixa(caixa::comprimento);
        p->addWidget(rotulo("Ray", cilindroPanel), 0, 0);
        p->addWidget(raioEdit, 0, 1);
        p->addWidget(rotulo("Lenght", cilindroPanel), 1, 0);
        p->addWidget(compEdit, 1, 1);
        p->setColumnStretch(2, 1);
        p->setRowStretch(2, 1);
    }
    objectPanel = new QWidget(lugar);
    objectPanel->setObjectName(QStringLiteral("objectPanel"));
    {
        auto* p = new QVBoxLayout(objectPanel);
        auto* t = rotulo("Select an object", objectPanel);
        t->setAlignment(Qt::AlignCenter);
        p->addWidget(t);
    }
    for (QWidget* w : {planoPanel, cilindroPanel, objectPanel}) {
        w->setAutoFillBackground(true);
        pilha->addWidget(w, 0, 0);
    }
    L->addWidget(lugar, 6, 0, 1, 5);
    L->setRowStretch(7, 1);
    return g;
}

QGroupBox* TMainForm::montarAnimacao() {
    auto* g = new QGroupBox(QStringLiteral("Animation"), this);
    auto* L = new QGridLayout(g);
    tempoEdit = novaCaixa(caixa::tempo);
    intervaloEdit = novaCaixa(caixa::intervalo);
    L->addWidget(rotulo("Time", g), 0, 0);
    L->addWidget(tempoEdit, 0, 1);
    L->addWidget(rotulo("Interval", g), 0, 2);
    L->addWidget(intervaloEdit, 0, 3);

    Button3 = new QPushButton(QStringLiteral("Load"), g);
    Button3->setObjectName(QStringLiteral("Button3"));
    Edit1 = new QLineEdit(QStringLiteral("<no file>"), g);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    L->addWidget(Button3, 1, 0);
    L->addWidget(Edit1, 1, 1, 1, 3);

    Button1 = new QPushButton(QStringLiteral("Render"), g);
    Button1->setObjectName(QStringLiteral("Button1"));
    connect(Button1, &QPushButton::clicked, this, &TMainForm::Button1Click);
    L->addWidget(Button1, 2, 0);
    L->setRowStretch(3, 1);
    return g;
}

QWidget* TMainForm::montarRodape() {
    auto* w = new QWidget(this);
    auto* h = new QHBoxLayout(w);
    h->setContentsMargins(0, 0, 0, 0);
    auto* titulo = rotulo("Script:", w);
    QFont negrito = titulo->font();
    negrito.setBold(true);
    titulo->setFont(negrito);
    scriptLabel = new QLabel(QStringLiteral("<no file>"), w);
    scriptLabel->setObjectName(QStringLiteral("scriptLabel"));
    scriptLabel->setTextFormat(Qt::PlainText);
    gerarDadosButton = new QPushButton(QStringLiteral("Data"), w);
    gerarDadosButton->setObjectName(QStringLiteral("gerarDadosButton"));
    gerarDadosButton->setEnabled(false);
    Button2 = new QPushButton(QStringLiteral("Exit"), w);
    Button2->setObjectName(QStringLiteral("Button2"));
    connect(Button2, &QPushButton::clicked, this, &QWidget::close);
    h->addWidget(titulo);
    h->addWidget(scriptLabel, 1);
    h->addWidget(gerarDadosButton);
    h->addWidget(Button2);
    return w;
}

void TMainForm::objetoComboBoxChange() {
    const QString forma = objetoComboBox->currentText();
    planoPanel->setVisible(forma == QLatin1String("plano"));
    cilindroPanel->setVisible(forma == QLatin1String("cilindro"));
    objectPanel->setVisible(forma != QLatin1String("plano") && forma != QLatin1String("cilindro"));
}

void TMainForm::restricaoButtonClick() {
    if (!restr_) return;
    restr_->show();
    restr_->raise();
    restr_->activateWindow();
}

void TMainForm::Button1Click() {
    if (!render_) return;
    render_->numQuadros = 400;
    const QString textoI = grade_i_Edit->text();
    const auto gi = paraInteiro(textoI.toStdString());
    if (!gi) {
        dialogos().mensagem(this, QString::fromStdString(mensagemInteiroInvalido(textoI.toStdString())));
        return;
    }
    render_->gradeI = *gi;
    const QString textoJ = grade_j_Edit->text();
    const auto gj = paraInteiro(textoJ.toStdString());
    if (!gj) {
        dialogos().mensagem(this, QString::fromStdString(mensagemInteiroInvalido(textoJ.toStdString())));
        return;
    }
    render_->gradeJ = *gj;
    if (mostrarAnimacao) mostrarAnimacao();
}

void TMainForm::Abrir1Click() {
    const QString preset = QString::fromStdString((tevra::home::scripts() / "script.anisot1").string());
    const QString escolhido = dialogos().abrirArquivo(this, preset);
    if (escolhido.isEmpty()) return;
    carregarArquivo(escolhido);
}

void TMainForm::carregarArquivo(const QString& caminho) {
    scriptLabel->setText(caminho);
    FormularioCena form = lerFormulario();
    form.objeto = kFormaNaoLida;
    const ResultadoCarga carga = carregarScript(caminhoLocal(caminho), form);

    for (const auto& [nome, texto] : form.caixas) {
        auto it = caixas_.find(nome);
        if (it != caixas_.end()) it->second->setText(QString::fromStdString(texto));
    }
    if (form.objeto != kFormaNaoLida) {
        objetoComboBox->setCurrentIndex(objetoComboBox->findText(QString::fromStdString(form.objeto)));
        objetoComboBoxChange();
    }
    if (!carga.completo) {
        dialogos().mensagem(this, QString::fromStdString(carga.erro));
        return;
    }
    if (restr_) restr_->definirRestricoes(form.restricoes);
    scriptCarregado = true;
}

FormularioCena TMainForm::lerFormulario() const {
    FormularioCena f;
    for (const auto& [nome, caixa] : caixas_) f.caixas[nome] = caixa->text().toStdString();
    f.solver = solverComboBox->currentText().toStdString();
    f.objeto = objetoComboBox->currentText().toStdString();
    if (restr_) f.restricoes = restr_->restricoes();
    return f;
}

std::unique_ptr<ObjDeformavel> TMainForm::criarObjeto() const {
    return ::criarObjeto(lerFormulario(), separadorDecimal());
}

void TMainForm::simularButtonClick() {
    if (!scriptCarregado || simulando()) return;
    relogio_.start();
    try {
        objetoAtual = criarObjeto();
    } catch (const ErroConfiguracao& e) {
        dialogos().mensagem(this, QString::fromStdString(e.what()));
        return;
    }
    dialogos().mensagem(this, QString::number(objetoAtual->nRestricoes));
    // The message box ran an event loop: the window may have been closed meanwhile.
    if (fechando_) return;
    objetoAtual->flagDados = CheckBox2->isChecked() ? 1 : 0;
    iniciarSimulacao();
}

void TMainForm::iniciarSimulacao() {
    ObjDeformavel* obj = objetoAtual.get();
    cancelar_ = false;
    feitos_ = 0;
    total_ = obj->quadros > 1 ? obj->quadros - 1 : 0;
    resultado_ = {};
    erroExecucao_.clear();
    objetoInvalido_ = false;

    tevra::home::criarPastas();
    OpcoesSimulacao op;
    op.pasta = tevra::home::tmp();
    op.cancelar = &cancelar_;
    op.progresso = [this](int feitos, int total) {
        feitos_.store(feitos, std::memory_order_relaxed);
        total_.store(total, std::memory_order_relaxed);
    };
    if (CheckBox1->isChecked() && render_) {
        render_->iniciarAoVivo(obj->grade_i, obj->grade_j);
        QPointer<TRenderForm> janela(render_);
        op.quadroGravado = [this, janela](int n, const std::filesystem::path&) {
            // The frame is on disk; the window reads it on the GUI thread.
            QMetaObject::invokeMethod(
                this, [janela, n] { if (janela) janela->quadroAoVivo(n); }, Qt::QueuedConnection);
        };
    }

    trabalho_ = QThread::create([this, obj, op] {
        try {
            resultado_ = simular(*obj, op);
        } catch (const ObjetoInvalido&) {
            objetoInvalido_ = true;
        } catch (const std::exception& e) {
            erroExecucao_ = QString::fromLocal8Bit(e.what());
        }
    });
    trabalho_->setObjectName(QStringLiteral("simulacao"));
    connect(trabalho_, &QThread::finished, this, &TMainForm::terminarSimulacao, Qt::QueuedConnection);

    simularButton->setEnabled(false);
    progressoBar->setRange(0, std::max(total_.load(), 1));
    progressoBar->setValue(0);
    progressoBar->show();
    cancelarButton->setEnabled(true);
    cancelarButton->show();
    progressoTimer_->start();
    trabalho_->start();
}

void TMainForm::atualizarProgresso() {
    const int total = std::max(total_.load(std::memory_order_relaxed), 1);
    if (progressoBar->maximum() != total) progressoBar->setMaximum(total);
    progressoBar->setValue(std::min(feitos_.load(std::memory_order_relaxed), total));
}

void TMainForm::cancelarButtonClick() {
    if (!simulando()) return;
    cancelar_ = true;
    cancelarButton->setEnabled(false);
}

void TMainForm::pararTrabalho() {
    if (!trabalho_) return;
    cancelar_ = true;
    trabalho_->wait();
    terminarSimulacao();
}

void TMainForm::terminarSimulacao() {
    if (!trabalho_) return;  // already wound up (the window was closed during the run)
    trabalho_->wait();
    delete trabalho_;
    trabalho_ = nullptr;
    progressoTimer_->stop();
    atualizarProgresso();
    progressoBar->hide();
    cancelarButton->hide();
    simularButton->setEnabled(true);

    if (fechando_) {
        emit simulacaoConcluida();
        return;
    }
    if (objetoInvalido_) {
        // The one fatal stop of the program.
        std::printf("Objeto invalido!\n");
        std::fflush(stdout);
        QCoreApplication::exit(1);
        return;
    }
    const ResultadoSimulacao res = resultado_;
    const qint64 decorrido = relogio_.elapsed();
    if (!erroExecucao_.isEmpty()) dialogos().mensagem(this, erroExecucao_);
    if (res.cancelado)
        dialogos().mensagem(this, QStringLiteral("The simulation was cancelled after step %1 of %2; frames 1 to %3 are kept.")
                                      .arg(res.passos)
                                      .arg(total_.load())
                                      .arg(res.quadros));
    if (res.falhas > 0)
        dialogos().mensagem(this, QStringLiteral("%1 file(s) could not be written; the first: %2")
                                      .arg(res.falhas)
                                      .arg(QString::fromStdString(res.primeiraFalha)));
    dialogos().mensagem(this, QStringLiteral("Tempo de simulação") + formatarDuracao(decorrido, QLocale()));
    emit simulacaoConcluida();
}

void TMainForm::showEvent(QShowEvent* evento) {
    fechando_ = false;
    QMainWindow::showEvent(evento);
}

void TMainForm::closeEvent(QCloseEvent* evento) {
    // A run in progress stops after its current step; nothing more is reported.
    fechando_ = true;
    pararTrabalho();
    evento->accept();
}
