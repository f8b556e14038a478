#include "app/janelas/main_form.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <optional>
#include <vector>

#include "app/janelas/restr_form.h"
#include "base/conversao.h"
#include "base/erros.h"
#include "model/solver.h"
#include "view/janelas/diagnostico_form.h"
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

    connect(Abiri1, &QAction::triggered, this, &TMainForm::Abiri1Click);
    connect(Abrir1, &QAction::triggered, this, &TMainForm::Abrir1Click);
    connect(Salvar1, &QAction::triggered, this, &TMainForm::Salvar1Click);
    connect(Diagnosticos1, &QAction::triggered, this, &TMainForm::Diagnosticos1Click);
    connect(restricaoButton, &QPushButton::clicked, this, &TMainForm::restricaoButtonClick);
    connect(simularButton, &QPushButton::clicked, this, &TMainForm::simularButtonClick);
    connect(cancelarButton, &QPushButton::clicked, this, &TMainForm::cancelarButtonClick);
    connect(objetoComboBox, &QComboBox::activated, this, &TMainForm::objetoComboBoxChange);
    connect(Button1, &QPushButton::clicked, this, &TMainForm::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &QWidget::close);

    execucao_ = new ExecucaoJanela(this);
    connect(execucao_, &ExecucaoJanela::progresso, this, &TMainForm::atualizarProgresso);
    connect(execucao_, &ExecucaoJanela::terminada, this, &TMainForm::terminarSimulacao);

    mostrarAnimacao = [this] { trazerAFrente(render_); };
    objetoComboBoxChange();
}

TMainForm::~TMainForm() {
    fechando_ = true;
    execucao_->parar();
}

void TMainForm::ligar(TRestrForm* restricoes, TRenderForm* animacao, TDiagnosticoForm* diagnosticos) {
    restr_ = restricoes;
    render_ = animacao;
    diagnosticos_ = diagnosticos;
}

void TMainForm::objetoComboBoxChange() {
    const QString forma = objetoComboBox->currentText();
    planoPanel->setVisible(forma == QLatin1String("plano"));
    cilindroPanel->setVisible(forma == QLatin1String("cilindro"));
    objectPanel->setVisible(forma != QLatin1String("plano") && forma != QLatin1String("cilindro"));
}

void TMainForm::restricaoButtonClick() { trazerAFrente(restr_); }

void TMainForm::Diagnosticos1Click() { trazerAFrente(diagnosticos_); }

int TMainForm::inteiroDaCaixa(const char* nome) const {
    const std::string texto = caixas_.at(nome)->text().toStdString();
    const std::optional<int> v = paraInteiro(texto);
    if (!v) throw ErroEntrada(mensagemInteiroInvalido(texto), OrigemEntrada{nome});
    return *v;
}

void TMainForm::Button1Click() {
    if (!render_) return;
    render_->numQuadros = 400;
    try {
        // One after the other: a bad second box leaves the first one's value handed over.
        render_->gradeI = inteiroDaCaixa(caixa::grade_i);
        render_->gradeJ = inteiroDaCaixa(caixa::grade_j);
    } catch (const ErroEntrada& e) {
        mostrarErro(e);
        return;
    }
    if (mostrarAnimacao) mostrarAnimacao();
}

QWidget* TMainForm::focarOrigem(const OrigemEntrada& origem) {
    if (origem.celula()) {
        if (!restr_) return this;
        trazerAFrente(restr_);
        restr_->mostrarCelula(origem.linha, origem.coluna);
        return restr_;
    }
    QWidget* w = findChild<QWidget*>(QString::fromStdString(origem.caixa));
    // A box of the tube while no shape is chosen sits in a hidden panel: the shape's box is next to it.
    if (w && !w->isVisibleTo(this)) w = objetoComboBox;
    if (!w) return this;
    w->setFocus(Qt::OtherFocusReason);
    if (auto* e = qobject_cast<QLineEdit*>(w)) e->selectAll();
    if (auto* c = qobject_cast<QComboBox*>(w); c && c->lineEdit()) c->lineEdit()->selectAll();
    return this;
}

void TMainForm::mostrarErro(const ErroEntrada& erro) {
    QString texto = QString::fromStdString(erro.what());
    QWidget* janela = this;
    if (erro.origem) {
        texto += QLatin1Char('\n') + QString::fromStdString(legendaDaOrigem(*erro.origem));
        janela = focarOrigem(*erro.origem);
    }
    dialogos().mensagem(janela, texto);
}
