#pragma once

#include <QWidget>

#include "ui_matriz_form.h"

// The matrices window: four labelled grids for the matrices K, A, F and G, laid out in
// matriz_form.ui and opened maximized; nothing writes into them but the user.
class TMatrizForm : public QWidget, public Ui::TMatrizForm {
    Q_OBJECT
public:
    explicit TMatrizForm(QWidget* parent = nullptr);
};
