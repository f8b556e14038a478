#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>

#include "app/execucao/execucao.h"

// The messages the main window shows when a run has ended, in order: an error that broke
// the run off, the cancellation, the files that could not be written, and last either
// where the run diverged or, for a run that did not, "Tempo de simulação" and the time.
QStringList mensagensDoFim(const tevra::ResultadoExecucao& resultado, const QString& erro, qint64 milissegundos,
                           const QLocale& locale);
