#include "view/janelas/matriz_form.h"

#include <QHeaderView>
#include <QTableWidget>

TMatrizForm::TMatrizForm(QWidget* parent) : QWidget(parent, Qt::Window) {
    setupUi(this);
    // Designer reaches a header's sections, not its width; the heading column is as wide as the others.
    for (QTableWidget* g : {matrizKStringGrid, matrizAStringGrid, matrizFStringGrid, matrizGStringGrid})
        g->verticalHeader()->setFixedWidth(g->horizontalHeader()->defaultSectionSize());
}
