#include "dynamics/restricoes.h"

#include <algorithm>

namespace tevra {

// Only the entries the last call set can be non-zero: clearing those keeps a step's cost
// independent of the grid.
void atualizarRestricoes(ObjDeformavel& obj) {
    for (const int idx : obj.nosRestritos) obj.restricaoDoNo[idx] = 0;
    obj.nosRestritos.clear();
    const int n = static_cast<int>(obj.restricoes.size());
    for (int k = 0; k < n && k < obj.nRestricoes; ++k) {
        const Restricao& r = obj.restricoes[k];
        if (r.u < 0 || r.u >= obj.grade_i || r.v < 0 || r.v >= obj.grade_j) continue;  // names no node
        if (r.inicio <= obj.passoAtual && obj.passoAtual < r.fim) {
            const int idx = r.u * obj.grade_j + r.v;
            obj.restricaoDoNo[idx] = k + 1;
            obj.nosRestritos.push_back(idx);
        }
    }
    std::sort(obj.nosRestritos.begin(), obj.nosRestritos.end());
    obj.nosRestritos.erase(std::unique(obj.nosRestritos.begin(), obj.nosRestritos.end()), obj.nosRestritos.end());
}

nucleo::NoRestrito noRestrito(const ObjDeformavel& obj, int idx) {
    const Restricao& r = obj.restricoes[obj.restricaoDoNo[idx] - 1];
    nucleo::NoRestrito no;
    no.j = idx % obj.grade_j;
    const bool fixa = r.tipo == RestricaoFixa;
    no.fluido = !fixa;
    for (int s = 0; s < 3; ++s) {
        no.livre[s] = !fixa || r.eixo[s] != 0;
        no.campo[s] = no.livre[s];
        no.forca[s] = r.forca[s];
    }
    no.temForca = r.tipo == RestricaoForca;
    return no;
}

}  // namespace tevra
