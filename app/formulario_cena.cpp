#include "app/formulario_cena.h"

const std::string& FormularioCena::texto(const std::string& nome) const {
    static const std::string vazio;
    auto it = caixas.find(nome);
    return it == caixas.end() ? vazio : it->second;
}
