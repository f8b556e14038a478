#include "base/nomes_arquivos.h"

#include <string>

#include "base/limites.h"

namespace tevra {

namespace {

std::filesystem::path numerar(const std::filesystem::path& padrao, const char* extensao, int n) {
    std::string s = padrao.string();
    const std::size_t fim = s.rfind(extensao);
    if (fim == std::string::npos || fim < 4 || n < 1 || n > kMaxQuadros) return {};
    s[fim - 4] = static_cast<char>('0' + n / 1000);
    s[fim - 3] = static_cast<char>('0' + n / 100 % 10);
    s[fim - 2] = static_cast<char>('0' + n / 10 % 10);
    s[fim - 1] = static_cast<char>('0' + n % 10);
    return std::filesystem::path(s);
}

}  // namespace

std::filesystem::path nomeArquivoQuadro(const std::filesystem::path& padrao, int n) {
    return numerar(padrao, ".txt", n);
}

std::filesystem::path caminhoQuadro(const std::filesystem::path& pasta, int n) {
    return nomeArquivoQuadro(pasta / kPadraoPontos, n);
}

std::filesystem::path caminhoImagem(const std::filesystem::path& pasta, int n) {
    return numerar(pasta / kPadraoImagem, ".png", n);
}

}  // namespace tevra
