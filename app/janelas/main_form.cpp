#include "app/janelas/main_form.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "app/cena/configuracao.h"
#include "app/cena/script_cena.h"
#include "app/janelas/duracao.h"
#include "app/janelas/restr_form.h"
#include "base/conversao.h"
#include "base/tevra_home.h"
#include "model/solver.h"
#include "view/janelas/dialogos.h"
#include "view/janelas/render_form.h"

using namespace tevra;

namespace {

// Every value box, by the names the script loader and the set-up know it by.
std::vector<const char*> nomesDasCaixas() {
    std::vector<const char*> nomes = {caixa::passo,      caixa::quadros, caixa::intervalo,  caixa::tempo,
                                      caixa::grade_i,    caixa::grade_j, caixa::massa,      caixa::gama,
                                      caixa::fluido_cte, caixa::raio,    caixa::comprimento};
    for (const char* const* trio : {caixa::acel, caixa::vel, caixa::fluido, caixa::comp})
        nomes.insert(nomes.end(), trio, trio + 3);
    for (const char* const* tensor : {caixa::eta, caixa::qsi, caixa::psi})
        nomes.insert(nomes.end(), tensor, tensor + 4);
    return nomes;
}

}  // namespace

TMainForm::TMainForm(QWidget* parent) : QMainWindow(parent) {
    setupUi(this);
    for (std::string_view nome : nomesSolver) solverComboBox->addItem(QString::fromUtf8(nome.data(), nome.size()));
    solverComboBox->setCurrentIndex(0);
    // uic gives a top-level form only its size; the first place is the window's own.
    move(178, 87);
    for (const char* nome : nomesDasCaixas())
        if (auto* e = findChild<QLineEdit*>(QLatin1String(nome))) caixas_[nome] = e;

    connect(Abrir1, &QAction::triggered, this, &TMainForm::Abrir1Click);
    connect(restricaoButton, &QPushButton::clicked, this, &TMainForm::restricaoButtonClick);
    connect(simularButton, &QPushButton::clicked, this, &TMainForm::simularButtonClick);
    connect(cancelarButton, &QPushButton::clicked, this, &TMainForm::cancelarButtonClick);
    connect(objetoComboBox, &QComboBox::activated, this, &TMainForm::objetoComboBoxChange);
    connect(Button1, &QPushButton::clicked, this, &TMainForm::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &QWidget::close);

    execucao_ = new ExecucaoJanela(this);
    connect(execucao_, &ExecucaoJanela::progresso, this, &TMainForm::atualizarProgresso);
    connect(execucao_, &ExecucaoJanela::terminada, this, &TMainForm::terminarSimulacao);

    mostrarAnimacao = [this] {
        if (!render_) return;
        render_->show();
        render_->raise();
        render_->activateWindow();
    };
    objetoComboBoxChange();
}

TMainForm::~TMainForm() {
    fechando_ = true;
    execucao_->parar();
}

void TMainForm::ligar(TRestrForm* restricoes, TRenderForm* animacao) {
    restr_ = restricoes;
    render_ = animacao;
}

void TMainForm::objetoComboBoxChange() {
    const QString forma = objetoComboBox->currentText();
    planoPanel->setVisible(forma == QLatin1String("plano"));
    cilindroPanel->setVisible(forma == QLatin1String("cilindro"));
    objectPanel->setVisible(forma != QLatin1String("plano") && forma != QLatin1String("cilindro"));
}

void TMainForm::restricaoButtonClick() {
    if (!restr_) return;
    restr_->show();
    restr_->raise();
    restr_->activateWindow();
}

void TMainForm::Button1Click() {
    if (!render_) return;
    render_->numQuadros = 400;
    const QString textoI = grade_i_Edit->text();
    const auto gi = paraInteiro(textoI.toStdString());
    if (!gi) {
        dialogos().mensagem(this, QString::fromStdString(mensagemInteiroInvalido(textoI.toStdString())));
        return;
    }
    render_->gradeI = *gi;
    const QString textoJ = grade_j_Edit->text();
    const auto gj = paraInteiro(textoJ.toStdString());
    if (!gj) {
        dialogos().mensagem(this, QString::fromStdString(mensagemInteiroInvalido(textoJ.toStdString())));
        return;
    }
    render_->gradeJ = *gj;
    if (mostrarAnimacao) mostrarAnimacao();
}

void TMainForm::Abrir1Click() {
    const QString preset = QString::fromStdString((tevra::home::scripts() / "script.anisot1").string());
    const QString escolhido = dialogos().abrirArquivo(this, preset);
    if (escolhido.isEmpty()) return;
    carregarArquivo(escolhido);
}
