#include "view/janelas/dados_form.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <optional>
#include <tuple>

#include "base/conversao.h"
#include "view/janelas/dialogos.h"
#include "view/janelas/matriz_form.h"
#include "view/janelas/render_form.h"

using namespace tevra;

namespace {

// The integer in a box, or nothing after its message: the text's refusal, the box's caption
// below it, and the box focused with its text selected.
std::optional<int> inteiroDe(QWidget* pai, QLineEdit* caixa, const char* legenda) {
    const std::string texto = caixa->text().toStdString();
    const std::optional<int> v = paraInteiro(texto);
    if (v) return v;
    caixa->setFocus(Qt::OtherFocusReason);
    caixa->selectAll();
    dialogos().mensagem(
        pai, QString::fromStdString(mensagemInteiroInvalido(texto)) + QLatin1Char('\n') + QLatin1String(legenda));
    return std::nullopt;
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

    mostrarAnimacao = [this] { trazerAFrente(render_); };
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
    // Box by box: the values taken before a bad box stay handed over.
    const std::tuple<QLineEdit*, const char*, int TRenderForm::*> caixas[] = {
        {FramesEdit, "frames", &TRenderForm::numQuadros},
        {Gride1Edit, "grid i", &TRenderForm::gradeI},
        {Gride2Edit, "grid j", &TRenderForm::gradeJ},
    };
    for (const auto& [caixa, legenda, destino] : caixas) {
        const auto v = inteiroDe(this, caixa, legenda);
        if (!v) return;
        render_->*destino = *v;
    }
    if (mostrarAnimacao) mostrarAnimacao();
}
