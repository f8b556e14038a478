#pragma once

#include <QApplication>

// The application with its error handler: an exception that escapes an event handler is
// shown in a message box with its text and the program goes on.
class TevraApplication : public QApplication {
public:
    TevraApplication(int& argc, char** argv);
    bool notify(QObject* receptor, QEvent* evento) override;
};

// What the command line asks for.
struct ArgumentosTevra {
    QString script;         // tevra SCRIPT
    bool animacao = false;  // tevra --animation N I J
    QString quadros, gradeI, gradeJ;
    bool ajuda = false;
    QString erro;  // a command line that makes no sense
};

ArgumentosTevra lerArgumentos(const QStringList& argumentos);
QString usoTevra();
