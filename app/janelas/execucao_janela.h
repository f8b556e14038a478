#pragma once

#include <QObject>
#include <QString>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <memory>

#include "app/execucao/execucao.h"

// A run of the main window on a worker thread, so that the window stays usable: a timer
// reports the progress, the end comes back on the GUI thread. The run of the last Simulate
// is kept afterwards, as the window's current object.
class ExecucaoJanela : public QObject {
    Q_OBJECT
public:
    explicit ExecucaoJanela(QObject* pai = nullptr);
    ~ExecucaoJanela() override;  // a run still going is cancelled and waited for, silently

    // Starts `execucao` on the worker thread; the run kept until now goes.
    void iniciar(std::unique_ptr<tevra::Execucao> execucao);
    bool ativa() const { return trabalho_ != nullptr; }
    // The run stops after its current step and then ends as usual.
    void cancelar();
    // Cancels, waits for the worker and winds up at once (terminada is emitted).
    void parar();

    // The run of the last Simulate, running or ended; null before the first.
    const tevra::Execucao* execucao() const { return execucao_.get(); }
    int feitos() const { return feitos_.load(std::memory_order_relaxed); }
    int total() const { return total_; }

    // What the last run ended with; valid from `terminada` on.
    const tevra::ResultadoExecucao& resultado() const { return resultado_; }
    const QString& erro() const { return erro_; }  // an error that broke the run off
    bool objetoInvalido() const { return objetoInvalido_; }

signals:
    void progresso(int feitos, int total);  // a few times a second while running
    void terminada();

private:
    void concluir();

    std::unique_ptr<tevra::Execucao> execucao_;
    QThread* trabalho_ = nullptr;
    QTimer relogio_;
    std::atomic<int> feitos_{0};
    int total_ = 0;
    tevra::ResultadoExecucao resultado_;
    QString erro_;
    bool objetoInvalido_ = false;
};
