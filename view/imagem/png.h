#pragma once

#include <filesystem>
#include <string>

#include "base/erros.h"
#include "view/imagem/imagem.h"

namespace tevra {

// The picture as a PNG file's bytes: 8-bit RGB (the pictures are opaque; alpha is left out),
// compressed for speed rather than size, as a series is hundreds of them. Empty when the
// picture has no pixels or the encoder fails.
std::string codificarPng(const Imagem& imagem);

// Writes the PNG so that the file is complete or absent (gravarArquivoAtomico).
Escrita gravarPng(const std::filesystem::path& arquivo, const Imagem& imagem);

}  // namespace tevra
