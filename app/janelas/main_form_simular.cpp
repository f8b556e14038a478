// The main window's "Simulate": the texts of the window into a scene, the scene into a run
// on a worker thread, the run's end into messages.
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>
#include <QLineEdit>
#include <QLocale>
#include <QPointer>
#include <QShowEvent>
#include <QStatusBar>
#include <cstdio>
#include <filesystem>

#include "app/cena/restricoes_fora.h"
#include "app/janelas/fim_execucao.h"
#include "app/janelas/main_form.h"

#include <QStatusBar>
#include "app/janelas/restr_form.h"
#include "base/erros.h"
#include "view/exportacao/exportacao_execucao.h"
#include "view/janelas/dialogos.h"
#include "view/janelas/render_form.h"

using namespace tevra;

namespace {

QString texto(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

const ObjDeformavel* TMainForm::objetoAtual() const {
    return execucao_->execucao() ? &execucao_->execucao()->objeto() : nullptr;
}

bool TMainForm::simulando() const { return execucao_->ativa(); }

void TMainForm::simularButtonClick() {
    if (simulando()) return;
    if (!scriptCarregado) {
        dialogos().mensagem(this, QStringLiteral("There is no scene to simulate yet: open a script with File > Abrir, "
                                                 "or start from a new scene with File > Novo."));
        return;
    }
    relogio_.start();
    std::unique_ptr<Execucao> execucao;
    try {
        execucao = std::make_unique<Execucao>(lerCena(), OpcoesExecucao{{}, CheckBox2->isChecked(), 0});
        if (exportarVtkCheckBox->isChecked())
            execucao->adicionarSaida(criarExportacao(FormatoExportacao::Vtu, *execucao));
    } catch (const ErroEntrada& e) {
        mostrarErro(e);
        return;
    }
    // Ignored by the run, as always; now also said, before it starts.
    if (const std::string fora = avisoRestricoesForaDaGrade(execucao->cena()); !fora.empty())
        dialogos().aviso(this, texto(fora));
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
    const qint64 decorrido = relogio_.elapsed();
    // An earlier series cleared from the folder is worth knowing, not worth a box of its own;
    // the bar appears with the first such run.
    if (const std::string removidos = textoRemovidos(execucao_->resultado()); !removidos.empty())
        statusBar()->showMessage(QString::fromStdString(removidos));
    for (const QString& m : mensagensDoFim(execucao_->resultado(), execucao_->erro(), decorrido, QLocale()))
        dialogos().mensagem(this, m);
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
