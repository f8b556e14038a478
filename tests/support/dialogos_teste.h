#pragma once
// Dialogs that answer themselves, for the window tests.

#include <QString>
#include <QStringList>

#include <deque>
#include <functional>

#include "view/janelas/dialogos.h"

// Records every message and warning and answers the file dialogs from a queue (empty:
// cancelled).
class DialogosTeste : public Dialogos {
public:
    QStringList mensagens;
    QStringList avisos;
    QStringList presets;
    // Title, preset path and filter of each save dialog, in order.
    QStringList salvarTitulos, salvarPresets, salvarFiltros;
    std::deque<QString> respostas;
    // Runs while a message box is "open", before it returns.
    std::function<void(const QString&)> aoMostrar;

    void mensagem(QWidget*, const QString& texto) override {
        mensagens << texto;
        if (aoMostrar) aoMostrar(texto);
    }
    void aviso(QWidget*, const QString& texto) override { avisos << texto; }
    QString abrirArquivo(QWidget*, const QString& arquivoInicial) override {
        presets << arquivoInicial;
        return responder();
    }
    QString salvarArquivo(QWidget*, const QString& titulo, const QString& arquivoInicial,
                          const QString& filtro) override {
        salvarTitulos << titulo;
        salvarPresets << arquivoInicial;
        salvarFiltros << filtro;
        return responder();
    }

private:
    QString responder() {
        if (respostas.empty()) return {};
        QString r = respostas.front();
        respostas.pop_front();
        return r;
    }
};
