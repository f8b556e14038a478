#pragma once

#include <QElapsedTimer>
#include <QMainWindow>
#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "app/cena/formulario_cena.h"
#include "dynamics/simulacao.h"
#include "model/obj_deformavel.h"

class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QPushButton;
class QThread;
class QTimer;
class QWidget;
class TRenderForm;
class TRestrForm;

// The main window: every value of a simulation as text, the script loader, "Simulate"
// and the way to the restrictions and animation windows.
class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    explicit TMainForm(QWidget* parent = nullptr);
    ~TMainForm() override;

    // The windows created after this one; the main window needs them from then on.
    void ligar(TRestrForm* restricoes, TRenderForm* animacao);

    // Set by the first load that reaches the end of its script.
    bool scriptCarregado = false;
    // The object of the last Simulate; it runs on the worker thread while a run lasts.
    std::unique_ptr<tevra::ObjDeformavel> objetoAtual;

    // File > "Abrir".
    void Abrir1Click();
    // What "Abrir" does once a file is chosen; also used for a script named on the
    // command line.
    void carregarArquivo(const QString& caminho);
    void simularButtonClick();
    void restricaoButtonClick();
    void Button1Click();
    void objetoComboBoxChange();
    void cancelarButtonClick();

    // The window's values as the set-up reads them.
    tevra::FormularioCena lerFormulario() const;
    // Builds the object from the window with the user's decimal separator; throws
    // ErroConfiguracao with the text to show.
    std::unique_ptr<tevra::ObjDeformavel> criarObjeto() const;

    bool simulando() const { return trabalho_ != nullptr; }
    // Shows the animation window once Render has handed over its values; tests replace it.
    std::function<void()> mostrarAnimacao;

    // Controls, named as the users' documentation names them.
    QAction* Abiri1;
    QAction* Abrir1;
    QMenu* Arquivo1;
    QLineEdit* quadrosEdit;
    QLineEdit* passoEdit;
    QLineEdit* gamaEdit;
    QLineEdit* fluido_cte_Edit;
    QLineEdit* fluido_x_Edit;
    QLineEdit* fluido_y_Edit;
    QLineEdit* fluido_z_Edit;
    QLineEdit* vel_x_Edit;
    QLineEdit* vel_y_Edit;
    QLineEdit* vel_z_Edit;
    QLineEdit* acel_x_Edit;
    QLineEdit* acel_y_Edit;
    QLineEdit* acel_z_Edit;
    QPushButton* restricaoButton;
    QComboBox* solverComboBox;
    QCheckBox* CheckBox3;
    QCheckBox* CheckBox2;
    QCheckBox* CheckBox1;
    QPushButton* simularButton;
    QProgressBar* progressoBar;
    QPushButton* cancelarButton;
    QLineEdit* massaEdit;
    QLineEdit* grade_i_Edit;
    QLineEdit* grade_j_Edit;
    QLineEdit* eta_00_Edit;
    QLineEdit* eta_01_Edit;
    QLineEdit* eta_10_Edit;
    QLineEdit* eta_11_Edit;
    QLineEdit* qsi_00_Edit;
    QLineEdit* qsi_01_Edit;
    QLineEdit* qsi_10_Edit;
    QLineEdit* qsi_11_Edit;
    QLineEdit* psi_00_Edit;
    QLineEdit* psi_01_Edit;
    QLineEdit* psi_10_Edit;
    QLineEdit* psi_11_Edit;
    QComboBox* objetoComboBox;
    QWidget* planoPanel;
    QWidget* cilindroPanel;
    QWidget* objectPanel;
    QLineEdit* comp_x_Edit;
    QLineEdit* comp_y_Edit;
    QLineEdit* comp_z_Edit;
    QLineEdit* raioEdit;
    QLineEdit* compEdit;
    QLineEdit* tempoEdit;
    QLineEdit* intervaloEdit;
    QPushButton* Button3;
    QLineEdit* Edit1;
    QPushButton* Button1;
    QLabel* scriptLabel;
    QPushButton* gerarDadosButton;
    QPushButton* Button2;

signals:
    // A run has ended and its messages have been shown (or skipped while closing).
    void simulacaoConcluida();

protected:
    void closeEvent(QCloseEvent* evento) override;
    void showEvent(QShowEvent* evento) override;

private:
    QLineEdit* novaCaixa(const char* nome);
    QGroupBox* montarSimulacao();
    QGroupBox* montarSuperficie();
    QGroupBox* montarAnimacao();
    QWidget* montarRodape();
    void iniciarSimulacao();
    void terminarSimulacao();
    void atualizarProgresso();
    void pararTrabalho();

    TRestrForm* restr_ = nullptr;
    TRenderForm* render_ = nullptr;
    std::map<std::string, QLineEdit*> caixas_;  // the value boxes by object name

    // The run in progress, if any.
    QThread* trabalho_ = nullptr;
    QTimer* progressoTimer_ = nullptr;
    QElapsedTimer relogio_;
    std::atomic<bool> cancelar_{false};
    std::atomic<int> feitos_{0};
    std::atomic<int> total_{0};
    tevra::ResultadoSimulacao resultado_;
    QString erroExecucao_;
    bool objetoInvalido_ = false;
    bool fechando_ = false;
};
