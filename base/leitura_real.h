#pragma once

namespace tevra {

// The whole of [ini, fim) as a number, read exactly as std::from_chars (general format)
// reads it: true, with the value, when all of it is one. Text as the frame writer makes it
// (at most 19 significant digits, a decimal exponent within 22) is read directly, every
// other text by from_chars.
bool lerReal(const char* ini, const char* fim, double& v);

}  // namespace tevra
