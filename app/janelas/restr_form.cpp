#include "app/janelas/restr_form.h"

#include <QTableWidget>

TRestrForm::TRestrForm(QWidget* parent) : QWidget(parent, Qt::Window) {
    setupUi(this);
    // uic gives a top-level form only its size; the first place is the window's own.
    move(223, 42);
    // Closing only hides it; its table must survive until the next load.
    setAttribute(Qt::WA_DeleteOnClose, false);
    setAttribute(Qt::WA_QuitOnClose, false);
}

int TRestrForm::linhas() const { return restrStringGrid->rowCount() + 1; }

QString TRestrForm::celula(int coluna, int linha) const {
    if (linha == 0) {
        if (coluna == 0) return {};
        const QTableWidgetItem* h = restrStringGrid->horizontalHeaderItem(coluna - 1);
        return h ? h->text() : QString();
    }
    const QTableWidgetItem* it =
        coluna == 0 ? restrStringGrid->verticalHeaderItem(linha - 1) : restrStringGrid->item(linha - 1, coluna - 1);
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

void TRestrForm::mostrarCelula(int numero, int coluna) {
    restrStringGrid->setCurrentCell(numero, coluna - 1);
    restrStringGrid->scrollToItem(restrStringGrid->item(numero, coluna - 1));
    restrStringGrid->setFocus(Qt::OtherFocusReason);
}
