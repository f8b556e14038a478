#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

namespace tevra {

// The texture image: in the current folder, else in the program's own folder (where the
// build puts a copy); the first of the two when it is in neither.
std::filesystem::path localizarTextura();

// Its 256 x 256 RGBA texels, built as the animation window builds them from the same image.
// Throws ErroEntrada naming the file and what is wrong with it.
std::vector<std::uint8_t> lerTextura(const std::filesystem::path& arquivo);

}  // namespace tevra
