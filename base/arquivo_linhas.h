#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string_view>

#include "base/erros.h"

namespace tevra {

// A text file that grows line by line and holds only whole lines at every moment, so that
// a run stopped at any point (or a reader looking while it runs) finds a complete file of
// the lines so far. It starts as a complete file (gravarArquivoAtomico, replacing any file
// of that name); each later piece goes to its end in one write, and a piece that cannot be
// written whole is cut off again.
class ArquivoDeLinhas {
public:
    ArquivoDeLinhas() = default;
    ~ArquivoDeLinhas();
    ArquivoDeLinhas(const ArquivoDeLinhas&) = delete;
    ArquivoDeLinhas& operator=(const ArquivoDeLinhas&) = delete;

    // Writes `conteudo` as the whole file and keeps it open for more.
    Escrita iniciar(const std::filesystem::path& arquivo, std::string_view conteudo);
    // Appends `linhas` (ending in a line break); on failure the file is as it was before.
    Escrita acrescentar(std::string_view linhas);
    void fechar();
    bool aberto() const { return fd_ >= 0; }

private:
    int fd_ = -1;
    std::filesystem::path arquivo_;
    off_t tamanho_ = 0;
};

}  // namespace tevra
