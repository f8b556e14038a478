#include "view/quadros/tabela_csv.h"

#include <charconv>
#include <fstream>
#include <sstream>

namespace tevra {

namespace {

std::vector<std::string_view> campos(std::string_view linha) {
    std::vector<std::string_view> r;
    std::size_t inicio = 0;
    while (true) {
        const std::size_t virgula = linha.find(',', inicio);
        r.push_back(
            linha.substr(inicio, virgula == std::string_view::npos ? std::string_view::npos : virgula - inicio));
        if (virgula == std::string_view::npos) return r;
        inicio = virgula + 1;
    }
}

bool numero(std::string_view s, double& v) {
    if (s.empty()) return false;
    const auto r = std::from_chars(s.data(), s.data() + s.size(), v);
    return r.ec == std::errc() && r.ptr == s.data() + s.size();
}

}  // namespace

int TabelaCsv::coluna(std::string_view nome) const {
    for (std::size_t k = 0; k < colunas.size(); ++k)
        if (colunas[k] == nome) return static_cast<int>(k);
    return -1;
}

TabelaCsv tabelaCsv(std::string_view texto) {
    TabelaCsv t;
    std::size_t inicio = 0;
    int numeroLinha = 0;
    while (inicio < texto.size()) {
        const std::size_t fim = texto.find('\n', inicio);
        if (fim == std::string_view::npos) break;  // still being written
        std::string_view linha = texto.substr(inicio, fim - inicio);
        if (!linha.empty() && linha.back() == '\r') linha.remove_suffix(1);
        inicio = fim + 1;
        ++numeroLinha;
        const std::vector<std::string_view> cs = campos(linha);
        if (numeroLinha == 1) {
            for (std::string_view c : cs) t.colunas.emplace_back(c);
            continue;
        }
        std::vector<double> valores(cs.size());
        bool ok = cs.size() == t.colunas.size();
        for (std::size_t k = 0; ok && k < cs.size(); ++k) ok = numero(cs[k], valores[k]);
        if (!ok) {
            t.problema = "line " + std::to_string(numeroLinha) + " holds '" + std::string(linha.substr(0, 60)) + "'";
            break;
        }
        t.linhas.push_back(std::move(valores));
    }
    return t;
}

TabelaCsv lerTabelaCsv(const std::filesystem::path& arquivo) {
    std::error_code ec;
    // Not a FIFO or a device: opening one could wait for ever.
    if (!std::filesystem::is_regular_file(arquivo, ec)) return {};
    std::ifstream in(arquivo, std::ios::binary);
    if (!in) return {};
    std::ostringstream s;
    s << in.rdbuf();
    return tabelaCsv(s.str());
}

}  // namespace tevra
