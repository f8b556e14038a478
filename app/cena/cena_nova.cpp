#include "app/cena/cena_nova.h"

#include <sstream>

#include "app/cena/escrita_script.h"
#include "app/cena/script_cena.h"

namespace tevra {

Cena cenaNova() {
    Cena c;
    c.passo = 0.0002;
    c.quadros = 5001;
    c.intervalo = 25;
    c.tempo = 1;
    c.grade_i = 10;
    c.grade_j = 10;
    c.acel = {0.0, 0.0, -9.8};
    c.eta[0][0] = c.eta[1][1] = 50;
    c.qsi[0][0] = c.qsi[1][1] = 0.001;
    c.massa = 1;
    c.gama = 0.5;
    c.objeto = ObjetoPlano;
    c.comp[0] = 2;
    c.comp[1] = 2;
    for (int v : {0, c.grade_j - 1}) {
        Restricao r;
        r.u = 0;
        r.v = v;
        r.tipo = RestricaoFixa;
        r.inicio = 0;
        r.fim = 100000;
        c.restricoes.push_back(r);
    }
    return c;
}

FormularioCena formularioNovo() {
    FormularioCena f;
    std::istringstream script(escreverScript(cenaNova()));
    carregarScript(script, f);
    for (const char* caixaFluido : {caixa::fluido_cte, caixa::fluido[0], caixa::fluido[1], caixa::fluido[2]})
        f.caixas[caixaFluido].clear();
    f.caixas[caixa::raio] = textoReal(1.0);
    f.caixas[caixa::comprimento] = textoReal(2.0);
    return f;
}

}  // namespace tevra
