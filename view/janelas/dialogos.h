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
    // it; returns at once.
    virtual void aviso(QWidget* pai, const QString& texto) = 0;
    // The script open dialog, preset to `arquivoInicial`, without a file-type filter;
    // the chosen path, or an empty text when the user cancels.
    virtual QString abrirArquivo(QWidget* pai, const QString& arquivoInicial) = 0;
    // The picture save dialog, preset to `arquivoInicial`, for PNG files; it asks before
    // replacing a file. The chosen path, or an empty text when the user cancels.
    virtual QString salvarImagem(QWidget* pai, const QString& arquivoInicial) = 0;
};

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
    QString salvarImagem(QWidget* pai, const QString& arquivoInicial) override;
};
