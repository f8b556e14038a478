#include "app/janelas/aplicacao.h"

#include <exception>

#include "view/janelas/dialogos.h"

TevraApplication::TevraApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TevraApplication::notify(QObject* receptor, QEvent* evento) {
    try {
        return QApplication::notify(receptor, evento);
    } catch (const std::exception& e) {
        dialogos().mensagem(nullptr, QString::fromLocal8Bit(e.what()));
    } catch (...) {
        dialogos().mensagem(nullptr, QStringLiteral("Unexpected error"));
    }
    return false;
}

ArgumentosTevra lerArgumentos(const QStringList& argumentos) {
    ArgumentosTevra a;
    const QStringList resto = argumentos.mid(1);
    if (resto.isEmpty()) return a;
    const QString& primeiro = resto.first();
    if (primeiro == QLatin1String("-h") || primeiro == QLatin1String("--help")) {
        a.ajuda = true;
    } else if (primeiro == QLatin1String("--animation")) {
        if (resto.size() != 4) {
            a.erro = QStringLiteral("--animation takes three values: the number of frames and the grid size I J");
        } else {
            a.animacao = true;
            a.quadros = resto[1];
            a.gradeI = resto[2];
            a.gradeJ = resto[3];
        }
    } else if (resto.size() == 1 && !primeiro.startsWith(QLatin1String("--"))) {
        a.script = primeiro;
    } else {
        a.erro = QStringLiteral("Unexpected arguments: %1").arg(resto.join(QLatin1Char(' ')));
    }
    return a;
}

QString usoTevra() {
    return QStringLiteral(
        "Usage: tevra [SCRIPT]\n"
        "       tevra --animation N I J\n"
        "\n"
        "  SCRIPT             open this scene script at start-up, as File > Abrir would\n"
        "  --animation N I J  start with the animation window on frames 1..N of an I x J grid\n");
}
