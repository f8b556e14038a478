#include "base/memoria.h"

#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <limits>
#include <optional>
#include <sstream>
#include <string>

namespace tevra {

namespace {

namespace fs = std::filesystem;

constexpr unsigned long long kSemLimite = std::numeric_limits<unsigned long long>::max();

// The first word of a file as a number; nothing for a missing file or "max".
std::optional<unsigned long long> numeroDoArquivo(const fs::path& p) {
    std::ifstream in(p);
    std::string palavra;
    if (!(in >> palavra) || palavra.empty() || palavra.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    try {
        return std::stoull(palavra);
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

// "MemAvailable:   21205368 kB" in bytes.
std::optional<unsigned long long> memAvailable(const fs::path& proc) {
    std::ifstream in(proc / "meminfo");
    for (std::string linha; std::getline(in, linha);) {
        std::istringstream campos(linha);
        std::string nome, unidade;
        unsigned long long valor = 0;
        if (!(campos >> nome >> valor) || nome != "MemAvailable:") continue;
        campos >> unidade;
        return unidade == "kB" ? valor * 1024 : valor;
    }
    return std::nullopt;
}

// What the limits leave free at `pasta` and at every level above it, up to `raiz`.
unsigned long long livreNosNiveis(fs::path pasta, const fs::path& raiz, const char* limite, const char* uso) {
    unsigned long long livre = kSemLimite;
    for (;;) {
        const std::optional<unsigned long long> max = numeroDoArquivo(pasta / limite);
        if (max) livre = std::min(livre, *max - std::min(*max, numeroDoArquivo(pasta / uso).value_or(0)));
        if (pasta == raiz || !pasta.has_relative_path() || pasta.parent_path() == pasta) break;
        pasta = pasta.parent_path();
        if (pasta.string().size() < raiz.string().size()) break;
    }
    return livre;
}

// The folder of a cgroup path in a hierarchy mounted at `montagem`; the mount itself when the
// path is not there (a container sees its own group as the root).
fs::path pastaDoGrupo(const fs::path& montagem, const std::string& caminho) {
    const fs::path relativo = fs::path(caminho).relative_path();
    if (relativo.empty()) return montagem;
    const fs::path p = montagem / relativo;
    std::error_code ec;
    return fs::is_directory(p, ec) ? p : montagem;
}

unsigned long long livreNoCgroup(const fs::path& proc, const fs::path& cgroup) {
    std::ifstream in(proc / "self" / "cgroup");
    unsigned long long livre = kSemLimite;
    // hierarchy-ID:controllers:path
    for (std::string linha; std::getline(in, linha);) {
        const std::size_t a = linha.find(':');
        const std::size_t b = a == std::string::npos ? a : linha.find(':', a + 1);
        if (b == std::string::npos) continue;
        // ",memory,cpu," so that a whole name can be searched for; piece by piece, since
        // GCC 12 warns falsely about "," + s + ",".
        std::string controladores(1, ',');
        controladores += linha.substr(a + 1, b - a - 1);
        controladores += ',';
        const std::string caminho = linha.substr(b + 1);
        if (linha.compare(0, a, "0") == 0 && controladores == ",,") {
            // v2: mounted at the root, or at "unified" beside v1 hierarchies.
            for (const fs::path& montagem : {cgroup, cgroup / "unified"})
                livre = std::min(
                    livre, livreNosNiveis(pastaDoGrupo(montagem, caminho), montagem, "memory.max", "memory.current"));
        } else if (controladores.find(",memory,") != std::string::npos) {
            const fs::path montagem = cgroup / "memory";
            livre = std::min(livre, livreNosNiveis(pastaDoGrupo(montagem, caminho), montagem, "memory.limit_in_bytes",
                                                   "memory.usage_in_bytes"));
        }
    }
    return livre;
}

}  // namespace

unsigned long long memoriaFisica() {
    const long paginas = sysconf(_SC_PHYS_PAGES);
    const long tamanho = sysconf(_SC_PAGE_SIZE);
    if (paginas <= 0 || tamanho <= 0) return 0;
    return static_cast<unsigned long long>(paginas) * static_cast<unsigned long long>(tamanho);
}

unsigned long long memoriaDisponivel(const fs::path& proc, const fs::path& cgroup) {
    unsigned long long livre = memAvailable(proc).value_or(memoriaFisica());
    const unsigned long long grupo = livreNoCgroup(proc, cgroup);
    if (grupo != kSemLimite && (livre == 0 || grupo < livre)) livre = grupo;
    return livre;
}

unsigned long long memoriaDisponivel() { return memoriaDisponivel("/proc", "/sys/fs/cgroup"); }

}  // namespace tevra
