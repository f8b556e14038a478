#include "view/janelas/dialogos.h"

#include <QApplication>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPointer>
#include <QRegularExpression>

namespace {
Dialogos* instalados = nullptr;

// Shows the warning box once its window has been shown, so that it opens above it rather
// than behind it (or alone on the screen while its window is hidden).
class AvisoAdiado : public QObject {
public:
    AvisoAdiado(QWidget* janela, QMessageBox* caixa) : QObject(janela), caixa_(caixa) {
        janela->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Show) {
            if (caixa_) {
                caixa_->show();
                caixa_->raise();
            }
            deleteLater();
        }
        return false;
    }

private:
    QPointer<QMessageBox> caixa_;
};

}  // namespace

Dialogos& dialogos() {
    static DialogosQt qt;
    return instalados ? *instalados : qt;
}

void usarDialogos(Dialogos* d) { instalados = d; }

void trazerAFrente(QWidget* janela) {
    if (!janela) return;
    janela->show();
    janela->raise();
    janela->activateWindow();
}

void DialogosQt::mensagem(QWidget* pai, const QString& texto) {
    // Without a window of its own it belongs to the one the user works in.
    if (!pai) pai = QApplication::activeWindow();
    QMessageBox caixa(QMessageBox::NoIcon, QStringLiteral("Tevra"), texto, QMessageBox::Ok, pai);
    caixa.exec();
}

void DialogosQt::aviso(QWidget* pai, const QString& texto) {
    // A child of its window: it stays above it and goes with it.
    auto* caixa = new QMessageBox(QMessageBox::Warning, QStringLiteral("Tevra"), texto, QMessageBox::Ok, pai);
    caixa->setAttribute(Qt::WA_DeleteOnClose);
    caixa->setModal(false);
    if (pai && !pai->isVisible()) {
        new AvisoAdiado(pai->window(), caixa);
        return;
    }
    caixa->show();
    caixa->raise();
}

namespace {

// Runs a file dialog from the preset's folder with its name filled in; the path chosen, or
// an empty text when the user cancels.
QString escolherArquivo(QFileDialog& dialogo, const QString& arquivoInicial) {
    const QFileInfo inicial(arquivoInicial);
    dialogo.setDirectory(inicial.absolutePath());
    dialogo.selectFile(inicial.fileName());
    if (dialogo.exec() != QDialog::Accepted) return {};
    const QStringList escolhidos = dialogo.selectedFiles();
    return escolhidos.isEmpty() ? QString() : escolhidos.first();
}

}  // namespace

QString DialogosQt::abrirArquivo(QWidget* pai, const QString& arquivoInicial) {
    QFileDialog dialogo(pai, QStringLiteral("Open"));
    dialogo.setObjectName(QStringLiteral("abrirOpenDialog"));
    dialogo.setFileMode(QFileDialog::ExistingFile);
    dialogo.setAcceptMode(QFileDialog::AcceptOpen);
    return escolherArquivo(dialogo, arquivoInicial);
}

QString DialogosQt::salvarArquivo(QWidget* pai, const QString& titulo, const QString& arquivoInicial,
                                  const QString& filtro) {
    QFileDialog dialogo(pai, titulo);
    dialogo.setFileMode(QFileDialog::AnyFile);
    dialogo.setAcceptMode(QFileDialog::AcceptSave);
    if (!filtro.isEmpty()) dialogo.setNameFilter(filtro);
    // A name typed without its ending gets the filter's first one ("*.png" gives ".png").
    const QRegularExpression terminacao(QStringLiteral("\\*\\.(\\w+)"));
    if (const QRegularExpressionMatch m = terminacao.match(filtro); m.hasMatch())
        dialogo.setDefaultSuffix(m.captured(1));
    return escolherArquivo(dialogo, arquivoInicial);
}
