#include "app/execucao/coleta.h"

#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "app/execucao/manifesto.h"

namespace tevra {

namespace {

using nlohmann::json;

// A folder given as "runs/a/" names "a".
std::string nomeDaPasta(const std::filesystem::path& pasta) {
    std::filesystem::path p = pasta.lexically_normal();
    if (p.filename().empty()) p = p.parent_path();
    return p.filename().string();
}

// A field of the manifest as text; empty when it is missing or null.
std::string campo(const json& m, const char* nome) {
    const auto it = m.find(nome);
    if (it == m.end() || it->is_null()) return {};
    if (it->is_string()) return it->get<std::string>();
    return it->dump();
}

std::string sobreposicoes(const json& m) {
    std::string s;
    const auto it = m.find("overrides");
    if (it == m.end() || !it->is_array()) return s;
    for (const json& o : *it) {
        if (!o.is_string()) continue;
        if (!s.empty()) s += ' ';
        s += o.get<std::string>();
    }
    return s;
}

}  // namespace

std::string campoCsv(std::string_view t) {
    const bool aspas =
        t.find_first_of(",\"\r\n") != std::string_view::npos || (!t.empty() && (t.front() == ' ' || t.back() == ' '));
    if (!aspas) return std::string(t);
    std::string r = "\"";
    for (char c : t) {
        if (c == '"') r += '"';
        r += c;
    }
    return r + "\"";
}

std::string coletarManifestos(const std::vector<std::filesystem::path>& pastas) {
    std::string csv = "name,overrides,status,exit_code,steps,frames,wall_seconds,node_steps_per_second\n";
    for (const auto& pasta : pastas) {
        std::vector<std::string> linha{nomeDaPasta(pasta), "", "", "", "", "", "", ""};
        std::ifstream in(pasta / kArquivoManifesto, std::ios::binary);
        if (!in) {
            linha[2] = "no-manifest";
        } else {
            std::ostringstream texto;
            texto << in.rdbuf();
            const json m = json::parse(texto.str(), nullptr, false);
            if (m.is_discarded() || !m.is_object()) {
                linha[2] = "unreadable";
            } else {
                linha[1] = sobreposicoes(m);
                const char* nomes[] = {"status", "exit_code",    "steps",
                                       "frames", "wall_seconds", "node_steps_per_second"};
                for (int k = 0; k < 6; ++k) linha[2 + k] = campo(m, nomes[k]);
            }
        }
        for (std::size_t k = 0; k < linha.size(); ++k) {
            if (k > 0) csv += ',';
            csv += campoCsv(linha[k]);
        }
        csv += "\n";
    }
    return csv;
}

}  // namespace tevra
