#include "app/janelas/janelas.h"

#include "app/janelas/main_form.h"
#include "app/janelas/restr_form.h"
#include "view/janelas/dados_form.h"
#include "view/janelas/matriz_form.h"
#include "view/janelas/render_form.h"

using namespace tevra;

Janelas::Janelas() {
    MainForm = std::make_unique<TMainForm>();
    RestrForm = std::make_unique<TRestrForm>();
    DadosForm = std::make_unique<TDadosForm>();
    MatrizForm = std::make_unique<TMatrizForm>();
    RenderForm = std::make_unique<TRenderForm>();

    // The program ends with the main window, whatever else is open.
    MainForm->setAttribute(Qt::WA_QuitOnClose, true);
    for (QWidget* w :
         std::initializer_list<QWidget*>{RestrForm.get(), DadosForm.get(), MatrizForm.get(), RenderForm.get()}) {
        w->setAttribute(Qt::WA_QuitOnClose, false);
        w->setAttribute(Qt::WA_DeleteOnClose, false);
    }

    MainForm->ligar(RestrForm.get(), RenderForm.get());
    DadosForm->ligar(MatrizForm.get(), RenderForm.get());
}

Janelas::~Janelas() {
    // A run still going stops before the windows it reports to go away.
    MainForm.reset();
    RenderForm.reset();
    MatrizForm.reset();
    DadosForm.reset();
    RestrForm.reset();
}
