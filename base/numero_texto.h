#pragma once

namespace tevra {

// Room escreverReal takes: its longest text is "-1.23457e-308", but it stores whole words and
// may write scratch up to this many bytes from where it starts.
inline constexpr int kMaxTextoReal = 24;
// Longest text escreverInteiro writes: "-2147483648".
inline constexpr int kMaxTextoInteiro = 11;

// `v` as printf's "%g" writes it (six significant digits, trailing zeros dropped, the
// exponent form below 1e-4 and from 1e6 on), with a point whatever the locale. Writes at
// p (up to kMaxTextoReal bytes, the text and scratch) and returns the text's end; no
// terminating NUL. The frame files are compared byte for byte,
// so this must never differ from printf: the fast path covers the values frames are made
// of and hands everything else, and every value that lies near a rounding tie, to the
// standard library.
char* escreverReal(char* p, double v);

// `v` in decimal; writes at p and returns the end.
char* escreverInteiro(char* p, int v);

}  // namespace tevra
