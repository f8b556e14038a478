#include "view/janelas/dialogos.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace {
Dialogos* instalados = nullptr;
}

Dialogos& dialogos() {
    static DialogosQt qt;
    return instalados ? *instalados : qt;
}

void usarDialogos(Dialogos* d) { instalados = d; }

void DialogosQt::mensagem(QWidget* pai, const QString& texto) {
    QMessageBox caixa(QMessageBox::NoIcon, QStringLiteral("Tevra"), texto, QMessageBox::Ok, pai);
    caixa.exec();
}

void DialogosQt::aviso(QWidget* pai, const QString& texto) {
    // A child of its window: it stays above it and goes with it.
    auto* caixa = new QMessageBox(QMessageBox::Warning, QStringLiteral("Tevra"), texto, QMessageBox::Ok, pai);
    caixa->setAttribute(Qt::WA_DeleteOnClose);
    caixa->setModal(false);
    caixa->show();
    caixa->raise();
}

QString DialogosQt::abrirArquivo(QWidget* pai, const QString& arquivoInicial) {
    QFileDialog dialogo(pai, QStringLiteral("Open"));
    dialogo.setObjectName(QStringLiteral("abrirOpenDialog"));
    dialogo.setFileMode(QFileDialog::ExistingFile);
    dialogo.setAcceptMode(QFileDialog::AcceptOpen);
    const QFileInfo inicial(arquivoInicial);
    dialogo.setDirectory(inicial.absolutePath());
    dialogo.selectFile(inicial.fileName());
    if (dialogo.exec() != QDialog::Accepted) return {};
    const QStringList escolhidos = dialogo.selectedFiles();
    return escolhidos.isEmpty() ? QString() : escolhidos.first();
}

QString DialogosQt::salvarImagem(QWidget* pai, const QString& arquivoInicial) {
    QFileDialog dialogo(pai, QStringLiteral("Save picture"));
    dialogo.setObjectName(QStringLiteral("salvarImagemDialog"));
    dialogo.setFileMode(QFileDialog::AnyFile);
    dialogo.setAcceptMode(QFileDialog::AcceptSave);
    dialogo.setNameFilter(QStringLiteral("PNG pictures (*.png)"));
    dialogo.setDefaultSuffix(QStringLiteral("png"));
    const QFileInfo inicial(arquivoInicial);
    dialogo.setDirectory(inicial.absolutePath());
    dialogo.selectFile(inicial.fileName());
    if (dialogo.exec() != QDialog::Accepted) return {};
    const QStringList escolhidos = dialogo.selectedFiles();
    return escolhidos.isEmpty() ? QString() : escolhidos.first();
}
