#include "view/quadros/quadro_compacto.h"

#include <atomic>

namespace tevra {

namespace {
std::atomic<std::uint64_t> proximaVersao{1};
}  // namespace

void compactar(const NosSuperficie& nos, QuadroCompacto& q) {
    const std::size_t n = nos.numNos();
    q.gradeI = nos.gradeI;
    q.gradeJ = nos.gradeJ;
    q.pos.resize(3 * n);
    q.normal.resize(3 * n);
    q.versao = proximaVersao.fetch_add(1, std::memory_order_relaxed);
    float* p = q.pos.data();
    float* v = q.normal.data();
    for (std::size_t k = 0; k < n; ++k) {
        *p++ = static_cast<float>(nos.x[k]);
        *p++ = static_cast<float>(nos.y[k]);
        *p++ = static_cast<float>(nos.z[k]);
        *v++ = static_cast<float>(nos.nx[k]);
        *v++ = static_cast<float>(nos.ny[k]);
        *v++ = static_cast<float>(nos.nz[k]);
    }
}

}  // namespace tevra
