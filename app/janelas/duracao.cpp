#include "app/janelas/duracao.h"

namespace {

QString numero(qint64 v, int largura, const QLocale& loc) {
    QLocale semGrupos = loc;
    semGrupos.setNumberOptions(QLocale::OmitGroupSeparator);
    QString s = semGrupos.toString(v);
    while (s.size() < largura) s.prepend(loc.zeroDigit());
    return s;
}

}  // namespace

QString formatarDuracao(qint64 ms, const QLocale& loc) {
    if (ms < 0) ms = 0;
    const qint64 horas = ms / 3600000;
    const qint64 minutos = ms / 60000 % 60;
    const qint64 segundos = ms / 1000 % 60;
    const qint64 milis = ms % 1000;

    const QString padrao = loc.timeFormat(QLocale::LongFormat);
    QString saida;
    for (qsizetype k = 0; k < padrao.size();) {
        const QChar c = padrao[k];
        if (c == u'\'') {
            // Quoted literal text; '' stands for one quote.
            ++k;
            if (k < padrao.size() && padrao[k] == u'\'') {
                saida += u'\'';
                ++k;
                continue;
            }
            while (k < padrao.size()) {
                if (padrao[k] == u'\'') {
                    if (k + 1 < padrao.size() && padrao[k + 1] == u'\'') {
                        saida += u'\'';
                        k += 2;
                        continue;
                    }
                    ++k;
                    break;
                }
                saida += padrao[k++];
            }
            continue;
        }
        qsizetype n = 1;
        while (k + n < padrao.size() && padrao[k + n] == c) ++n;
        switch (c.unicode()) {
            case u'h':
            case u'H': saida += numero(horas, n >= 2 ? 2 : 1, loc); break;
            case u'm': saida += numero(minutos, n >= 2 ? 2 : 1, loc); break;
            case u's': saida += numero(segundos, n >= 2 ? 2 : 1, loc); break;
            case u'z': saida += numero(milis, 3, loc); break;
            case u'a':
            case u'A':
            case u'p':
            case u'P':
            case u't': break;  // AM/PM marker and time zone mean nothing for a duration
            default: saida += QString(n, c); break;
        }
        k += n;
    }
    return saida.trimmed();
}
