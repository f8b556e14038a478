// The elapsed-time text and the command line of tevra.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>

#include <memory>

#include "view/janelas/dialogos.h"

#include "app/janelas/aplicacao.h"
#include "app/janelas/duracao.h"

namespace {

TEST(Duracao, FormatoLongoSemFusoNemPeriodoDoDia) {
    const QLocale eua(QLocale::English, QLocale::UnitedStates);
    EXPECT_EQ(formatarDuracao(5000, eua), "0:00:05");
    EXPECT_EQ(formatarDuracao(3 * 3600000 + 2 * 60000 + 1999, eua), "3:02:01");
    // A day-long run does not wrap to a small time of day.
    EXPECT_EQ(formatarDuracao(25 * 3600000LL + 61000, eua), "25:01:01");
    const QLocale brasil(QLocale::Portuguese, QLocale::Brazil);
    EXPECT_EQ(formatarDuracao(5000, brasil), "00:00:05");
    EXPECT_EQ(formatarDuracao(-10, brasil), "00:00:00");
    EXPECT_EQ(formatarDuracao(12 * 3600000, QLocale(QLocale::German, QLocale::Germany)), "12:00:00");
    // Whatever the locale, neither a zone nor AM/PM nor a pattern letter survives.
    for (const QLocale& l : {eua, brasil, QLocale(QLocale::Korean), QLocale(QLocale::Chinese), QLocale::c()}) {
        const QString t = formatarDuracao(3723000, l);
        EXPECT_FALSE(t.contains("AM") || t.contains("PM") || t.contains("UTC") || t.contains('t') || t.contains('h') ||
                     t.contains('s'))
            << t.toStdString();
        for (int parte : {1, 2, 3}) EXPECT_TRUE(t.contains(l.toString(parte))) << t.toStdString();
    }
}

TEST(Argumentos, ScriptAnimacaoAjudaEDisparates) {
    const auto nada = lerArgumentos({"tevra"});
    EXPECT_TRUE(nada.script.isEmpty());
    EXPECT_FALSE(nada.animacao);
    EXPECT_TRUE(nada.erro.isEmpty());

    EXPECT_EQ(lerArgumentos({"tevra", "cena.anisot1"}).script, "cena.anisot1");

    const auto anim = lerArgumentos({"tevra", "--animation", "25", "10", "12"});
    EXPECT_TRUE(anim.animacao);
    EXPECT_EQ(anim.quadros, "25");
    EXPECT_EQ(anim.gradeI, "10");
    EXPECT_EQ(anim.gradeJ, "12");
    // The values are handed over as text, as the data window's boxes would hold them.
    EXPECT_EQ(lerArgumentos({"tevra", "--animation", "x", "1", "2"}).quadros, "x");

    EXPECT_TRUE(lerArgumentos({"tevra", "--help"}).ajuda);
    EXPECT_FALSE(lerArgumentos({"tevra", "--animation", "25", "10"}).erro.isEmpty());
    EXPECT_FALSE(lerArgumentos({"tevra", "a", "b"}).erro.isEmpty());
    EXPECT_FALSE(lerArgumentos({"tevra", "--frames"}).erro.isEmpty());
}

// The Qt dialogs behind the interface: the message box shows the text with one OK, and the
// open dialog starts in the preset's folder with its file name filled in.
TEST(DialogosQt, CaixaDeMensagemEDialogoDeAbrir) {
    DialogosQt qt;
    QString visto;
    int botoes = -1;
    QTimer::singleShot(0, [&] {
        auto* caixa = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(caixa, nullptr);
        visto = caixa->text();
        botoes = static_cast<int>(caixa->buttons().size());
        caixa->accept();
    });
    qt.mensagem(nullptr, QStringLiteral("Tempo de simulação0:00:01"));
    EXPECT_EQ(visto, "Tempo de simulação0:00:01");
    EXPECT_EQ(botoes, 1);

    QTemporaryDir pasta;
    const QString preset = pasta.filePath("script.anisot1");
    QString nome, diretorio, objeto;
    QTimer::singleShot(0, [&] {
        auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(d, nullptr);
        objeto = d->objectName();
        diretorio = d->directory().absolutePath();
        if (auto* campo = d->findChild<QLineEdit*>("fileNameEdit")) nome = campo->text();
        d->reject();
    });
    EXPECT_EQ(qt.abrirArquivo(nullptr, preset), QString());
    EXPECT_EQ(objeto, "abrirOpenDialog");
    EXPECT_EQ(diretorio, QDir(pasta.path()).absolutePath());
    EXPECT_EQ(nome, "script.anisot1");
}

// The warning returns at once, its box still open: a child window of its window, above it,
// blocking nothing, and gone with it.
TEST(DialogosQt, AvisoEhCaixaNaoModalSobreSuaJanela) {
    DialogosQt qt;
    auto janela = std::make_unique<QWidget>();
    janela->show();
    qt.aviso(janela.get(), QStringLiteral("The texture image could not be read"));
    const auto caixas = janela->findChildren<QMessageBox*>();
    ASSERT_EQ(caixas.size(), 1);
    QPointer<QMessageBox> caixa = caixas.first();
    EXPECT_EQ(caixa->text(), "The texture image could not be read");
    EXPECT_EQ(caixa->icon(), QMessageBox::Warning);
    EXPECT_EQ(caixa->buttons().size(), 1);
    EXPECT_TRUE(caixa->isVisible());
    EXPECT_TRUE(caixa->isWindow());
    EXPECT_FALSE(caixa->isModal());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    ASSERT_NE(caixa->windowHandle(), nullptr);
    EXPECT_EQ(caixa->windowHandle()->transientParent(), janela->windowHandle());
    janela.reset();
    EXPECT_TRUE(caixa.isNull());
}

// A warning for a window that is not on screen yet waits for it, and then opens above it.
TEST(DialogosQt, AvisoDeJanelaEscondidaEsperaElaAparecer) {
    DialogosQt qt;
    auto janela = std::make_unique<QWidget>();
    qt.aviso(janela.get(), QStringLiteral("A grid of 3000 x 3000 nodes is too large to show"));
    const auto caixas = janela->findChildren<QMessageBox*>();
    ASSERT_EQ(caixas.size(), 1);
    QPointer<QMessageBox> caixa = caixas.first();
    EXPECT_FALSE(caixa->isVisible()) << "no box alone on the screen";
    janela->show();
    EXPECT_TRUE(caixa->isVisible());
    ASSERT_NE(caixa->windowHandle(), nullptr);
    EXPECT_EQ(caixa->windowHandle()->transientParent(), janela->windowHandle());
    // Only once: hiding and showing the window again does not bring it back.
    caixa->close();
    janela->hide();
    janela->show();
    QCoreApplication::processEvents();
    EXPECT_TRUE(caixa.isNull() || !caixa->isVisible());
}

// The save dialog: its title, its filter, the preset's folder and name, and it asks before
// replacing a file.
TEST(DialogosQt, DialogoDeSalvar) {
    DialogosQt qt;
    QTemporaryDir pasta;
    QString titulo, nome, diretorio;
    QStringList filtros;
    bool salvar = false, confirma = false;
    QTimer::singleShot(0, [&] {
        auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(d, nullptr);
        titulo = d->windowTitle();
        filtros = d->nameFilters();
        diretorio = d->directory().absolutePath();
        salvar = d->acceptMode() == QFileDialog::AcceptSave;
        confirma = !d->testOption(QFileDialog::DontConfirmOverwrite);
        if (auto* campo = d->findChild<QLineEdit*>("fileNameEdit")) nome = campo->text();
        d->reject();
    });
    EXPECT_EQ(qt.salvarArquivo(nullptr, "Save as PNG", pasta.filePath("diagnostico.png"), "PNG images (*.png)"),
              QString());
    EXPECT_EQ(titulo, "Save as PNG");
    EXPECT_EQ(filtros, QStringList({"PNG images (*.png)"}));
    EXPECT_EQ(diretorio, QDir(pasta.path()).absolutePath());
    EXPECT_EQ(nome, "diagnostico.png");
    EXPECT_TRUE(salvar);
    EXPECT_TRUE(confirma);
}

}  // namespace
