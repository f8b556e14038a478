#pragma once

#include <memory>
#include <stdexcept>

#include "app/cena/formulario_cena.h"
#include "model/obj_deformavel.h"

namespace tevra {

// A value of the window that cannot become the simulation: the text is for the user.
struct ErroConfiguracao : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Builds a ready-to-run surface from the texts of the window, in the window's order of
// reading, with `separador` as the decimal separator of real values. Throws
// ErroConfiguracao at the first value that does not convert or cannot be simulated.
std::unique_ptr<ObjDeformavel> criarObjeto(const FormularioCena& form, char separador);

// Physical memory of this machine in bytes (0 when unknown).
unsigned long long memoriaFisica();

}  // namespace tevra
