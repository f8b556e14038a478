#include "app/janelas/fim_execucao.h"

#include "app/janelas/duracao.h"

using namespace tevra;

QStringList mensagensDoFim(const ResultadoExecucao& r, const QString& erro, qint64 ms, const QLocale& locale) {
    QStringList m;
    if (!erro.isEmpty()) m << erro;
    if (r.cancelado) m << QString::fromStdString(textoCancelamento(r));
    if (r.falhas > 0) m << QString::fromStdString(textoFalhas(r));
    // A run that blew up is no success: its place is taken by where and how.
    if (r.divergencia)
        m << QString::fromStdString(textoDivergencia(r));
    else
        m << QStringLiteral("Tempo de simulação") + formatarDuracao(ms, locale);
    return m;
}
