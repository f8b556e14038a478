#include "base/gravacao.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

namespace tevra {

std::filesystem::path nomeTemporario(const std::filesystem::path& arquivo) {
    // Appended piece by piece: GCC 12 warns falsely about "." + s + ".tmp".
    std::string nome(1, '.');
    nome += arquivo.filename().string();
    nome += ".tmp";
    return arquivo.parent_path() / nome;
}

Escrita gravarArquivoAtomico(const std::filesystem::path& arquivo, std::string_view conteudo) {
    const std::filesystem::path tmp = nomeTemporario(arquivo);
    auto falha = [&](int erro) {
        ::unlink(tmp.c_str());
        return FalhaEscrita{arquivo, std::strerror(erro)};
    };
    const int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) return FalhaEscrita{arquivo, std::strerror(errno)};
    const char* p = conteudo.data();
    std::size_t resta = conteudo.size();
    while (resta > 0) {
        const ssize_t n = ::write(fd, p, resta);
        if (n < 0) {
            if (errno == EINTR) continue;
            const int erro = errno;
            ::close(fd);
            return falha(erro);
        }
        p += n;
        resta -= static_cast<std::size_t>(n);
    }
    if (::close(fd) != 0) return falha(errno);
    if (::rename(tmp.c_str(), arquivo.c_str()) != 0) return falha(errno);
    return std::nullopt;
}

}  // namespace tevra
