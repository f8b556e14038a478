// A row's integrator stage: the kernels' view of the row and the split of its columns
// around the restricted nodes, which take a kernel of their own.
#include <algorithm>

#include "dynamics/restricoes.h"
#include "dynamics/varredura.h"
#include "model/linhas.h"
#include "model/solver.h"

namespace tevra {

using nucleo::Etapa;

nucleo::ParametrosEtapa parametrosEtapa(const ObjDeformavel& o, Etapa e) {
    nucleo::ParametrosEtapa p;
    p.etapa = e;
    p.dt = o.passo;
    p.gama = o.gama;
    p.massa = o.massa;
    p.fluido = o.fluidoAtivo != 0;
    p.fluidoCte = o.fluido_cte;
    for (int k = 0; k < 3; ++k) {
        p.acel[k] = o.acel[k];
        p.fluidoVel[k] = o.fluido[k];
    }
    return p;
}

nucleo::LinhaEtapa linhaEtapa(ObjDeformavel& o, int r, double* const novo[3]) {
    nucleo::LinhaEtapa L;
    for (int c = 0; c < 3; ++c) {
        L.pos[c] = naLinha(o.pos[c], o, r);
        L.novo[c] = naLinha(novo[c], o, r);
        L.vel[c] = naLinha(o.vel[c], o, r);
        L.posAnt[c] = naLinha(o.posAnterior[c], o, r);
        L.velAnt[c] = naLinha(o.velAnterior[c], o, r);
        for (int k = 0; k < 4; ++k) L.k[k][c] = naLinha(o.incrementoRK[k][c], o, r);
        L.n[c] = naLinha(o.nos.normal[c], o, r);
        L.forcaExterna[c] = naLinha(o.forcaExterna[c], o, r);
        if (o.solver == SolverEulerSemiExplicito) {
            L.forcaInterna[c] = naLinha(o.forcaInterna[c], o, r);
            L.aceleracao[c] = naLinha(o.aceleracao[c], o, r);
        }
    }
    return L;
}

bool etapaNaLinha(const ObjDeformavel& o, const nucleo::TabelaForcas& k, const nucleo::ParametrosEtapa& p,
                  const nucleo::LinhaEtapa& L, int r, int j0, int j1) {
    const int base = r * o.grade_j;
    auto it = std::lower_bound(o.nosRestritos.begin(), o.nosRestritos.end(), base + j0);
    bool ruim = false;
    for (; it != o.nosRestritos.end() && *it < base + j1; ++it) {
        const int j = *it - base;
        if (j > j0) ruim = k.etapa(p, L, j0, j) || ruim;
        ruim = k.etapaRestrita(p, L, noRestrito(o, *it)) || ruim;
        j0 = j + 1;
    }
    if (j0 < j1) ruim = k.etapa(p, L, j0, j1) || ruim;
    return ruim;
}

}  // namespace tevra
