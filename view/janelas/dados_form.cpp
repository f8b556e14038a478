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
    setObjectName(QStringLiteral("DadosForm"));
    setWindowTitle(QStringLiteral("Simulacao"));
    resize(870, 640);
    move(272, 225);

    // 16 x 5 counting the fixed heading row and column, which are the table's headers.
    dadosStringGrid = new QTableWidget(15, 4, this);
    dadosStringGrid->setObjectName(QStringLiteral("dadosStringGrid"));
    dadosStringGrid->setGeometry(16, 16, 825, 377);
    dadosStringGrid->setHorizontalHeaderLabels(QStringList(4, QString()));
    dadosStringGrid->setVerticalHeaderLabels(QStringList(15, QString()));
    dadosStringGrid->horizontalHeader()->setDefaultSectionSize(30);
    dadosStringGrid->horizontalHeader()->setMinimumSectionSize(10);
    dadosStringGrid->verticalHeader()->setFixedWidth(30);
    dadosStringGrid->setShowGrid(true);
    dadosStringGrid->setSelectionMode(QAbstractItemView::ContiguousSelection);
    dadosStringGrid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                                     QAbstractItemView::AnyKeyPressed);

    matrizButton = new QPushButton(QStringLiteral("Matrizes"), this);
    matrizButton->setObjectName(QStringLiteral("matrizButton"));
    matrizButton->setGeometry(16, 408, 75, 25);
    connect(matrizButton, &QPushButton::clicked, this, &TDadosForm::matrizButtonClick);

    Button1 = new QPushButton(QStringLiteral("Render"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(104, 408, 75, 25);
    connect(Button1, &QPushButton::clicked, this, &TDadosForm::Button1Click);

    FramesEdit = new QLineEdit(this);
    FramesEdit->setObjectName(QStringLiteral("FramesEdit"));
    FramesEdit->move(16, 448);
    FramesEdit->resize(121, FramesEdit->sizeHint().height());
    Gride1Edit = new QLineEdit(this);
    Gride1Edit->setObjectName(QStringLiteral("Gride1Edit"));
    Gride1Edit->move(16, 480);
    Gride1Edit->resize(57, Gride1Edit->sizeHint().height());
    Gride2Edit = new QLineEdit(this);
    Gride2Edit->setObjectName(QStringLiteral("Gride2Edit"));
    Gride2Edit->move(80, 480);
    Gride2Edit->resize(57, Gride2Edit->sizeHint().height());

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
