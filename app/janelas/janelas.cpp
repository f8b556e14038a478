#include "app/janelas/janelas.h"

#include "app/janelas/main_form.h"
#include "app/janelas/restr_form.h"
#include "view/janelas/dados_form.h"
#include "view/janelas/diagnostico_form.h"
#include "view/janelas/dialogos.h"
#include "view/janelas/matriz_form.h"
#include "view/janelas/render_form.h"

using namespace tevra;

Janelas::Janelas() {
    MainForm = std::make_unique<TMainForm>();
    RestrForm = std::make_unique<TRestrForm>();
    DadosForm = std::make_unique<TDadosForm>();
    MatrizForm = std::make_unique<TMatrizForm>();
    RenderForm = std::make_unique<TRenderForm>();
    DiagnosticoForm = std::make_unique<TDiagnosticoForm>();

    // The program ends with the main window, whatever else is open.
    MainForm->setAttribute(Qt::WA_QuitOnClose, true);
    for (QWidget* w : std::initializer_list<QWidget*>{RestrForm.get(), DadosForm.get(), MatrizForm.get(),
                                                      RenderForm.get(), DiagnosticoForm.get()}) {
        w->setAttribute(Qt::WA_QuitOnClose, false);
        w->setAttribute(Qt::WA_DeleteOnClose, false);
    }

    MainForm->ligar(RestrForm.get(), RenderForm.get(), DiagnosticoForm.get());
    DadosForm->ligar(MatrizForm.get(), RenderForm.get());
    DiagnosticoForm->ligar(RenderForm.get());
    QObject::connect(RenderForm.get(), &TRenderForm::diagnosticosPedidos, DiagnosticoForm.get(),
                     [janela = DiagnosticoForm.get()] { trazerAFrente(janela); });
}

Janelas::~Janelas() {
    // A run still going stops before the windows it reports to go away.
    MainForm.reset();
    DiagnosticoForm.reset();
    RenderForm.reset();
    MatrizForm.reset();
    DadosForm.reset();
    RestrForm.reset();
}
