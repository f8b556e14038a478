#pragma once
// Dialogs that answer themselves, for the window tests.

#include <QString>
#include <QStringList>

#include <deque>
#include <functional>

#include "view/janelas/dialogos.h"

// Records every message and warning and answers the file dialogs from their queues (empty:
// cancelled).
class DialogosTeste : public Dialogos {
public:
    QStringList mensagens;
    QStringList avisos;
    QStringList presets;
    std::deque<QString> respostas;
    QStringList presetsImagem;
    std::deque<QString> respostasImagem;
    // Runs while a message box is "open", before it returns.
    std::function<void(const QString&)> aoMostrar;

    void mensagem(QWidget*, const QString& texto) override {
        mensagens << texto;
        if (aoMostrar) aoMostrar(texto);
    }
    void aviso(QWidget*, const QString& texto) override { avisos << texto; }
    QString abrirArquivo(QWidget*, const QString& arquivoInicial) override {
        presets << arquivoInicial;
        if (respostas.empty()) return {};
        QString r = respostas.front();
        respostas.pop_front();
        return r;
    }
    QString salvarImagem(QWidget*, const QString& arquivoInicial) override {
        presetsImagem << arquivoInicial;
        if (respostasImagem.empty()) return {};
        QString r = respostasImagem.front();
        respostasImagem.pop_front();
        return r;
    }
};
