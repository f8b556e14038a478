#pragma once

#include <string>
#include <string_view>

namespace tevra {

// Text from the user's input (a script's token, a box, a file name) as a message may quote
// it: control bytes (C0, DEL, the C1 range), NUL and bytes that are not UTF-8 become \xNN,
// so that a bad script can neither cut a message short nor drive the terminal; printable
// text, UTF-8 included, stays as it is.
std::string textoImprimivel(std::string_view texto);

}  // namespace tevra
