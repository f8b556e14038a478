// The main window's File menu: a new scene, a script into the boxes, the boxes into a
// script; and the boxes read back as a scene.
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <filesystem>

#include "app/cena/cena_nova.h"
#include "app/cena/configuracao.h"
#include "app/cena/conversao_cena.h"
#include "app/cena/escrita_script.h"
#include "app/cena/script_cena.h"
#include "app/janelas/main_form.h"
#include "app/janelas/restr_form.h"
#include "base/erros.h"
#include "base/gravacao.h"
#include "base/tevra_home.h"
#include "view/janelas/dialogos.h"

using namespace tevra;

namespace {

// Stands in the form's shape while a script loads: still there afterwards means the load
// never reached the shape, so the combo box keeps its text.
const std::string kFormaNaoLida(1, '\x01');

std::filesystem::path caminhoLocal(const QString& caminho) {
    return std::filesystem::path(QFile::encodeName(caminho).toStdString());
}

QString texto(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

char TMainForm::separador() const {
    const QString p = QLocale().decimalPoint();
    if (p.size() == 1 && p[0].unicode() < 128) return static_cast<char>(p[0].unicode());
    return '.';
}

void TMainForm::aplicarFormulario(const FormularioCena& form, bool completo) {
    for (const auto& [nome, valor] : form.caixas) {
        auto it = caixas_.find(nome);
        if (it != caixas_.end()) it->second->setText(texto(valor));
    }
    if (form.objeto != kFormaNaoLida) {
        objetoComboBox->setCurrentIndex(objetoComboBox->findText(texto(form.objeto)));
        objetoComboBoxChange();
    }
    if (!completo) return;
    if (restr_) restr_->definirRestricoes(form.restricoes);
    if (solverComboBox->currentText() != texto(form.solver)) solverComboBox->setCurrentText(texto(form.solver));
}

void TMainForm::Abrir1Click() {
    const QString preset = QString::fromStdString((tevra::home::scripts() / "script.anisot1").string());
    const QString escolhido = dialogos().abrirArquivo(this, preset);
    if (escolhido.isEmpty()) return;
    carregarArquivo(escolhido);
}

void TMainForm::carregarArquivo(const QString& caminho) {
    scriptLabel->setText(caminho);
    // Only what the load reaches lands in the form, so only that changes in the window.
    FormularioCena lido;
    lido.objeto.assign(kFormaNaoLida);
    lido.solver = solverComboBox->currentText().toStdString();
    QString erro;
    try {
        carregarScript(caminhoLocal(caminho), lido);
    } catch (const ErroEntrada& e) {
        erro = QString::fromStdString(e.what());
    }
    // Files hold points; the boxes hold numbers as this user types them.
    localizarNumeros(lido, separador());
    // Boxes the load reached keep their new text, complete or not.
    aplicarFormulario(lido, erro.isEmpty());
    if (!erro.isEmpty()) {
        dialogos().mensagem(this, erro);
        return;
    }
    scriptCarregado = true;
}

void TMainForm::Abiri1Click() {
    FormularioCena novo = formularioNovo();
    localizarNumeros(novo, separador());
    aplicarFormulario(novo, true);
    scriptLabel->setText(QStringLiteral("<new scene>"));
    scriptCarregado = true;
}

void TMainForm::Salvar1Click() {
    Cena cena;
    try {
        cena = lerCena();
    } catch (const ErroEntrada& e) {
        mostrarErro(e);
        return;
    }
    const QFileInfo atual(scriptLabel->text());
    const QString nome =
        atual.suffix() == QLatin1String("anisot1") ? atual.fileName() : QStringLiteral("script.anisot1");
    const QString preset = QString::fromStdString((tevra::home::scripts() / nome.toStdString()).string());
    const QString destino = dialogos().salvarArquivo(this, QStringLiteral("Save the scene"), preset,
                                                     QStringLiteral("Scene scripts (*.anisot1);;All files (*)"));
    if (destino.isEmpty()) return;
    if (const Escrita falha = gravarArquivoAtomico(caminhoLocal(destino), escreverScript(cena))) {
        dialogos().mensagem(this, QStringLiteral("The scene could not be saved: %1").arg(texto(falha->texto())));
        return;
    }
    scriptLabel->setText(destino);
}

FormularioCena TMainForm::lerFormulario() const {
    FormularioCena f;
    for (const auto& [nome, caixa] : caixas_) f.caixas[nome] = caixa->text().toStdString();
    f.solver = solverComboBox->currentText().toStdString();
    f.objeto = objetoComboBox->currentText().toStdString();
    if (restr_) f.restricoes = restr_->restricoes();
    return f;
}

Cena TMainForm::lerCena() const { return converterCena(lerFormulario(), separador()); }

std::unique_ptr<ObjDeformavel> TMainForm::criarObjeto() const { return tevra::criarObjeto(lerCena()); }
