// The data window's "Render" and "Matrizes", and the layout of both auxiliary windows.
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

#include "app/janelas/janelas_teste.h"
#include "view/janelas/dados_form.h"
#include "view/janelas/matriz_form.h"
#include "view/janelas/render_form.h"

using namespace tevra;

namespace {

class DadosForm : public JanelasTeste {
protected:
    TDadosForm& d() { return *janelas->DadosForm; }
    TRenderForm& a() { return *janelas->RenderForm; }
    void preencher(const char* n, const char* i, const char* j) {
        d().FramesEdit->setText(n);
        d().Gride1Edit->setText(i);
        d().Gride2Edit->setText(j);
    }
};

TEST_F(DadosForm, BotaoRenderEntregaSuasTresCaixas) {
    preencher("25", "10", "12");
    d().Button1->click();
    EXPECT_TRUE(dlg.mensagens.isEmpty());
    EXPECT_EQ(renderMostrado, 1);
    EXPECT_EQ(a().numQuadros, 25);
    EXPECT_EQ(a().gradeI, 10);
    EXPECT_EQ(a().gradeJ, 12);
}

TEST_F(DadosForm, BotaoRenderParaNaPrimeiraCaixaQueNaoEhInteiro) {
    a().numQuadros = 3;
    a().gradeI = 4;
    a().gradeJ = 5;
    preencher("", "10", "12");
    d().Button1->click();
    // The text's refusal, then the box's caption; the box has the focus.
    EXPECT_EQ(dlg.mensagens, QStringList({"'' is not a valid integer value\nframes"}));
    EXPECT_EQ(d().focusWidget(), d().FramesEdit);
    EXPECT_EQ(renderMostrado, 0);
    EXPECT_EQ(std::tuple(a().numQuadros, a().gradeI, a().gradeJ), std::tuple(3, 4, 5));

    // The boxes before the bad one have already been handed over.
    dlg.mensagens.clear();
    preencher("25", "10", "1.5");
    d().Button1->click();
    EXPECT_EQ(dlg.mensagens, QStringList({"'1.5' is not a valid integer value\ngrid j"}));
    EXPECT_EQ(d().focusWidget(), d().Gride2Edit);
    EXPECT_EQ(d().Gride2Edit->selectedText(), "1.5");
    EXPECT_EQ(renderMostrado, 0);
    EXPECT_EQ(std::tuple(a().numQuadros, a().gradeI, a().gradeJ), std::tuple(25, 10, 5));

    dlg.mensagens.clear();
    preencher("25", "dez", "12");
    d().Button1->click();
    EXPECT_EQ(dlg.mensagens, QStringList({"'dez' is not a valid integer value\ngrid i"}));
    EXPECT_EQ(d().focusWidget(), d().Gride1Edit);
    EXPECT_EQ(d().Gride1Edit->selectedText(), "dez");
}

TEST_F(DadosForm, DisposicaoDaJanelaDeDados) {
    EXPECT_EQ(d().size(), QSize(870, 640));
    EXPECT_EQ(d().pos(), QPoint(272, 225));
    auto* g = d().findChild<QTableWidget*>("dadosStringGrid");
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->geometry(), QRect(16, 16, 825, 377));
    // 16 x 5 with the heading row and column.
    EXPECT_EQ(g->rowCount() + 1, 16);
    EXPECT_EQ(g->columnCount() + 1, 5);
    EXPECT_EQ(g->horizontalHeader()->defaultSectionSize(), 30);
    EXPECT_NE(g->editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_EQ(d().findChild<QPushButton*>("matrizButton")->text(), "Matrizes");
    EXPECT_EQ(d().matrizButton->geometry(), QRect(16, 408, 75, 25));
    EXPECT_EQ(d().findChild<QPushButton*>("Button1")->text(), "Render");
    EXPECT_EQ(d().Button1->geometry(), QRect(104, 408, 75, 25));
    for (const char* nome : {"FramesEdit", "Gride1Edit", "Gride2Edit"}) {
        auto* e = d().findChild<QLineEdit*>(nome);
        ASSERT_NE(e, nullptr) << nome;
        EXPECT_EQ(e->text(), "");
    }
    EXPECT_EQ(d().FramesEdit->pos(), QPoint(16, 448));
    EXPECT_EQ(d().FramesEdit->width(), 121);
    EXPECT_EQ(d().Gride1Edit->pos(), QPoint(16, 480));
    EXPECT_EQ(d().Gride2Edit->pos(), QPoint(80, 480));
    EXPECT_EQ(d().Gride2Edit->width(), 57);
}

TEST_F(DadosForm, LinhaEColunaFixasDasGradesFicamEmBranco) {
    // A section without a header item of its own would show its number.
    auto numeros = [](const QTableWidget* t) {
        QStringList n;
        for (int c = 0; c < t->columnCount(); ++c) n << t->model()->headerData(c, Qt::Horizontal).toString();
        for (int r = 0; r < t->rowCount(); ++r) n << t->model()->headerData(r, Qt::Vertical).toString();
        n.removeAll(QString());
        return n.join(' ').toStdString();
    };
    EXPECT_EQ(numeros(d().dadosStringGrid), "");
    const auto grades = janelas->MatrizForm->findChildren<QTableWidget*>();
    EXPECT_EQ(grades.size(), 4);
    for (const QTableWidget* t : grades) EXPECT_EQ(numeros(t), "") << t->objectName().toStdString();
}

TEST_F(DadosForm, BotaoMatrizesAbreAJanelaDeMatrizesMaximizada) {
    TMatrizForm& mz = *janelas->MatrizForm;
    EXPECT_TRUE(mz.isHidden());
    d().matrizButton->click();
    EXPECT_FALSE(mz.isHidden());
    EXPECT_TRUE(mz.windowState() & Qt::WindowMaximized);

    struct Grade {
        const char* nome;
        QRect lugar;
        int colunas, linhas;
    };
    const Grade grades[] = {
        {"matrizKStringGrid", QRect(7, 55, 680, 420), 10, 10},
        {"matrizAStringGrid", QRect(7, 520, 680, 420), 10, 10},
        {"matrizFStringGrid", QRect(696, 55, 281, 889), 4, 10},
        {"matrizGStringGrid", QRect(983, 55, 282, 889), 4, 10},
    };
    for (const Grade& g : grades) {
        auto* t = mz.findChild<QTableWidget*>(g.nome);
        ASSERT_NE(t, nullptr) << g.nome;
        EXPECT_EQ(t->geometry(), g.lugar) << g.nome;
        EXPECT_EQ(t->columnCount() + 1, g.colunas) << g.nome;
        EXPECT_EQ(t->rowCount() + 1, g.linhas) << g.nome;
    }
    QStringList titulos;
    for (auto* l : mz.findChildren<QLabel*>()) {
        titulos << l->text();
        EXPECT_TRUE(l->font().bold() && l->font().italic());
        EXPECT_EQ(l->font().pixelSize(), 21);
    }
    titulos.sort();
    EXPECT_EQ(titulos, QStringList({"Matriz A", "Matriz F", "Matriz G", "Matriz K"}));
    mz.close();
    EXPECT_TRUE(mz.isHidden());
}

}  // namespace
