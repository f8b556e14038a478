#include "dynamics/restricoes.h"

#include <algorithm>

namespace tevra {

void atualizarRestricoes(ObjDeformavel& obj) {
    std::fill(obj.restricaoDoNo, obj.restricaoDoNo + obj.numNos(), 0);
    const int n = static_cast<int>(obj.restricoes.size());
    for (int k = 0; k < n && k < obj.nRestricoes; ++k) {
        const Restricao& r = obj.restricoes[k];
        if (r.u < 0 || r.u >= obj.grade_i || r.v < 0 || r.v >= obj.grade_j) continue;  // names no node
        if (r.inicio <= obj.passoAtual && obj.passoAtual < r.fim) obj.restricaoDoNo[r.u * obj.grade_j + r.v] = k + 1;
    }
}

}  // namespace tevra
