#include "view/imagem/adler32.h"

#include <algorithm>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tevra {

namespace {

constexpr std::uint32_t kModulo = 65521;
// The most bytes after which the sums, started below the modulo, still fit 32 bits.
constexpr std::size_t kMaxSemModulo = 5552;

void escalar(std::uint32_t& a, std::uint32_t& b, const std::uint8_t* p, std::size_t n) {
    for (std::size_t k = 0; k < n; ++k) {
        a += p[k];
        b += a;
    }
}

#if defined(__SSE2__)
// Sixteen bytes at a time, n a multiple of 16 and at most kMaxSemModulo. Block j of m adds
// its sum S_j to a, and to b both (16 - i) times its byte i and 16 (m - 1 - j) S_j: the
// second part is 16 times the sum, over the blocks, of the sums of the blocks before them.
void blocos(std::uint32_t& a, std::uint32_t& b, const std::uint8_t* p, std::size_t n) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i pesosAltos = _mm_setr_epi16(16, 15, 14, 13, 12, 11, 10, 9);
    const __m128i pesosBaixos = _mm_setr_epi16(8, 7, 6, 5, 4, 3, 2, 1);
    __m128i somas = zero, anteriores = zero, ponderadas = zero;
    for (std::size_t k = 0; k < n; k += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + k));
        anteriores = _mm_add_epi32(anteriores, somas);
        somas = _mm_add_epi32(somas, _mm_sad_epu8(v, zero));
        ponderadas = _mm_add_epi32(ponderadas, _mm_madd_epi16(_mm_unpacklo_epi8(v, zero), pesosAltos));
        ponderadas = _mm_add_epi32(ponderadas, _mm_madd_epi16(_mm_unpackhi_epi8(v, zero), pesosBaixos));
    }
    auto total = [](__m128i x) {
        alignas(16) std::uint32_t l[4];
        _mm_store_si128(reinterpret_cast<__m128i*>(l), x);
        return std::uint64_t{l[0]} + l[1] + l[2] + l[3];
    };
    const std::uint64_t b2 = b + std::uint64_t{a} * n + 16 * total(anteriores) + total(ponderadas);
    a = static_cast<std::uint32_t>((a + total(somas)) % kModulo);
    b = static_cast<std::uint32_t>(b2 % kModulo);
}
#endif

}  // namespace

std::uint32_t adler32Bytes(std::uint32_t adler, const std::uint8_t* p, std::size_t n) {
    std::uint32_t a = adler & 0xffffu, b = adler >> 16;
    while (n > 0) {
        std::size_t parte = std::min(n, kMaxSemModulo);
#if defined(__SSE2__)
        parte &= ~std::size_t{15};
        if (parte > 0) {
            blocos(a, b, p, parte);
        } else {
            parte = n;
            escalar(a, b, p, parte);
        }
#else
        escalar(a, b, p, parte);
#endif
        a %= kModulo;
        b %= kModulo;
        p += parte;
        n -= parte;
    }
    return b << 16 | a;
}

// a grows by n c, b by n a plus c (1 + ... + n); n (n + 1) / 2 modulo the odd prime depends
// on n modulo it only.
std::uint32_t adler32Repetido(std::uint32_t adler, std::uint8_t c, std::size_t n) {
    const std::uint64_t a = adler & 0xffffu, b = adler >> 16;
    const std::uint64_t m = n % kModulo;
    const std::uint64_t triangulo = m * (m + 1) / 2 % kModulo;
    const std::uint64_t b2 = (b + m * a + c * triangulo) % kModulo;
    const std::uint64_t a2 = (a + m * c) % kModulo;
    return static_cast<std::uint32_t>(b2 << 16 | a2);
}

}  // namespace tevra
