#pragma once

#include <QElapsedTimer>
#include <QMainWindow>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "app/cena/cena.h"
#include "app/cena/formulario_cena.h"
#include "app/execucao/execucao.h"
#include "app/janelas/execucao_janela.h"
#include "model/obj_deformavel.h"
#include "ui_main_form.h"

class QLineEdit;
class TDiagnosticoForm;
class TRenderForm;
class TRestrForm;

// The main window: every value of a simulation as text, the script loader, "Simulate"
// and the way to the restrictions and animation windows. Its controls are laid out in
// main_form.ui and keep the names the users' documentation gives them (quadrosEdit,
// simularButton, ...), so callers reach them as members of the window.
class TMainForm : public QMainWindow, public Ui::TMainForm {
    Q_OBJECT
public:
    explicit TMainForm(QWidget* parent = nullptr);
    ~TMainForm() override;

    // The windows created after this one; the main window needs them from then on.
    void ligar(TRestrForm* restricoes, TRenderForm* animacao, TDiagnosticoForm* diagnosticos = nullptr);

    // Set by the first load that reaches the end of its script, or by File > "Novo".
    bool scriptCarregado = false;
    // The object of the last Simulate; it runs on the worker thread while a run lasts.
    const tevra::ObjDeformavel* objetoAtual() const;

    // File > "Novo": a small scene that runs, in every box.
    void Abiri1Click();
    // File > "Abrir".
    void Abrir1Click();
    // What "Abrir" does once a file is chosen; also used for a script named on the
    // command line. Numbers go into the boxes with the user's decimal separator.
    void carregarArquivo(const QString& caminho);
    // File > "Salvar" (Ctrl+S): the window's values as a script, numbers with a point.
    void Salvar1Click();
    // View > "Diagnostics".
    void Diagnosticos1Click();
    void simularButtonClick();
    void restricaoButtonClick();
    void Button1Click();
    void objetoComboBoxChange();
    void cancelarButtonClick();

    // The window's values as the set-up reads them.
    tevra::FormularioCena lerFormulario() const;
    // The window's values as a scene, with the user's decimal separator; throws
    // ErroEntrada with the text to show and the box it came from.
    tevra::Cena lerCena() const;
    // Shows the error's text, with the caption of its box on a second line, above the
    // window that holds the box, which gets the focus with its text selected.
    void mostrarErro(const tevra::ErroEntrada& erro);
    // The surface the window's values build; throws ErroEntrada.
    std::unique_ptr<tevra::ObjDeformavel> criarObjeto() const;

    bool simulando() const;
    // Shows the animation window once Render has handed over its values; tests replace it.
    std::function<void()> mostrarAnimacao;

signals:
    // A run has ended and its messages have been shown (or skipped while closing).
    void simulacaoConcluida();

protected:
    void closeEvent(QCloseEvent* evento) override;
    void showEvent(QShowEvent* evento) override;

private:
    // The user's decimal separator for the boxes; the point when the locale's is not one
    // character the conversion can take.
    char separador() const;
    // Puts the texts of `form` into the boxes it names, the shape and, for a complete
    // scene, the solver and the restrictions table.
    void aplicarFormulario(const tevra::FormularioCena& form, bool completo);
    // The integer in a box; throws ErroEntrada naming the box.
    int inteiroDaCaixa(const char* nome) const;
    // Gives the box or cell of `origem` the focus; the window that holds it.
    QWidget* focarOrigem(const tevra::OrigemEntrada& origem);

    void iniciarSimulacao(std::unique_ptr<tevra::Execucao> execucao);
    void terminarSimulacao();
    void atualizarProgresso(int feitos, int total);

    TRestrForm* restr_ = nullptr;
    TRenderForm* render_ = nullptr;
    TDiagnosticoForm* diagnosticos_ = nullptr;
    std::map<std::string, QLineEdit*> caixas_;  // the value boxes by object name

    // The run in progress, or the last one; the time since "Simulate" was pressed.
    ExecucaoJanela* execucao_ = nullptr;
    QElapsedTimer relogio_;
    bool fechando_ = false;
};
