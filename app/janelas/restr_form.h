#pragma once

#include <QString>
#include <QWidget>
#include <array>
#include <string>
#include <vector>

#include "ui_restr_form.h"

// The restrictions window: the read-only table of the current scene's restrictions, laid
// out in restr_form.ui. Row 0 is the heading row and column 0 the row numbers, as in the
// grid users know; here they are the table's horizontal and vertical headers, so a table
// of n restrictions has n + 1 rows counting the heading.
class TRestrForm : public QWidget, public Ui::TRestrForm {
    Q_OBJECT
public:
    explicit TRestrForm(QWidget* parent = nullptr);

    // Rows including the heading row.
    int linhas() const;
    // Cell text by (column, row), both counting the headings; row 0 gives the headings,
    // column 0 the row numbers.
    QString celula(int coluna, int linha) const;

    // Columns 1..8 of rows 1..n.
    std::vector<std::array<std::string, 8>> restricoes() const;
    // Replaces the whole table: n = rows.size() restrictions numbered from 0.
    void definirRestricoes(const std::vector<std::array<std::string, 8>>& rows);
    // Selects the cell of restriction `numero` (as column 0 shows it) and column 1..8, and
    // gives the table the focus.
    void mostrarCelula(int numero, int coluna);
};
