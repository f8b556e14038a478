#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tevra {

// Text-to-number conversion of the windows' boxes. Blanks around the number are allowed;
// anything else that is not the number makes the text invalid.

// A whole decimal number that fits 32 bits, with an optional sign.
std::optional<int> paraInteiro(std::string_view texto);

// Optional sign, digits with `separador` as the decimal separator, optional exponent.
std::optional<double> paraReal(std::string_view texto, char separador);

// The conversion errors, as users of the program have always read them.
std::string mensagemInteiroInvalido(std::string_view texto);  // '%s' is not a valid integer value
std::string mensagemRealInvalido(std::string_view texto);     // '%s' is not a valid floating point value

}  // namespace tevra
