#include "dynamics/divergencia.h"

#include <cmath>

namespace tevra {

bool algumNaoFinito(const ObjDeformavel& o) { return o.naoFinito; }

std::optional<Divergencia> localizarNaoFinito(const ObjDeformavel& o, int passo) {
    static const char* const nomes[2][3] = {{"position x", "position y", "position z"},
                                            {"velocity x", "velocity y", "velocity z"}};
    const int n = o.numNos();
    for (int idx = 0; idx < n; ++idx)
        for (int q = 0; q < 2; ++q)
            for (int c = 0; c < 3; ++c) {
                const double v = (q == 0 ? o.pos : o.vel)[c][idx];
                if (std::isfinite(v)) continue;
                Divergencia d;
                d.passo = passo;
                d.tempo = passo * o.passo;
                d.i = idx / o.grade_j;
                d.j = idx % o.grade_j;
                d.grandeza = nomes[q][c];
                return d;
            }
    return std::nullopt;
}

}  // namespace tevra
