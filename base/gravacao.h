#pragma once

#include <filesystem>
#include <string_view>

#include "base/erros.h"

namespace tevra {

// Writes `conteudo` to `arquivo` so that the file is either complete or absent: the bytes go
// to a temporary name in the same folder, are flushed, and the file is renamed over the final
// name only when all of them were written. On failure the temporary file is removed and the
// reason returned.
Escrita gravarArquivoAtomico(const std::filesystem::path& arquivo, std::string_view conteudo);

// The temporary name gravarArquivoAtomico uses for `arquivo` (a hidden name in the same
// folder, so readers of the series never take it for a frame).
std::filesystem::path nomeTemporario(const std::filesystem::path& arquivo);

}  // namespace tevra
