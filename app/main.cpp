// tevra: the simulator with its windows.
#include <QFileInfo>
#include <QLineEdit>
#include <QTimer>
#include <clocale>
#include <cstdio>
#include <string>

#include "app/janelas/aplicacao.h"
#include "app/janelas/janelas.h"
#include "app/janelas/main_form.h"
#include "base/tevra_home.h"
#include "view/janelas/dados_form.h"

using namespace tevra;

int main(int argc, char** argv) {
    // Help needs no display: answer it before Qt looks for one.
    for (int k = 1; k < argc; ++k) {
        const std::string a = argv[k];
        if (a == "-h" || a == "--help") {
            std::fputs(usoTevra().toLocal8Bit().constData(), stdout);
            return 0;
        }
    }

    TevraApplication app(argc, argv);
    // Qt has set the C library's locale from the environment; numbers in files must not
    // follow it. The windows convert with QLocale, which this does not touch.
    std::setlocale(LC_NUMERIC, "C");

    const ArgumentosTevra args = lerArgumentos(QCoreApplication::arguments());
    if (!args.erro.isEmpty()) {
        std::fprintf(stderr, "tevra: %s\n%s", args.erro.toLocal8Bit().constData(),
                     usoTevra().toLocal8Bit().constData());
        return 2;
    }

    if (!tevra::home::criarPastas())
        std::fprintf(stderr, "tevra: cannot create the Tevra home folders under %s\n",
                     tevra::home::raiz().string().c_str());

    Janelas janelas;
    janelas.MainForm->show();

    if (!args.script.isEmpty()) {
        QTimer::singleShot(0, janelas.MainForm.get(), [&janelas, caminho = args.script] {
            janelas.MainForm->carregarArquivo(QFileInfo(caminho).absoluteFilePath());
        });
    } else if (args.animacao) {
        QTimer::singleShot(0, janelas.DadosForm.get(), [&janelas, args] {
            TDadosForm& dados = *janelas.DadosForm;
            dados.FramesEdit->setText(args.quadros);
            dados.Gride1Edit->setText(args.gradeI);
            dados.Gride2Edit->setText(args.gradeJ);
            dados.Button1Click();
        });
    }
    return app.exec();
}
