#pragma once

#include <filesystem>
#include <string>

#include "base/erros.h"
#include "base/nomes_arquivos.h"
#include "model/obj_deformavel.h"

namespace tevra {

// Frame file: positions and normals of every node, with the first-frame header for n = 1.
Escrita gravarQuadro(const ObjDeformavel& obj, const std::filesystem::path& padrao, int n);
// Full data dump: positions, normals, acceleration, forces and the elastic terms.
Escrita gravarDados(const ObjDeformavel& obj, const std::filesystem::path& padrao, int n);

}  // namespace tevra
