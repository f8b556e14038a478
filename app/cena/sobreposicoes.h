#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "app/cena/cena.h"

namespace tevra {

// Changes to a loaded scene, each "KEY=VALUE", so that a sweep needs no edited copy of the
// script per point. The key is a keyword of the script, alone or with one component where
// the keyword holds several values:
//
//   delta_t  n_passos  pula  tempo_animacao  massa  gama      one value
//   grid=I,J                       grid.i  grid.j
//   aceleracao=X,Y,Z               aceleracao.x  .y  .z      (velocidade the same)
//   eta=A00,A01,A10,A11            eta.00  .01  .10  .11     (qsi, psi the same)
//   fluido=CTE,X,Y,Z | off         fluido.cte  .x  .y  .z    (a component needs a fluid)
//   obj_deformavel=plano,X,Y,Z | cilindro,R,L
//                                  obj_deformavel.x .y .z (sheet), .raio .comprimento (tube)
//   restricoes.K.F                 F of restriction row K (from 0): u v inicio fim x y z
//   solver=NAME
//
// Values are written as a script writes them, with a point as decimal separator and commas
// between the values of one keyword; each converts exactly as the script's text would
// (n_passos and pula truncated), so a scene with overrides is, bit for bit, the scene of the
// script edited by hand the same way. The rows of restrictions, their count and their types
// come from the script: a row's values can change, rows cannot be added or removed.

// Applies one "KEY=VALUE"; throws ErroEntrada with one line that starts with the override
// as given: "eta.01=x: 'x' is not a valid floating point value".
void aplicarSobreposicao(Cena& cena, std::string_view sobreposicao);

// All of them in order; a later one wins over an earlier one.
void aplicarSobreposicoes(Cena& cena, const std::vector<std::string>& sobreposicoes);

// "delta_t, n_passos, ..." for help texts and messages.
std::string textoChavesSobreposicao();

}  // namespace tevra
