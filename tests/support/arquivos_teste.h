#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

// A fresh temporary folder per test, removed at the end.
class PastaTemporaria {
public:
    PastaTemporaria() {
        std::random_device rd;
        caminho_ =
            std::filesystem::temp_directory_path() / ("tevra-teste-" + std::to_string(rd()) + std::to_string(rd()));
        std::filesystem::create_directories(caminho_);
    }
    ~PastaTemporaria() {
        std::error_code ec;
        std::filesystem::remove_all(caminho_, ec);
    }
    const std::filesystem::path& operator*() const { return caminho_; }
    std::filesystem::path operator/(const std::string& nome) const { return caminho_ / nome; }

private:
    std::filesystem::path caminho_;
};

inline std::string lerArquivo(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

inline std::vector<std::string> linhas(const std::string& texto) {
    std::vector<std::string> r;
    std::istringstream in(texto);
    for (std::string l; std::getline(in, l);) r.push_back(l);
    return r;
}

inline void escreverArquivo(const std::filesystem::path& p, const std::string& conteudo) {
    std::ofstream out(p, std::ios::binary);
    out << conteudo;
}
