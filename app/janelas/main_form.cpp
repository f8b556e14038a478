#include "app/janelas/main_form.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPointer>
#include <QProgressBar>
#include <QShowEvent>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <vector>

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

// Every value box, by the names the script loader and the set-up know it by.
std::vector<const char*> nomesDasCaixas() {
    std::vector<const char*> nomes = {caixa::passo, caixa::quadros, caixa::intervalo, caixa::tempo,
                                      caixa::grade_i, caixa::grade_j, caixa::massa, caixa::gama,
                                      caixa::fluido_cte, caixa::raio, caixa::comprimento};
    for (const char* const* trio : {caixa::acel, caixa::vel, caixa::fluido, caixa::comp})
        nomes.insert(nomes.end(), trio, trio + 3);
    for (const char* const* tensor : {caixa::eta, caixa::qsi, caixa::psi})
        nomes.insert(nomes.end(), tensor, tensor + 4);
    return nomes;
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
    setupUi(this);
    // uic gives a top-level form only its size; the first place is the window's own.
    move(178, 87);
    for (const char* nome : nomesDasCaixas())
        if (auto* e = findChild<QLineEdit*>(QLatin1String(nome))) caixas_[nome] = e;

    connect(Abrir1, &QAction::triggered, this, &TMainForm::Abrir1Click);
    connect(restricaoButton, &QPushButton::clicked, this, &TMainForm::restricaoButtonClick);
    connect(simularButton, &QPushButton::clicked, this, &TMainForm::simularButtonClick);
    connect(cancelarButton, &QPushButton::clicked, this, &TMainForm::cancelarButtonClick);
    connect(objetoComboBox, &QComboBox::activated, this, &TMainForm::objetoComboBoxChange);
    connect(Button1, &QPushButton::clicked, this, &TMainForm::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &QWidget::close);

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
