#pragma once

#include <string_view>
#include <vector>

#include "dynamics/arquivos.h"

// The frame text as it was written before the line writer (one escreverReal per number, the
// index by to_chars), kept so that the benchmark compares the two in one run.
namespace tevra::antigo {

char* escreverReal(char* p, double v);
std::string_view textoQuadro(const VistaQuadro& q, std::vector<char>& buffer);

}  // namespace tevra::antigo
