#pragma once

#include "view/imagem/deflate.h"
#include "view/imagem/imagem.h"

namespace tevra {

// The picture's PNG image data (8-bit RGB, alpha left out, no interlacing) into the
// compressor: each row as its filter byte and its filtered bytes.
void filtrarLinhas(const Imagem& imagem, CompressorDeflate& compressor);

}  // namespace tevra
