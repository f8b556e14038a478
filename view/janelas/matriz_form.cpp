#include "view/janelas/matriz_form.h"

#include <QFont>
#include <QHeaderView>
#include <QLabel>
#include <QScrollArea>
#include <QTableWidget>
#include <QVBoxLayout>


namespace {

QLabel* titulo(const char* texto, int x, int y, QWidget* pai) {
    auto* l = new QLabel(QString::fromLatin1(texto), pai);
    QFont f(QStringLiteral("Palatino Linotype"));
    f.setPixelSize(21);
    f.setBold(true);
    f.setItalic(true);
    l->setFont(f);
    l->move(x, y);
    l->adjustSize();
    return l;
}

// Columns and rows count the fixed heading row and column, which are the table's headers.
QTableWidget* grade(const char* nome, int x, int y, int w, int h, int colunas, int linhas, QWidget* pai) {
    auto* g = new QTableWidget(linhas - 1, colunas - 1, pai);
    g->setObjectName(QString::fromLatin1(nome));
    g->setGeometry(x, y, w, h);
    g->setHorizontalHeaderLabels(QStringList(colunas - 1, QString()));
    g->setVerticalHeaderLabels(QStringList(linhas - 1, QString()));
    g->verticalHeader()->setFixedWidth(g->horizontalHeader()->defaultSectionSize());
    return g;
}

}  // namespace

TMatrizForm::TMatrizForm(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("MatrizForm"));
    setWindowTitle(QStringLiteral("Matrizes"));

    // The grids are laid out for a large screen; a smaller one scrolls.
    auto* rolagem = new QScrollArea(this);
    rolagem->setFrameShape(QFrame::NoFrame);
    auto* folha = new QWidget;
    folha->setFixedSize(1275, 955);
    Label1 = titulo("Matriz K", 8, 16, folha);
    Label2 = titulo("Matriz A", 16, 488, folha);
    Label3 = titulo("Matriz F", 696, 16, folha);
    Label4 = titulo("Matriz G", 984, 16, folha);
    matrizKStringGrid = grade("matrizKStringGrid", 7, 55, 680, 420, 10, 10, folha);
    matrizAStringGrid = grade("matrizAStringGrid", 7, 520, 680, 420, 10, 10, folha);
    matrizFStringGrid = grade("matrizFStringGrid", 696, 55, 281, 889, 4, 10, folha);
    matrizGStringGrid = grade("matrizGStringGrid", 983, 55, 282, 889, 4, 10, folha);
    rolagem->setWidget(folha);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(rolagem);
}
