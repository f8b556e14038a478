#include "app/cena/formulario_cena.h"

#include <map>
#include <string_view>

#include "base/conversao.h"

namespace tevra {

const std::string& FormularioCena::texto(const std::string& nome) const {
    static const std::string vazio;
    auto it = caixas.find(nome);
    return it == caixas.end() ? vazio : it->second;
}

namespace {

void localizar(std::string& texto, char separador) {
    if (!paraReal(texto, '.')) return;
    for (char& c : texto)
        if (c == '.') c = separador;
}

// Caption of each box: the caption of its row, then the heading of its column, if any.
const std::map<std::string, std::string, std::less<>>& legendas() {
    static const std::map<std::string, std::string, std::less<>> mapa = [] {
        std::map<std::string, std::string, std::less<>> m = {
            {caixa::passo, "time step"}, {caixa::quadros, "iterations"}, {caixa::intervalo, "Interval"},
            {caixa::tempo, "Time"},      {caixa::grade_i, "grid i"},     {caixa::grade_j, "grid j"},
            {caixa::massa, "mass"},      {caixa::gama, "damp D"},        {caixa::fluido_cte, "damp R"},
            {caixa::raio, "Ray"},        {caixa::comprimento, "Lenght"}, {caixa::solver, "Solver"},
            {caixa::objeto, "object"},
        };
        const char* eixos[3] = {" x", " y", " z"};
        for (int k = 0; k < 3; ++k) {
            m[caixa::acel[k]] = std::string("g") + eixos[k];
            m[caixa::vel[k]] = std::string("v") + eixos[k];
            m[caixa::fluido[k]] = std::string("u") + eixos[k];
            m[caixa::comp[k]] = std::string("Lenghts") + eixos[k];
        }
        const char* componentes[4] = {" 00", " 01", " 10", " 11"};
        for (int a = 0; a < 4; ++a) {
            m[caixa::eta[a]] = std::string("zeta") + componentes[a];
            m[caixa::qsi[a]] = std::string("xi") + componentes[a];
            m[caixa::psi[a]] = std::string("psi") + componentes[a];
        }
        return m;
    }();
    return mapa;
}

}  // namespace

void localizarNumeros(FormularioCena& form, char separador) {
    if (separador == '.') return;
    for (auto& [nome, texto] : form.caixas) localizar(texto, separador);
    for (auto& linha : form.restricoes)
        for (std::string& celula : linha) localizar(celula, separador);
}

std::string legendaDaOrigem(const OrigemEntrada& origem) {
    static const char* const colunas[9] = {"", "U", "V", "Tipo", "Inicio", "Fim", "X", "Y", "Z"};
    if (origem.celula()) {
        std::string s = "restriction " + std::to_string(origem.linha);
        if (origem.coluna >= 1 && origem.coluna <= 8) s += std::string(", column ") + colunas[origem.coluna];
        return s;
    }
    auto it = legendas().find(origem.caixa);
    return it == legendas().end() ? origem.caixa : it->second;
}

}  // namespace tevra
