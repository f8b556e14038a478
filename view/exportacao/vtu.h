#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "view/exportacao/superficie_exportada.h"

namespace tevra {

// The frame as a VTK XML unstructured grid: one VTK_QUAD cell per quad of `quads` (four
// node indices each), the positions and every field as Float64 in full precision. The
// arrays are appended raw after the XML, little-endian, each behind a UInt64 byte count, so
// that writing and reading a large frame is a copy of memory. Replaces `saida`'s contents;
// its capacity is kept for the next frame.
void montarVtu(const SuperficieExportada& s, const std::vector<std::int64_t>& quads, std::string& saida);

}  // namespace tevra
