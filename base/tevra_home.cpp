#include "base/tevra_home.h"

#include <cstdlib>
#include <system_error>

namespace tevra {

namespace home {

std::filesystem::path raiz() {
    if (const char* h = std::getenv("TEVRA_HOME"); h && *h) return std::filesystem::path(h);
    if (const char* casa = std::getenv("HOME"); casa && *casa) return std::filesystem::path(casa) / "Tevra";
    return std::filesystem::current_path() / "Tevra";
}

std::filesystem::path scripts() { return raiz() / "scripts"; }
std::filesystem::path tmp() { return raiz() / "tmp"; }
std::filesystem::path imagens() { return raiz() / "Imagens"; }

bool criarPastas() {
    bool ok = true;
    for (const auto& p : {scripts(), tmp(), imagens()}) {
        std::error_code ec;
        std::filesystem::create_directories(p, ec);
        ok = ok && !ec && std::filesystem::is_directory(p, ec);
    }
    return ok;
}

}  // namespace home

}  // namespace tevra
