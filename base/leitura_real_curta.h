#pragma once
// The frame writer's numbers read without a loop over their bytes: "-0.410244", "0.982223",
// "2", "0.0142857" by a few vector operations and no branch (word operations where there are
// no vector registers), "1.23457e-05" by word operations and a few branches. Every other text
// is left to lerReal (base/leitura_real.h). Each value is an integer below 2^53 times or over
// a power of ten up to 1e22, both exact doubles: one rounding, so the correctly rounded
// value, the one std::from_chars gives.

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tevra {

// Bytes at `ini` that lerRealCurto may read, whatever the text's length: the caller keeps
// them readable.
inline constexpr std::ptrdiff_t kAlcanceRealCurto = 32;

// The whole of [ini, fim) as a number of these forms: an optional minus, a mantissa of 1 to
// 16 bytes of digits with at most one point among them (a digit either side of it) and at
// most 15 digits, optionally "e" or "E", an optional sign and 1 to 3 digits, the decimal
// exponent within 22 once the point is moved to the mantissa's end. True with the value
// from_chars gives it, false for any other text.
bool lerRealCurtoLongo(const char* ini, const char* fim, double& v);

namespace real_curto {

// Exact powers of ten up to 1e22, each a double without rounding, and their negatives (rows
// of 32, so that a row is found by a shift).
inline constexpr auto kDivisores = [] {
    std::array<std::array<double, 32>, 2> t{};
    double p = 1;
    for (int k = 0; k < 23; ++k, p *= 10) t[0][k] = p, t[1][k] = -p;
    return t;
}();

// The same byte in all eight bytes of a word.
constexpr std::uint64_t emTodos(unsigned char b) { return 0x0101010101010101ULL * b; }

// Eight bytes at p, the first in the low byte.
inline std::uint64_t palavra(const char* p) {
    std::uint64_t w;
    std::memcpy(&w, p, 8);
    if constexpr (std::endian::native == std::endian::big) w = __builtin_bswap64(w);
    return w;
}

// The high bit of every byte of w that is no decimal digit. A byte is a digit when, with
// '0' taken away (an xor, as the high nibble of a digit is 3), it is below 10: adding 0x76
// to its low seven bits then leaves the high bit clear, and nothing carries into the next
// byte.
inline std::uint64_t naoDigitos(std::uint64_t w) {
    const std::uint64_t a = w ^ emTodos('0');
    return (((a & emTodos(0x7f)) + emTodos(0x76)) | a) & emTodos(0x80);
}

// The eight digit values of d (bytes 0 to 9, the first the most significant) as one number:
// pairs, fours and the eight joined by multiplications.
inline std::uint64_t oitoDigitos(std::uint64_t d) {
    d = d * 10 + (d >> 8);
    constexpr std::uint64_t kPares = 0x000000ff000000ffULL;
    d = ((d & kPares) * (100 + (1000000ULL << 32)) + ((d >> 16) & kPares) * (1 + (10000ULL << 32))) >> 32;
    return d & 0xffffffffULL;
}

// The first k bytes of a word.
inline constexpr std::uint64_t kPrimeiros[9] = {
    0, 0xffULL, 0xffffULL, 0xffffffULL, 0xffffffffULL, 0xffffffffffULL, 0xffffffffffffULL, 0xffffffffffffffULL, ~0ULL};

// Which of the 16 bytes at p are decimal digits and which are points, bit k for byte k.
struct BitsNumero {
    unsigned digitos;
    unsigned pontos;
};

inline BitsNumero bitsNumeroPalavras(const char* p) {
    BitsNumero r{0, 0};
    // A byte equal to c: the low seven bits of its xor with c are zero, and the high bit of
    // the byte is clear. The high bits gathered into the top byte by a multiplication.
    const auto iguais = [](std::uint64_t w, unsigned char c) {
        const std::uint64_t x = w ^ emTodos(c);
        return ~(((x & emTodos(0x7f)) + emTodos(0x7f)) | w) & emTodos(0x80);
    };
    const auto juntar = [](std::uint64_t altos) {
        return static_cast<unsigned>(((altos >> 7) * 0x0102040810204080ULL) >> 56);
    };
    for (int k = 0; k < 2; ++k) {
        const std::uint64_t w = palavra(p + 8 * k);
        r.digitos |= juntar(~naoDigitos(w) & emTodos(0x80)) << (8 * k);
        r.pontos |= juntar(iguais(w, '.')) << (8 * k);
    }
    return r;
}

#if defined(__SSE2__)
inline BitsNumero bitsNumeroVetor(__m128i b) {
    // A digit less '0' is 0 to 9 unsigned: the minimum with 9 leaves it as it is.
    const __m128i x = _mm_sub_epi8(b, _mm_set1_epi8('0'));
    const __m128i d = _mm_cmpeq_epi8(_mm_min_epu8(x, _mm_set1_epi8(9)), x);
    return {static_cast<unsigned>(_mm_movemask_epi8(d)),
            static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(b, _mm_set1_epi8('.'))))};
}
inline BitsNumero bitsNumeroVetor(const char* p) {
    return bitsNumeroVetor(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)));
}
#endif

// The vector registers do it beside the work in the general ones (every x86-64 processor has
// SSE2).
inline BitsNumero bitsNumero(const char* p) {
#if defined(__SSE2__)
    return bitsNumeroVetor(p);
#else
    return bitsNumeroPalavras(p);
#endif
}

}  // namespace real_curto

// fracaoCurta (below) in general registers, for a text of at most 8 bytes after the sign.
// The point is taken out of the word (the digits after it move down a byte), and the digits,
// zeros after them, read as an eight-digit integer L below 1e8: the number is L over 10^(8 -
// the digits before the point), at most 1e7. All of it is word operations with no branch but
// the two that leave: a frame's numbers differ in sign, length and point at random, and
// would be mispredicted.
inline bool fracaoCurtaPalavras(const char* ini, const char* fim, double& numerador, double& divisor) {
    using namespace real_curto;
    const auto l = static_cast<unsigned>(fim - ini);
    const unsigned negativo = *ini == '-';
    const unsigned n = l - negativo;
    if (n - 1 > 7u) return false;
    const BitsNumero bits = bitsNumero(ini);
    const unsigned alem = 1u << l;
    const unsigned corpo = (alem - 1) & ~negativo;
    const unsigned outros = ~bits.digitos & corpo;
    // Wrong unless every byte after the sign that is no digit is a point, there is one at
    // most, and it is neither first nor last.
    const unsigned bordas = (negativo + 1) | alem >> 1;
    if (((outros ^ (bits.pontos & corpo)) | (outros & (outros - 1)) | (outros & bordas)) != 0) return false;
    // Digits before the point (all of them when there is none): 1 to 8.
    const unsigned inteiros = static_cast<unsigned>(__builtin_ctz(outros | alem)) - negativo;
    const std::uint64_t a = (palavra(ini + negativo) ^ emTodos('0')) & (~std::uint64_t{0} >> (64 - 8 * n));
    // The bytes from the point on take the next one: a shift in two steps, as 8 digits
    // before the point move none (a shift by 64 is undefined).
    const std::uint64_t depois = (~std::uint64_t{0} << 1) << (8 * inteiros - 1);
    numerador = static_cast<double>(oitoDigitos(a ^ ((a ^ (a >> 8)) & depois)));
    divisor = kDivisores[negativo][8 - inteiros];
    return true;
}

#if defined(__SSE2__)
namespace real_curto {

// For n bytes of digits with a point at p (p = n: none), the bytes that stay where they are
// and those that take the next byte's place, in the vector registers.
struct Tiras {
    alignas(16) unsigned char ficam[16];
    alignas(16) unsigned char descem[16];
};
inline constexpr auto kTiras = [] {
    std::array<std::array<Tiras, 16>, 16> t{};  // [n - 1][p - 1]
    for (int n = 1; n <= 16; ++n)
        for (int p = 1; p <= n; ++p)
            for (int b = 0; b < n; ++b) {
                t[n - 1][p - 1].ficam[b] = b < p ? 0xff : 0;
                t[n - 1][p - 1].descem[b] = p < n && b >= p && b < n - 1 ? 0xff : 0;
            }
    return t;
}();

}  // namespace real_curto

// fracaoCurta of the n bytes (1 to 16) after the sign whose first 16 are `texto` (with their
// bitsNumero), with the work in the vector registers: the point taken out by a shift of the whole register; the
// first eight digits joined by multiply-adds of pairs, fours and halves, and turned into a
// double there. Beyond 8 digits (a few numbers, "0.00123457") the next seven too (the 16th is
// a zero: 15 digits at most), the two parts put together as H 1e7 + L, exact below 1e15 <
// 2^53.
inline bool fracaoCurtaVetor(__m128i texto, unsigned n, unsigned negativo, real_curto::BitsNumero bits,
                             double& numerador, double& divisor) {
    using namespace real_curto;
    const unsigned alem = 1u << n;
    const unsigned outros = ~bits.digitos & (alem - 1);
    const unsigned pontos = bits.pontos;
    // Wrong unless every byte that is no digit is a point, there is one at most, and it is
    // neither first nor last; and no more than 15 digits.
    if (((outros ^ (pontos & (alem - 1))) | (outros & (outros - 1)) | (outros & (1 | alem >> 1)) |
         static_cast<unsigned>(n - (outros != 0) > 15)) != 0)
        return false;
    const auto p = static_cast<unsigned>(__builtin_ctz(outros | alem));
    const Tiras& tiras = kTiras[n - 1][p - 1];
    const __m128i d = _mm_sub_epi8(texto, _mm_set1_epi8('0'));
    const __m128i junto = _mm_or_si128(
        _mm_and_si128(d, _mm_load_si128(reinterpret_cast<const __m128i*>(tiras.ficam))),
        _mm_and_si128(_mm_srli_si128(d, 1), _mm_load_si128(reinterpret_cast<const __m128i*>(tiras.descem))));
    const __m128i zero = _mm_setzero_si128();
    const __m128i dez = _mm_set1_epi32(1 << 16 | 10);
    const __m128i cem = _mm_set1_epi32(1 << 16 | 100);
    const __m128i dezMil = _mm_set1_epi32(1 << 16 | 10000);
    if (n - (outros != 0) <= 8) {
        // Digits d0 .. d7 as 16-bit words, then 10 d0 + d1 ..., then fours, then the eight.
        const __m128i pares = _mm_madd_epi16(_mm_unpacklo_epi8(junto, zero), dez);
        const __m128i quatros = _mm_madd_epi16(_mm_packs_epi32(pares, pares), cem);
        numerador = _mm_cvtsd_f64(_mm_cvtepi32_pd(_mm_madd_epi16(_mm_packs_epi32(quatros, quatros), dezMil)));
        divisor = kDivisores[negativo][8 - p];
        return true;
    }
    // Digits 8 to 15 moved up a byte, so that they read as 7 digits with the zero dropped.
    const __m128i juntos =
        _mm_castpd_si128(_mm_move_sd(_mm_castsi128_pd(_mm_slli_epi64(junto, 8)), _mm_castsi128_pd(junto)));
    const __m128i pares = _mm_packs_epi32(_mm_madd_epi16(_mm_unpacklo_epi8(juntos, zero), dez),
                                          _mm_madd_epi16(_mm_unpackhi_epi8(juntos, zero), dez));
    const __m128i quatros = _mm_madd_epi16(pares, cem);
    const __m128d hl = _mm_cvtepi32_pd(_mm_madd_epi16(_mm_packs_epi32(quatros, quatros), dezMil));
    numerador = _mm_cvtsd_f64(_mm_add_sd(_mm_mul_sd(hl, _mm_set_sd(1e7)), _mm_unpackhi_pd(hl, hl)));
    divisor = kDivisores[negativo][15 - p];
    return true;
}
#endif

// The whole of [ini, fim) as a number when it is an optional minus and up to 16 bytes of
// digits (8 without vector registers), at most 15 of them, with at most one point among them
// and a digit either side of it: true, with an exact numerator and divisor (a power of ten,
// negative for a minus, which keeps "-0" negative) whose quotient, rounded once, is the
// value from_chars gives the text. False for any other text. The divisions are left to the
// caller, which has other work to do while one is under way. The vector registers do the
// work beside the general ones where there are any (every x86-64 processor has SSE2).
inline bool fracaoCurta(const char* ini, const char* fim, double& numerador, double& divisor) {
#if defined(__SSE2__)
    const unsigned negativo = *ini == '-';
    const auto n = static_cast<unsigned>(fim - ini) - negativo;
    if (n - 1 > 15u) return false;
    const __m128i texto = _mm_loadu_si128(reinterpret_cast<const __m128i*>(ini + negativo));
    return fracaoCurtaVetor(texto, n, negativo, real_curto::bitsNumeroVetor(texto), numerador, divisor);
#else
    return fracaoCurtaPalavras(ini, fim, numerador, divisor);
#endif
}

// The same as a value, the longer forms of lerRealCurtoLongo tried when it fails.
inline bool lerRealCurto(const char* ini, const char* fim, double& v) {
    double numerador, divisor;
    if (!fracaoCurta(ini, fim, numerador, divisor)) return lerRealCurtoLongo(ini, fim, v);
    v = numerador / divisor;
    return true;
}

}  // namespace tevra
