#include "dynamics/copia_verificada.h"

#include <emmintrin.h>

#include <cstdint>
#include <cstring>

namespace tevra {

namespace {

constexpr std::uint64_t kExpoente = 0x7ff0000000000000ULL;  // all ones: infinite or NaN
constexpr std::uint64_t kUmNoExpoente = 0x0010000000000000ULL;

// One added to the exponent field carries into the sign bit only when the field is all
// ones: masks, adds and ors, no comparison.
inline std::uint64_t marca(double v) {
    std::uint64_t b;
    std::memcpy(&b, &v, sizeof b);
    return (b & kExpoente) + kUmNoExpoente;
}

template <bool kVerificar>
bool copiarComMarcas(const double* de, double* para, std::size_t n) {
    std::uint64_t ruim = 0;
    std::size_t k = 0;
    // Streaming stores want 16-byte alignment; a copy that starts off it goes one value first.
    if (n > 0 && (reinterpret_cast<std::uintptr_t>(para) & 15) != 0) {
        if (kVerificar) ruim |= marca(de[0]);
        para[0] = de[0];
        k = 1;
    }
    const __m128i expoente = _mm_set1_epi64x(static_cast<long long>(kExpoente));
    const __m128i um = _mm_set1_epi64x(static_cast<long long>(kUmNoExpoente));
    __m128i acumulado = _mm_setzero_si128();
    for (; k + 2 <= n; k += 2) {
        const __m128d v = _mm_loadu_pd(de + k);
        _mm_stream_pd(para + k, v);
        if (kVerificar)
            acumulado = _mm_or_si128(acumulado, _mm_add_epi64(_mm_and_si128(_mm_castpd_si128(v), expoente), um));
    }
    for (; k < n; ++k) {
        if (kVerificar) ruim |= marca(de[k]);
        para[k] = de[k];
    }
    // The streamed lines are visible to the thread the copy is handed to (through the queue's
    // lock) only after this fence.
    _mm_sfence();
    if (!kVerificar) return false;
    std::uint64_t lanes[2];
    _mm_storeu_si128(reinterpret_cast<__m128i*>(lanes), acumulado);
    ruim |= lanes[0] | lanes[1];
    return (ruim >> 63) != 0;
}

}  // namespace

bool copiarVerificando(const double* de, double* para, std::size_t n) { return copiarComMarcas<true>(de, para, n); }

void copiarParaOutroNucleo(const double* de, double* para, std::size_t n) { copiarComMarcas<false>(de, para, n); }

}  // namespace tevra
