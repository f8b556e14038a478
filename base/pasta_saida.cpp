#include "base/pasta_saida.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <system_error>

#include "base/nomes_arquivos.h"
#include "base/pasta_gravavel.h"

namespace tevra {

Escrita prepararPastaSaida(const std::filesystem::path& pasta) {
    if (Escrita f = verificarPastaGravavel(pasta)) return f;
    std::error_code ec;
    std::filesystem::create_directories(pasta, ec);
    if (ec) return FalhaEscrita{pasta, "cannot create it: " + ec.message()};
    return std::nullopt;
}

bool nomeDoPadrao(std::string_view nome, std::string_view padrao) {
    if (nome.size() != padrao.size()) return false;
    for (std::size_t k = 0; k < nome.size(); ++k) {
        const bool digito = nome[k] >= '0' && nome[k] <= '9';
        if (padrao[k] == 'X' ? !digito : nome[k] != padrao[k]) return false;
    }
    return true;
}

Limpeza removerSerieAnterior(const std::filesystem::path& pasta) {
    Limpeza r;
    std::error_code ec;
    std::filesystem::directory_iterator it(pasta, ec);
    if (ec) {
        r.falha = FalhaEscrita{pasta, "cannot list the folder: " + ec.message()};
        return r;
    }
    for (; it != std::filesystem::directory_iterator(); it.increment(ec)) {
        const std::string nome = it->path().filename().string();
        if (!nomeDoPadrao(nome, kPadraoPontos) && !nomeDoPadrao(nome, kPadraoDados) &&
            !nomeDoPadrao(nome, kPadraoDedos))
            continue;
        // A folder of that name is not a file an earlier run wrote.
        if (it->is_directory(ec)) continue;
        if (::unlink(it->path().c_str()) != 0) {
            r.falha = FalhaEscrita{it->path(), std::string("cannot remove it: ") + std::strerror(errno)};
            return r;
        }
        ++r.removidos;
    }
    if (ec) r.falha = FalhaEscrita{pasta, "cannot list the folder: " + ec.message()};
    return r;
}

}  // namespace tevra
