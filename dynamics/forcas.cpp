#include "dynamics/forcas.h"

#include <algorithm>
#include <cmath>

#include "dynamics/varredura.h"

namespace tevra {

namespace {

// Elastic terms this small are round-off of the differences and are dropped.
constexpr double kLimpezaForca = 1e-7;

}  // namespace

void calcularForcas(ObjDeformavel& obj, int /*numPasso*/) {
    obj.detalhar();
    avaliarForcas(obj, false);
    const int n = obj.numNos();
    for (int c = 0; c < 3; ++c) std::fill(obj.forcaInterna[c], obj.forcaInterna[c] + n, 0.0);
}

void limparForcas(ObjDeformavel& obj, int /*numPasso*/) {
    const int n = obj.numNos();
    for (double* const* termo : {obj.somaChapeu, obj.e_tio})
        for (int c = 0; c < 3; ++c) {
            double* v = termo[c];
            if (!v) continue;  // a sweep cleans its own rows; only a detailed object keeps them
            for (int idx = 0; idx < n; ++idx)
                if (std::fabs(v[idx]) <= kLimpezaForca) v[idx] = 0.0;
        }
}

}  // namespace tevra
