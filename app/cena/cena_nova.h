#pragma once

#include "app/cena/cena.h"
#include "app/cena/formulario_cena.h"

namespace tevra {

// The scene File > "Novo" starts from: a small square sheet hanging from two corners under
// gravity, with some damping; it runs in a moment and stays finite.
Cena cenaNova();

// The same scene as the window's texts, as loading its script leaves them, with the fluid
// boxes empty (no fluid) and the tube's boxes holding a tube of the sheet's size for a user
// who switches the shape.
FormularioCena formularioNovo();

}  // namespace tevra
