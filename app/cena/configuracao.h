#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "app/cena/cena.h"
#include "app/cena/formulario_cena.h"
#include "model/obj_deformavel.h"

namespace tevra {

// The set-up checks, each throwing ErroEntrada with the text for the user. Every scene
// passes all of them, in this order, before it becomes a surface.
// At least 2 x 2, and the surface and its frame writer (with the data dumps, when `dados`)
// fit the memory this process can still take.
void verificarGrade(int grade_i, int grade_j, int solver, bool dados = false);
void verificarForma(const Cena& cena);               // the surface has an area
void verificarValores(const Cena& cena);             // mass and time step > 0, iterations >= 0
void verificarGravacao(int quadros, int intervalo);  // interval >= 1, at most 9999 frames
void verificarCena(const Cena& cena);                // all of the above, and the solver

// "'X' is not a solver; choose ..." for a solver text that names none.
std::string mensagemSolverDesconhecido(std::string_view texto);

// A ready-to-run surface: the scene checked, the object built and filled member by member.
std::unique_ptr<ObjDeformavel> criarObjeto(const Cena& cena);

// The same without the checks, for engine-level tests and benchmarks that build scenes the
// set-up would refuse (a solver code that names no integrator, a huge iteration count).
std::unique_ptr<ObjDeformavel> construirObjeto(const Cena& cena);

// The same from the window's texts, with the user's decimal separator.
std::unique_ptr<ObjDeformavel> criarObjeto(const FormularioCena& form, char separador);

}  // namespace tevra
