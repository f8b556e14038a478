#pragma once

#include <filesystem>

namespace tevra {

// The one Tevra home: $TEVRA_HOME when set, else ~/Tevra. Scripts, frame files and the
// tool-bar images live in its "scripts", "tmp" and "Imagens" folders.
namespace home {

std::filesystem::path raiz();
std::filesystem::path scripts();
std::filesystem::path tmp();
std::filesystem::path imagens();

// Creates the home and its three folders when missing; false when that fails.
bool criarPastas();

}  // namespace home

}  // namespace tevra
