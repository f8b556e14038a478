#include "app/cena/formulario_cena.h"

namespace tevra {

const std::string& FormularioCena::texto(const std::string& nome) const {
    static const std::string vazio;
    auto it = caixas.find(nome);
    return it == caixas.end() ? vazio : it->second;
}

}  // namespace tevra
