#include "view/exportacao/superficie_exportada.h"

#include "view/gl/malha.h"

namespace tevra {

const CampoNos* SuperficieExportada::normal() const {
    for (const CampoNos& c : campos)
        if (c.normais) return &c;
    return nullptr;
}

std::vector<std::int64_t> quadsDaGrade(int gradeI, int gradeJ, bool fechada) {
    std::vector<std::int64_t> q;
    // A ring of one node has no second row to close on: its strip would be quads of two
    // points each.
    const bool faixa = fechada && gradeI > 1;
    const std::int64_t abertos = gradeI > 1 && gradeJ > 1 ? static_cast<std::int64_t>(gradeI - 1) * (gradeJ - 1) : 0;
    q.reserve(static_cast<std::size_t>(4 * (abertos + (faixa ? gradeJ - 1 : 0))));
    // The window's walk: near side k, k + 1 in one row, far side m, m + 1 in the next. The
    // normal is the cross product of the step along i and the step along j, so the
    // counter-clockwise order about it goes to the far side first.
    percorrerQuads(gradeI, gradeJ, faixa, [&q](int k, int m) {
        q.push_back(k);
        q.push_back(m);
        q.push_back(m + 1);
        q.push_back(k + 1);
    });
    return q;
}

}  // namespace tevra
