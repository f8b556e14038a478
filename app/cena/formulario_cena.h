#pragma once

#include <array>
#include <map>
#include <string>
#include <vector>

#include "base/erros.h"

namespace tevra {

// What the main window and the restrictions grid show, as text: the script loader writes
// it, the set-up reads it. The windows copy it to and from their controls.
struct FormularioCena {
    // Edit boxes of the main window by object name ("passoEdit", "grade_i_Edit", ...).
    std::map<std::string, std::string> caixas;
    std::string solver = "Semi-explicit Euler";  // text of solverComboBox
    std::string objeto;                          // text of objetoComboBox: "", "plano", "cilindro"
    // Rows 1..n of restrStringGrid, columns 1..8 ("U" .. "Z"); one empty row at start-up.
    std::vector<std::array<std::string, 8>> restricoes = {std::array<std::string, 8>{}};

    const std::string& texto(const std::string& caixa) const;
};

// Numbers of a script (written with a point) as a user of decimal separator `separador`
// types them: every box or cell whose text reads as a number with a point gets the
// separator in its place. Integers, words and texts that are no number stay as they are.
void localizarNumeros(FormularioCena& form, char separador);

// Where a refused value sits, as the window captions it: "time step", "zeta 01",
// "restriction 3, column Inicio".
std::string legendaDaOrigem(const OrigemEntrada& origem);

// Object names of the main window's edit boxes that hold simulation values.
namespace caixa {
inline constexpr const char* passo = "passoEdit";
inline constexpr const char* quadros = "quadrosEdit";
inline constexpr const char* intervalo = "intervaloEdit";
inline constexpr const char* tempo = "tempoEdit";
inline constexpr const char* grade_i = "grade_i_Edit";
inline constexpr const char* grade_j = "grade_j_Edit";
inline constexpr const char* acel[3] = {"acel_x_Edit", "acel_y_Edit", "acel_z_Edit"};
inline constexpr const char* vel[3] = {"vel_x_Edit", "vel_y_Edit", "vel_z_Edit"};
inline constexpr const char* eta[4] = {"eta_00_Edit", "eta_01_Edit", "eta_10_Edit", "eta_11_Edit"};
inline constexpr const char* qsi[4] = {"qsi_00_Edit", "qsi_01_Edit", "qsi_10_Edit", "qsi_11_Edit"};
inline constexpr const char* psi[4] = {"psi_00_Edit", "psi_01_Edit", "psi_10_Edit", "psi_11_Edit"};
inline constexpr const char* massa = "massaEdit";
inline constexpr const char* gama = "gamaEdit";
inline constexpr const char* fluido_cte = "fluido_cte_Edit";
inline constexpr const char* fluido[3] = {"fluido_x_Edit", "fluido_y_Edit", "fluido_z_Edit"};
inline constexpr const char* comp[3] = {"comp_x_Edit", "comp_y_Edit", "comp_z_Edit"};
inline constexpr const char* raio = "raioEdit";
inline constexpr const char* comprimento = "compEdit";
inline constexpr const char* solver = "solverComboBox";
inline constexpr const char* objeto = "objetoComboBox";
}  // namespace caixa

}  // namespace tevra
