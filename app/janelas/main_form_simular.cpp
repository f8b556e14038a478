// The main window's script loading and "Simulate": the texts of the window into a scene,
// the scene into a run on a worker thread, the run's end into messages.
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>
#include <QLineEdit>
#include <QLocale>
#include <QPointer>
#include <QShowEvent>
#include <cstdio>
#include <filesystem>

#include "app/cena/configuracao.h"
#include "app/cena/conversao_cena.h"
#include "app/cena/script_cena.h"
#include "app/janelas/duracao.h"
#include "app/janelas/main_form.h"
#include "app/janelas/restr_form.h"
#include "base/erros.h"
#include "view/exportacao/exportacao_execucao.h"
#include "view/janelas/dialogos.h"
#include "view/janelas/render_form.h"

using namespace tevra;

namespace {

// Stands in the form's shape while a script loads: still there afterwards means the load
// never reached the shape, so the combo box keeps its text.
const char* const kFormaNaoLida = "\x01";

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

QString texto(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

void TMainForm::carregarArquivo(const QString& caminho) {
    scriptLabel->setText(caminho);
    FormularioCena form = lerFormulario();
    form.objeto = kFormaNaoLida;
    QString erro;
    try {
        carregarScript(caminhoLocal(caminho), form);
    } catch (const ErroEntrada& e) {
        erro = QString::fromStdString(e.what());
    }

    // Boxes the load reached keep their new text, complete or not.
    for (const auto& [nome, valor] : form.caixas) {
        auto it = caixas_.find(nome);
        if (it != caixas_.end()) it->second->setText(texto(valor));
    }
    if (form.objeto != kFormaNaoLida) {
        objetoComboBox->setCurrentIndex(objetoComboBox->findText(texto(form.objeto)));
        objetoComboBoxChange();
    }
    if (!erro.isEmpty()) {
        dialogos().mensagem(this, erro);
        return;
    }
    if (restr_) restr_->definirRestricoes(form.restricoes);
    if (solverComboBox->currentText() != texto(form.solver)) solverComboBox->setCurrentText(texto(form.solver));
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

Cena TMainForm::lerCena() const { return converterCena(lerFormulario(), separadorDecimal()); }

std::unique_ptr<ObjDeformavel> TMainForm::criarObjeto() const { return tevra::criarObjeto(lerCena()); }

const ObjDeformavel* TMainForm::objetoAtual() const {
    return execucao_->execucao() ? &execucao_->execucao()->objeto() : nullptr;
}

bool TMainForm::simulando() const { return execucao_->ativa(); }

void TMainForm::simularButtonClick() {
    if (!scriptCarregado || simulando()) return;
    relogio_.start();
    std::unique_ptr<Execucao> execucao;
    try {
        execucao = std::make_unique<Execucao>(lerCena(), OpcoesExecucao{{}, CheckBox2->isChecked(), 0});
        if (exportarVtkCheckBox->isChecked())
            execucao->adicionarSaida(criarExportacao(FormatoExportacao::Vtu, *execucao));
    } catch (const ErroEntrada& e) {
        dialogos().mensagem(this, QString::fromStdString(e.what()));
        return;
    }
    dialogos().mensagem(this, QString::number(execucao->cena().restricoes.size()));
    // The message box ran an event loop: the window may have been closed meanwhile.
    if (fechando_) return;
    iniciarSimulacao(std::move(execucao));
}

void TMainForm::iniciarSimulacao(std::unique_ptr<Execucao> execucao) {
    if (CheckBox1->isChecked() && render_) {
        const ObjDeformavel& o = execucao->objeto();
        render_->iniciarAoVivo(o.grade_i, o.grade_j);
        QPointer<TRenderForm> janela(render_);
        execucao->quadroGravado = [this, janela](int n, const std::filesystem::path& arquivo) {
            // The frame is on disk; the window reads it on the GUI thread.
            QMetaObject::invokeMethod(
                this,
                [janela, n, arquivo] {
                    if (janela) janela->quadroAoVivo(n, arquivo);
                },
                Qt::QueuedConnection);
        };
    }
    const int total = execucao->passosTotais();
    simularButton->setEnabled(false);
    progressoBar->setRange(0, std::max(total, 1));
    progressoBar->setValue(0);
    progressoBar->show();
    cancelarButton->setEnabled(true);
    cancelarButton->show();
    execucao_->iniciar(std::move(execucao));
}

void TMainForm::atualizarProgresso(int feitos, int total) {
    total = std::max(total, 1);
    if (progressoBar->maximum() != total) progressoBar->setMaximum(total);
    progressoBar->setValue(std::min(feitos, total));
}

void TMainForm::cancelarButtonClick() {
    if (!simulando()) return;
    execucao_->cancelar();
    cancelarButton->setEnabled(false);
}

void TMainForm::terminarSimulacao() {
    progressoBar->hide();
    cancelarButton->hide();
    simularButton->setEnabled(true);
    if (fechando_) {
        emit simulacaoConcluida();
        return;
    }
    if (execucao_->objetoInvalido()) {
        // The one fatal stop of the program.
        std::printf("Objeto invalido!\n");
        std::fflush(stdout);
        QCoreApplication::exit(1);
        return;
    }
    const ResultadoExecucao res = execucao_->resultado();
    const qint64 decorrido = relogio_.elapsed();
    if (!execucao_->erro().isEmpty()) dialogos().mensagem(this, execucao_->erro());
    if (res.cancelado) dialogos().mensagem(this, texto(textoCancelamento(res)));
    if (res.falhas > 0) dialogos().mensagem(this, texto(textoFalhas(res)));
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
    execucao_->parar();
    evento->accept();
}
