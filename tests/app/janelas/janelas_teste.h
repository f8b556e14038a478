#pragma once

#include "support/esperar_qt.h"
// Shared by the window tests: dialogs that answer themselves, a private Tevra home, and
// the five windows made the way the program makes them.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocale>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QThread>
#include <deque>
#include <fstream>
#include <functional>
#include <memory>
#include <string>

#include "app/janelas/janelas.h"
#include "app/janelas/main_form.h"
#include "app/janelas/restr_form.h"
#include "support/casa_teste.h"
#include "support/dialogos_teste.h"
#include "view/janelas/dados_form.h"
#include "view/janelas/matriz_form.h"
#include "view/janelas/render_form.h"

// A fresh Tevra home, the five windows and recording dialogs for every test; the
// locale is fixed so that the host's settings cannot change the results.
class JanelasTeste : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(casa_.pronta());
        localeAnterior_ = QLocale();
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        usarDialogos(&dlg);
        novasJanelas();
    }

    // The five windows as a fresh start of the program makes them.
    void novasJanelas() {
        janelas.reset();
        janelas = std::make_unique<Janelas>();
        renderMostrado = 0;
        // The animation window paints with OpenGL, which the offscreen platform cannot do:
        // the tests see only what is handed to it.
        janelas->MainForm->mostrarAnimacao = [this] { ++renderMostrado; };
        janelas->DadosForm->mostrarAnimacao = [this] { ++renderMostrado; };
    }

    void TearDown() override {
        janelas.reset();
        usarDialogos(nullptr);
        QLocale::setDefault(localeAnterior_);
    }

    // Writes a script into the home folder and returns its path.
    QString script(const std::string& nome, const std::string& texto) {
        const QString caminho = QString::fromStdString((casa_ / nome).string());
        std::ofstream(caminho.toStdString(), std::ios::binary) << texto;
        return caminho;
    }

    // File > "Abrir" choosing `caminho`.
    void abrir(const QString& caminho) {
        dlg.respostas.push_back(caminho);
        janelas->MainForm->Abrir1->trigger();
    }

    QString home() const { return QString::fromStdString(casa_.texto()); }
    // The home's tmp folder, where the window's runs write; a file in it.
    QString tmp(const QString& nome = {}) const { return home() + "/tmp/" + nome; }
    TMainForm& m() { return *janelas->MainForm; }
    // Until the main window's run has ended; false when it did not within `ms`.
    bool esperarFim(int ms = 60000) {
        return esperarAte([&] { return !m().simulando(); }, ms);
    }

    DialogosTeste dlg;
    std::unique_ptr<Janelas> janelas;
    int renderMostrado = 0;

private:
    CasaTemporaria casa_;
    QLocale localeAnterior_;
};

// Files of `padrao` in two folders: the same names, and how many of them differ in a byte.
inline int arquivosDiferentes(const QString& a, const QString& b, const QString& padrao, int esperados) {
    const QStringList nomesA = QDir(a).entryList({padrao}, QDir::Files, QDir::Name);
    const QStringList nomesB = QDir(b).entryList({padrao}, QDir::Files, QDir::Name);
    EXPECT_EQ(nomesA.size(), esperados) << padrao.toStdString();
    EXPECT_EQ(nomesA, nomesB) << padrao.toStdString();
    int diferentes = 0;
    for (const QString& nome : nomesA) {
        QFile fa(a + "/" + nome), fb(b + "/" + nome);
        if (!fa.open(QIODevice::ReadOnly) || !fb.open(QIODevice::ReadOnly) || fa.readAll() != fb.readAll()) {
            if (diferentes++ < 3) ADD_FAILURE() << nome.toStdString() << " differs";
        }
    }
    return diferentes;
}

// tevra-sim on `script` into `pasta`, in the C locale and a home of its own; its exit code
// (-1 when it did not finish), its error text in `erro`.
inline int rodarTevraSim(const QString& script, const QString& pasta, std::string* erro = nullptr) {
    const CasaTemporaria casaSim(CasaTemporaria::ParaOutroProcesso{});
    QProcessEnvironment ambiente = QProcessEnvironment::systemEnvironment();
    ambiente.insert("TEVRA_HOME", QString::fromStdString(casaSim.texto()));
    ambiente.insert("LC_ALL", "C");
    ambiente.remove("LOCPATH");
    QProcess sim;
    sim.setProcessEnvironment(ambiente);
    sim.start(QStringLiteral(TEVRA_SIM), {script, "--out", pasta});
    if (!sim.waitForFinished(600000)) return -1;
    if (erro) *erro = sim.readAllStandardError().toStdString();
    return sim.exitCode();
}

// A complete scene with placeholders that tests replace.
inline std::string cenaBase(
    const std::string& n_passos = "20", const std::string& grid = "4 5", const std::string& fluido = "",
    const std::string& forma = "plano 2 3 0",
    const std::string& restricoes = "n_restricoes = 1\nrestricoes = {\n 0 0 fixo i=0 f=100 x=0 y=0 z=0\n}\n") {
    return "delta_t = 0.001\n"
           "n_passos = " +
           n_passos +
           "\n"
           "pula = 5\n"
           "tempo_animacao = 7\n"
           "grid = " +
           grid +
           "\n"
           "aceleracao = x = 0.1 y = 0.2 z = -9.8\n"
           "velocidade = x = 1 y = 2 z = 3\n"
           "eta = 2 0.1 0.2 2\n"
           "qsi = 0.001 0 0 0.002\n"
           "psi = 0 0 0 0\n"
           "massa = 1.5\n"
           "gama = 0.05\n" +
           fluido + "obj_deformavel = " + forma + "\n" + "fronteira = { 0 0 0 0 0 0 0 0 0 0 0 0 }\n" + restricoes;
}
