#pragma once

#include <QString>

class QWidget;

// Every message box and file dialog of the windows goes through here, so that tests can
// answer them and read their texts. The program uses the Qt ones.
class Dialogos {
public:
    virtual ~Dialogos() = default;
    // A modal message box with one text and an OK button; returns when it is closed.
    virtual void mensagem(QWidget* pai, const QString& texto) = 0;
    // A warning that does not block: shown above `pai`, the window goes on working behind
    // it; returns at once. A warning for a window not yet on screen waits for its showing.
    virtual void aviso(QWidget* pai, const QString& texto) = 0;
    // The script open dialog, preset to `arquivoInicial`, without a file-type filter;
    // the chosen path, or an empty text when the user cancels.
    virtual QString abrirArquivo(QWidget* pai, const QString& arquivoInicial) = 0;
    // A save dialog titled `titulo`, preset to `arquivoInicial`, offering the files of
    // `filtro` ("Scene scripts (*.anisot1)"; empty: any file; its first ending is added to a
    // name typed without one); asks before replacing a file. The chosen path, or an empty
    // text when the user cancels. Scripts and pictures alike.
    virtual QString salvarArquivo(QWidget* pai, const QString& titulo, const QString& arquivoInicial,
                                  const QString& filtro) = 0;
};

// Shows a secondary window, or brings it forward when it is already shown.
void trazerAFrente(QWidget* janela);

// The dialogs in use: the Qt ones unless a test installed others.
Dialogos& dialogos();
// Installs `d` (not owned) in place of the Qt dialogs; nullptr puts the Qt ones back.
void usarDialogos(Dialogos* d);

// QMessageBox and QFileDialog.
class DialogosQt : public Dialogos {
public:
    void mensagem(QWidget* pai, const QString& texto) override;
    void aviso(QWidget* pai, const QString& texto) override;
    QString abrirArquivo(QWidget* pai, const QString& arquivoInicial) override;
    QString salvarArquivo(QWidget* pai, const QString& titulo, const QString& arquivoInicial,
                          const QString& filtro) override;
};
