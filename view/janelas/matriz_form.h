#pragma once

#include <QWidget>

class QLabel;
class QTableWidget;

// The matrices window: four labelled grids for the matrices K, A, F and G, opened
// maximized; nothing writes into them but the user.
class TMatrizForm : public QWidget {
    Q_OBJECT
public:
    explicit TMatrizForm(QWidget* parent = nullptr);

    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    QTableWidget* matrizKStringGrid;
    QTableWidget* matrizAStringGrid;
    QTableWidget* matrizFStringGrid;
    QTableWidget* matrizGStringGrid;
};
