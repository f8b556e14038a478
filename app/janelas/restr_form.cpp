#include "app/janelas/restr_form.h"

#include <QHeaderView>
#include <QTableWidget>
#include <QVBoxLayout>


namespace {
const char* const titulos[8] = {"U", "V", "Tipo", "Inicio", "Fim", "X", "Y", "Z"};
}

TRestrForm::TRestrForm(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("RestrForm"));
    setWindowTitle(QStringLiteral("Restrictions"));
    // Closing only hides it; its table must survive until the next load.
    setAttribute(Qt::WA_DeleteOnClose, false);
    setAttribute(Qt::WA_QuitOnClose, false);
    resize(608, 628);
    move(223, 42);

    restrStringGrid = new QTableWidget(1, 8, this);
    restrStringGrid->setObjectName(QStringLiteral("restrStringGrid"));
    restrStringGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    restrStringGrid->setSelectionMode(QAbstractItemView::ExtendedSelection);
    restrStringGrid->setSelectionBehavior(QAbstractItemView::SelectItems);
    restrStringGrid->setMinimumSize(589, 585);
    QStringList cab;
    for (const char* t : titulos) cab << QString::fromLatin1(t);
    restrStringGrid->setHorizontalHeaderLabels(cab);
    // Equal columns narrow enough that the whole table fits the window without scrolling.
    restrStringGrid->horizontalHeader()->setDefaultSectionSize(64);
    // One empty restriction row, without a number, until a script is loaded.
    restrStringGrid->setVerticalHeaderItem(0, new QTableWidgetItem(QString()));
    for (int c = 0; c < 8; ++c) restrStringGrid->setItem(0, c, new QTableWidgetItem(QString()));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(restrStringGrid);
}

int TRestrForm::linhas() const { return restrStringGrid->rowCount() + 1; }

QString TRestrForm::celula(int coluna, int linha) const {
    if (linha == 0) {
        if (coluna == 0) return {};
        const QTableWidgetItem* h = restrStringGrid->horizontalHeaderItem(coluna - 1);
        return h ? h->text() : QString();
    }
    const QTableWidgetItem* it = coluna == 0 ? restrStringGrid->verticalHeaderItem(linha - 1)
                                             : restrStringGrid->item(linha - 1, coluna - 1);
    return it ? it->text() : QString();
}

std::vector<std::array<std::string, 8>> TRestrForm::restricoes() const {
    std::vector<std::array<std::string, 8>> rows(static_cast<std::size_t>(restrStringGrid->rowCount()));
    for (std::size_t r = 0; r < rows.size(); ++r)
        for (int c = 1; c <= 8; ++c) rows[r][c - 1] = celula(c, static_cast<int>(r) + 1).toStdString();
    return rows;
}

void TRestrForm::definirRestricoes(const std::vector<std::array<std::string, 8>>& rows) {
    const int n = static_cast<int>(rows.size());
    restrStringGrid->clearContents();
    restrStringGrid->setRowCount(n);
    for (int r = 0; r < n; ++r) {
        restrStringGrid->setVerticalHeaderItem(r, new QTableWidgetItem(QString::number(r)));
        for (int c = 0; c < 8; ++c)
            restrStringGrid->setItem(r, c, new QTableWidgetItem(QString::fromStdString(rows[r][c])));
    }
}
