#pragma once

#include "model/vetor3.h"

namespace tevra {

// Restriction kinds as stored in `Restricao::tipo`.
enum TipoRestricao : int {
    RestricaoFixa = 1,   // holds the axes whose switch is 0
    RestricaoForca = 3,  // adds a constant force ("forca" in the script)
};

// One restriction on node (u, v); it acts while inicio <= passoAtual < fim.
struct Restricao {
    int u = 0;
    int v = 0;
    int tipo = RestricaoFixa;
    int inicio = 0;
    int fim = 0;
    int eixo[3] = {0, 0, 0};  // fixing: 0 holds the axis, anything else leaves it free
    Vetor3 forca;             // "forca": the force added to the node

    bool operator==(const Restricao&) const = default;
};

}  // namespace tevra
