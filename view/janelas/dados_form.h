#pragma once

#include <QWidget>
#include <functional>

#include "ui_dados_form.h"

class TMatrizForm;
class TRenderForm;

// The data window: a free grid to type into, the way to the matrices window, and a
// "Render" that plays any number of frames of any grid size. Laid out in dados_form.ui.
class TDadosForm : public QWidget, public Ui::TDadosForm {
    Q_OBJECT
public:
    explicit TDadosForm(QWidget* parent = nullptr);

    void ligar(TMatrizForm* matrizes, TRenderForm* animacao);

    void matrizButtonClick();
    // Hands the frame count and the grid size of the three boxes to the animation window,
    // in that order, and shows it; the first box that holds no integer stops it there.
    void Button1Click();

    // Shows the animation window once Render has handed over its values; tests replace it.
    std::function<void()> mostrarAnimacao;

private:
    TMatrizForm* matriz_ = nullptr;
    TRenderForm* render_ = nullptr;
};
