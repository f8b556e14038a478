#include "view/janelas/dados_form.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <optional>

#include "base/conversao.h"
#include "view/janelas/dialogos.h"
#include "view/janelas/matriz_form.h"
#include "view/janelas/render_form.h"

using namespace tevra;

namespace {

// The integer in a box, or the message for its text.
std::optional<int> inteiroDe(QWidget* pai, const QLineEdit* caixa) {
    const std::string texto = caixa->text().toStdString();
    const std::optional<int> v = paraInteiro(texto);
    if (!v) dialogos().mensagem(pai, QString::fromStdString(mensagemInteiroInvalido(texto)));
    return v;
}

}  // namespace

TDadosForm::TDadosForm(QWidget* parent) : QWidget(parent, Qt::Window) {
    setupUi(this);
    // uic gives a top-level form only its size; the first place is the window's own.
    move(272, 225);
    // Designer reaches a header's sections, not its width; the fixed column is as narrow as the others.
    dadosStringGrid->verticalHeader()->setFixedWidth(30);

    connect(matrizButton, &QPushButton::clicked, this, &TDadosForm::matrizButtonClick);
    connect(Button1, &QPushButton::clicked, this, &TDadosForm::Button1Click);

    mostrarAnimacao = [this] {
        if (!render_) return;
        render_->show();
        render_->raise();
        render_->activateWindow();
    };
}

void TDadosForm::ligar(TMatrizForm* matrizes, TRenderForm* animacao) {
    matriz_ = matrizes;
    render_ = animacao;
}

void TDadosForm::matrizButtonClick() {
    if (!matriz_) return;
    matriz_->showMaximized();
    matriz_->raise();
    matriz_->activateWindow();
}

void TDadosForm::Button1Click() {
    if (!render_) return;
    const auto n = inteiroDe(this, FramesEdit);
    if (!n) return;
    render_->numQuadros = *n;
    const auto gi = inteiroDe(this, Gride1Edit);
    if (!gi) return;
    render_->gradeI = *gi;
    const auto gj = inteiroDe(this, Gride2Edit);
    if (!gj) return;
    render_->gradeJ = *gj;
    if (mostrarAnimacao) mostrarAnimacao();
}
