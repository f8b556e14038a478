#pragma once

#include <string>
#include <vector>

#include "app/cena/cena.h"

namespace tevra {

// Restrictions whose node (U, V) lies outside the grid; the run ignores them. Their numbers
// as the restrictions table shows them (from 0), in order.
std::vector<int> restricoesForaDaGrade(const Cena& cena);

// One text listing them for the user; empty when there are none.
std::string avisoRestricoesForaDaGrade(const Cena& cena);

}  // namespace tevra
