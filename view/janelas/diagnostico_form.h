#pragma once

#include <QDateTime>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <filesystem>
#include <optional>
#include <vector>

#include "ui_diagnostico_form.h"
#include "view/quadros/tabela_csv.h"

class QChart;
class QLineSeries;
class QValueAxis;
class TRenderForm;

// The plot window "Diagnostics": the columns of diagnostico.csv of the series the animation
// window shows, against simulated time, with a vertical line at the frame on screen. While
// it is shown it reads the file again whenever the file changes, so a run can be watched as
// it goes. Laid out in diagnostico_form.ui.
class TDiagnosticoForm : public QWidget, public Ui::TDiagnosticoForm {
    Q_OBJECT
public:
    explicit TDiagnosticoForm(QWidget* parent = nullptr);
    ~TDiagnosticoForm() override;

    // The animation window whose folder it reads and whose frame it marks.
    void ligar(TRenderForm* animacao);

    // Reads the file again and redraws.
    void recarregar();
    // The line at the time of frame n; hidden when the file has no such frame.
    void marcarQuadro(int n);
    // "Save as PNG": the chart as it stands, through a save dialog.
    void salvarPngButtonClick();

    std::filesystem::path arquivo() const;
    // Every curve the file offers (captions, in the file's order) and those drawn.
    QStringList curvas() const;
    QStringList curvasVisiveis() const;
    void mostrarCurva(const QString& legenda, bool visivel);
    int pontos() const { return static_cast<int>(tabela_.linhas.size()); }
    std::optional<double> tempoDaMarca() const;
    QChart* grafico() const { return grafico_; }

protected:
    void showEvent(QShowEvent* e) override;
    void hideEvent(QHideEvent* e) override;

private:
    void montarCurvas();
    void preencherCurvas();
    void atualizarEixos();
    void vigiar();

    TRenderForm* render_ = nullptr;
    QChart* grafico_ = nullptr;
    QValueAxis* eixoX_ = nullptr;
    QValueAxis* eixoY_ = nullptr;
    std::vector<QLineSeries*> series_;  // one a column after frame and time
    QLineSeries* marca_ = nullptr;
    tevra::TabelaCsv tabela_;
    int quadroMarcado_ = 0;
    QStringList escolhidas_;  // curves the user wants, kept across files

    QTimer vigia_;
    qint64 tamanhoVisto_ = -1;
    QDateTime mudancaVista_;
};
