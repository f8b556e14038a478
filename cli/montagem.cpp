#include "cli/montagem.h"

#include "app/cena/configuracao.h"
#include "app/cena/conversao_cena.h"
#include "app/cena/script_cena.h"
#include "app/cena/sobreposicoes.h"
#include "base/erros.h"
#include "base/tevra_home.h"
#include "base/texto_imprimivel.h"

namespace tevra {

Cena montarCena(const OpcoesLinha& o) {
    Cena cena;
    try {
        FormularioCena form;
        carregarScript(std::filesystem::path(o.script), form);
        if (!o.solver.empty()) form.solver = o.solver;
        cena = converterCena(form, '.');
    } catch (const ErroEntrada& e) {
        throw ErroEntrada(textoImprimivel(o.script) + ": " + e.what());
    }
    try {
        aplicarSobreposicoes(cena, o.sobreposicoes);
    } catch (const ErroEntrada& e) {
        throw ErroEntrada(std::string("--set ") + e.what());
    }
    try {
        verificarCena(cena);
    } catch (const ErroEntrada& e) {
        throw ErroEntrada(textoImprimivel(o.script) + (o.sobreposicoes.empty() ? ": " : " with its --set overrides: ") +
                          e.what());
    }
    return cena;
}

std::filesystem::path pastaDeSaida(const OpcoesLinha& o) {
    return o.pasta.empty() ? home::tmp() : std::filesystem::path(o.pasta);
}

}  // namespace tevra
