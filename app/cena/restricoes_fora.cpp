#include "app/cena/restricoes_fora.h"

namespace tevra {

std::vector<int> restricoesForaDaGrade(const Cena& c) {
    std::vector<int> fora;
    for (int k = 0; k < static_cast<int>(c.restricoes.size()); ++k) {
        const Restricao& r = c.restricoes[static_cast<std::size_t>(k)];
        if (r.u < 0 || r.u >= c.grade_i || r.v < 0 || r.v >= c.grade_j) fora.push_back(k);
    }
    return fora;
}

std::string avisoRestricoesForaDaGrade(const Cena& c) {
    const std::vector<int> fora = restricoesForaDaGrade(c);
    if (fora.empty()) return {};
    std::string lista;
    for (std::size_t p = 0; p < fora.size(); ++p) {
        const Restricao& r = c.restricoes[static_cast<std::size_t>(fora[p])];
        if (p > 0) lista += (p + 1 == fora.size()) ? " and " : ", ";
        lista += std::to_string(fora[p]) + " (node " + std::to_string(r.u) + ", " + std::to_string(r.v) + ")";
    }
    const bool uma = fora.size() == 1;
    return std::string(uma ? "Restriction " : "Restrictions ") + lista + (uma ? " lies" : " lie") + " outside the " +
           std::to_string(c.grade_i) + " x " + std::to_string(c.grade_j) + " grid and " + (uma ? "is" : "are") +
           " ignored.";
}

}  // namespace tevra
