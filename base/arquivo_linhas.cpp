#include "base/arquivo_linhas.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "base/gravacao.h"

namespace tevra {

ArquivoDeLinhas::~ArquivoDeLinhas() { fechar(); }

void ArquivoDeLinhas::fechar() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

Escrita ArquivoDeLinhas::iniciar(const std::filesystem::path& arquivo, std::string_view conteudo) {
    fechar();
    arquivo_ = arquivo;
    if (Escrita f = gravarArquivoAtomico(arquivo, conteudo)) return f;
    fd_ = ::open(arquivo.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd_ < 0) return FalhaEscrita{arquivo, std::strerror(errno)};
    tamanho_ = static_cast<off_t>(conteudo.size());
    return std::nullopt;
}

Escrita ArquivoDeLinhas::acrescentar(std::string_view linhas) {
    if (fd_ < 0) return FalhaEscrita{arquivo_, "the file is not open"};
    const char* p = linhas.data();
    std::size_t resta = linhas.size();
    off_t onde = tamanho_;
    while (resta > 0) {
        const ssize_t n = ::pwrite(fd_, p, resta, onde);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            const int erro = n < 0 ? errno : ENOSPC;
            // Back to the last whole line; should that fail too, nothing more can be done.
            [[maybe_unused]] const int cortado = ::ftruncate(fd_, tamanho_);
            return FalhaEscrita{arquivo_, std::strerror(erro)};
        }
        p += n;
        resta -= static_cast<std::size_t>(n);
        onde += n;
    }
    tamanho_ = onde;
    return std::nullopt;
}

}  // namespace tevra
