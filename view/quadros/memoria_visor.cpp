#include "view/quadros/memoria_visor.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <limits>
#include <optional>
#include <string>

#include "view/quadros/quadro_compacto.h"

namespace tevra {

namespace {

constexpr unsigned long long kSemLimite = std::numeric_limits<unsigned long long>::max();

std::optional<unsigned long long> numeroDoArquivo(const std::filesystem::path& arquivo) {
    std::ifstream in(arquivo);
    std::string s;
    if (!(in >> s)) return std::nullopt;
    if (s == "max") return kSemLimite;
    unsigned long long v = 0;
    const auto r = std::from_chars(s.data(), s.data() + s.size(), v);
    if (r.ec != std::errc() || r.ptr != s.data() + s.size()) return std::nullopt;
    return v;
}

// The room a group and every group above it leave: limit minus use, the smallest.
unsigned long long folgaDosGrupos(const std::filesystem::path& raiz, const std::string& grupo, const char* limite,
                                  const char* uso) {
    const auto relativo = std::filesystem::path(grupo).relative_path();
    std::filesystem::path dir = relativo.empty() ? raiz : raiz / relativo;
    std::error_code ec;
    // Inside a container the group's path may not show under the mount: its root is the group.
    if (!std::filesystem::is_directory(dir, ec)) dir = raiz;
    unsigned long long folga = kSemLimite;
    for (;;) {
        const auto l = numeroDoArquivo(dir / limite);
        // v1 says "no limit" with a huge page-rounded number.
        if (l && *l < (1ULL << 62)) folga = std::min(folga, *l - std::min(*l, numeroDoArquivo(dir / uso).value_or(0)));
        if (dir == raiz || dir.parent_path() == dir) break;
        dir = dir.parent_path();
    }
    return folga;
}

}  // namespace

unsigned long long memoriaDisponivel(const std::filesystem::path& proc, const std::filesystem::path& cgroup) {
    unsigned long long disponivel = kSemLimite;
    {
        std::ifstream in(proc / "meminfo");
        for (std::string chave; in >> chave;) {
            unsigned long long kib = 0;
            if (!(in >> kib)) break;
            in.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
            if (chave == "MemAvailable:") {
                disponivel = kib * 1024;
                break;
            }
        }
    }
    std::ifstream grupos(proc / "self" / "cgroup");
    for (std::string linha; std::getline(grupos, linha);) {
        // hierarchy-id:controllers:path
        const auto a = linha.find(':');
        const auto b = a == std::string::npos ? a : linha.find(':', a + 1);
        if (b == std::string::npos) continue;
        const std::string controladores = linha.substr(a + 1, b - a - 1);
        const std::string caminho = linha.substr(b + 1);
        if (linha.compare(0, a, "0") == 0 && controladores.empty()) {
            std::error_code ec;
            const auto raiz = std::filesystem::exists(cgroup / "cgroup.controllers", ec) ? cgroup : cgroup / "unified";
            disponivel = std::min(disponivel, folgaDosGrupos(raiz, caminho, "memory.max", "memory.current"));
        } else if (("," + controladores + ",").find(",memory,") != std::string::npos) {
            disponivel = std::min(disponivel, folgaDosGrupos(cgroup / "memory", caminho, "memory.limit_in_bytes",
                                                             "memory.usage_in_bytes"));
        }
    }
    return disponivel == kSemLimite ? 0 : disponivel;
}

std::size_t orcamentoPadraoVisor() {
    const unsigned long long d = memoriaDisponivel();
    if (d == 0) return std::size_t{1} << 30;
    return static_cast<std::size_t>(std::min<unsigned long long>(d / 4, std::numeric_limits<std::size_t>::max()));
}

PlanoCarga planejarCarga(std::size_t orcamento, long long nos, std::size_t bytesFixosPorNo, int trabalhadoresMax) {
    PlanoCarga p;
    const auto n = static_cast<unsigned long long>(std::max(nos, 0LL));
    const unsigned long long quadro = n * kBytesPorNoCompacto;
    // Node arrays in doubles and the compact frame made from them.
    const unsigned long long emVoo = n * (6 * sizeof(double)) + quadro;
    p.trabalhadores = std::max(trabalhadoresMax, 1);
    p.adiantados = 4;
    // The frame on screen may outlive its place in memory until the next is drawn; and a
    // second reader brings frames back from disk while streaming (one thread, two ahead).
    const unsigned long long fixo = n * bytesFixosPorNo + quadro + 3 * emVoo;
    auto leitura = [&] { return static_cast<unsigned long long>(p.trabalhadores + p.adiantados) * emVoo; };
    while (fixo + leitura() + quadro > orcamento && (p.adiantados > 1 || p.trabalhadores > 1)) {
        if (p.adiantados > 1)
            --p.adiantados;
        else
            --p.trabalhadores;
    }
    p.cabe = fixo + leitura() + quadro <= orcamento;
    if (p.cabe) p.orcamentoQuadros = static_cast<std::size_t>(orcamento - fixo - leitura());
    return p;
}

}  // namespace tevra
