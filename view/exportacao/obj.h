#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "view/exportacao/superficie_exportada.h"

namespace tevra {

// The frame as a Wavefront OBJ mesh: one vertex, texture coordinate and normal per node
// (the texture coordinates the animation window uses, the normal of the field marked as
// such), and one face per quad of `quads` naming the three by the same 1-based index.
// Positions and normals are written so that they read back as the same doubles. Replaces
// `saida`'s contents.
void montarObj(const SuperficieExportada& s, const std::vector<std::int64_t>& quads, std::string& saida);

}  // namespace tevra
