#include "app/janelas/execucao_janela.h"

#include <exception>

using namespace tevra;

ExecucaoJanela::ExecucaoJanela(QObject* pai) : QObject(pai) {
    relogio_.setInterval(100);
    connect(&relogio_, &QTimer::timeout, this, [this] { emit progresso(feitos(), total_); });
}

ExecucaoJanela::~ExecucaoJanela() {
    if (!trabalho_) return;
    execucao_->cancelar();
    trabalho_->wait();
    delete trabalho_;
}

void ExecucaoJanela::iniciar(std::unique_ptr<Execucao> execucao) {
    if (trabalho_) return;
    execucao_ = std::move(execucao);
    feitos_ = 0;
    total_ = execucao_->passosTotais();
    resultado_ = {};
    erro_.clear();
    objetoInvalido_ = false;
    execucao_->progresso = [this](int feitos, int) { feitos_.store(feitos, std::memory_order_relaxed); };

    Execucao* e = execucao_.get();
    trabalho_ = QThread::create([this, e] {
        try {
            resultado_ = e->executar();
        } catch (const ObjetoInvalido&) {
            objetoInvalido_ = true;
        } catch (const std::exception& x) {
            erro_ = QString::fromLocal8Bit(x.what());
        }
    });
    trabalho_->setObjectName(QStringLiteral("simulacao"));
    connect(trabalho_, &QThread::finished, this, &ExecucaoJanela::concluir, Qt::QueuedConnection);
    relogio_.start();
    trabalho_->start();
}

void ExecucaoJanela::cancelar() {
    if (trabalho_) execucao_->cancelar();
}

void ExecucaoJanela::parar() {
    if (!trabalho_) return;
    execucao_->cancelar();
    trabalho_->wait();
    concluir();
}

void ExecucaoJanela::concluir() {
    if (!trabalho_) return;  // already wound up by parar()
    trabalho_->wait();
    delete trabalho_;
    trabalho_ = nullptr;
    relogio_.stop();
    emit progresso(feitos(), total_);
    emit terminada();
}
