#include "view/render_form.h"

// Placeholder until the animation window lands.
TRenderForm::TRenderForm(QWidget* parent) : QMainWindow(parent) {
    setObjectName("TRenderForm");
    setWindowTitle("Animation");
}

void TRenderForm::iniciarAoVivo(int, int) {}
void TRenderForm::quadroAoVivo(int) {}
