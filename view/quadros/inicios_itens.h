#pragma once
// Where the items of a stretch of frame text start, found 64 bytes at a time from a mask of
// its blanks: the frame reader's direct path takes a node's items from this list instead of
// looking for each item's end before it can look for the next.

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "base/leitura_real_curta.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tevra {

// The stream's whitespace: ' ', '\t', '\n', '\v', '\f', '\r'; an item is a maximal run of
// anything else.
inline bool branco(char c) {
    constexpr std::uint64_t kBrancos = (std::uint64_t{1} << ' ') | (std::uint64_t{0x1f} << '\t');
    const auto b = static_cast<unsigned char>(c);
    return b <= ' ' && ((kBrancos >> b) & 1) != 0;
}

// Bit k set when byte k of w (the first in the low byte) is a blank. Each test is made on
// the low seven bits so that no byte carries into the next: the high bit of every byte ends
// up telling the answer, and a multiplication gathers the eight.
inline unsigned brancosDaPalavra(std::uint64_t w) {
    using real_curto::emTodos;
    const std::uint64_t baixos = w & emTodos(0x7f);
    // A space: the low bits, xored with 0x20, are zero (and the high bit is clear).
    const std::uint64_t espaco = ~(((baixos ^ emTodos(0x20)) + emTodos(0x7f)) | w) & emTodos(0x80);
    // '\t' to '\r' (9 to 13): at least 9, and below 14.
    const std::uint64_t de9 = (baixos + emTodos(0x80 - 9)) & emTodos(0x80);
    const std::uint64_t ate13 = ~(baixos + emTodos(0x80 - 14)) & emTodos(0x80);
    const std::uint64_t brancos = espaco | (de9 & ate13 & ~w);
    return static_cast<unsigned>((((brancos >> 7) * 0x0102040810204080ULL) >> 56));
}

// Bit k set when p[k] is a blank, for k < 64; eight bytes at a time in a general register.
inline std::uint64_t mascaraBrancosPalavras(const char* p) {
    std::uint64_t m = 0;
    for (int k = 0; k < 8; ++k) m |= std::uint64_t{brancosDaPalavra(real_curto::palavra(p + 8 * k))} << (8 * k);
    return m;
}

#if defined(__SSE2__)
// The blanks among 16 bytes in a vector register, bit k for byte k.
inline unsigned brancosVetor(__m128i b) {
    // Signed bytes: those from 0x80 on are negative, below 9.
    const __m128i controle = _mm_and_si128(_mm_cmpgt_epi8(b, _mm_set1_epi8(8)), _mm_cmpgt_epi8(_mm_set1_epi8(14), b));
    return static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(controle, _mm_cmpeq_epi8(b, _mm_set1_epi8(' ')))));
}

// mascaraBrancosPalavras with sixteen bytes a step (every x86-64 processor has SSE2).
inline std::uint64_t mascaraBrancosVetor(const char* p) {
    std::uint64_t m = 0;
    for (int k = 0; k < 4; ++k)
        m |= std::uint64_t{brancosVetor(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * k)))} << (16 * k);
    return m;
}
#endif

inline std::uint64_t mascaraBrancos(const char* p) {
#if defined(__SSE2__)
    return mascaraBrancosVetor(p);
#else
    return mascaraBrancosPalavras(p);
#endif
}

// The bits set in m, from the lowest, as offsets from `base` into saida, and how many there
// were. Eight are written whatever the count, which is kept without a branch: a piece
// of the writer's lines holds about seven items. (The top bit set keeps countr_zero from its
// branch for 0; when it is the only one it is not counted.)
inline std::size_t listarBits(std::uint64_t m, std::uint32_t base, std::uint32_t* saida) {
    std::size_t n = 0;
    for (int j = 0; j < 8; ++j) {
        saida[n] = base + static_cast<std::uint32_t>(std::countr_zero(m | std::uint64_t{1} << 63));
        n += m != 0;
        m &= m - 1;
    }
    for (; m != 0; m &= m - 1) saida[n++] = base + static_cast<std::uint32_t>(std::countr_zero(m));
    return n;
}

// The offsets from `ini` of the items that start in the `pedacos` pieces of 64 bytes at ini,
// in order, into `saida` (room for 32 a piece); returns how many. ini lies on a blank or at
// the text's start, so a byte there that is no blank starts an item.
inline std::size_t marcarInicios(const char* ini, std::size_t pedacos, std::uint32_t* saida) {
    std::size_t n = 0;
    std::uint64_t brancoAntes = 1;
    for (std::size_t k = 0; k < pedacos; ++k) {
        const std::uint64_t brancos = mascaraBrancos(ini + 64 * k);
        n += listarBits(~brancos & (brancos << 1 | brancoAntes), static_cast<std::uint32_t>(64 * k), saida + n);
        brancoAntes = brancos >> 63;
    }
    return n;
}

// Where the item that starts at ini ends (the blank after it), when that is within the 16
// bytes at ini; else ini + 16.
inline const char* fimDoItem(const char* ini) {
    const unsigned brancos = brancosDaPalavra(real_curto::palavra(ini)) | brancosDaPalavra(real_curto::palavra(ini + 8))
                                                                              << 8;
    return ini + std::countr_zero(brancos | 1u << 16);
}

// The item that starts at ini: where it ends (as fimDoItem), and whether it is a number of
// fracaoCurta's forms, with its numerator and divisor. In the vector registers, the 16 bytes
// after the sign are read once, for the blank after the number as for its digits.
inline bool fracaoDoItem(const char* ini, const char*& fim, double& numerador, double& divisor) {
#if defined(__SSE2__)
    const unsigned negativo = *ini == '-';
    const __m128i texto = _mm_loadu_si128(reinterpret_cast<const __m128i*>(ini + negativo));
    const auto n = static_cast<unsigned>(std::countr_zero(brancosVetor(texto) | 1u << 16));
    fim = ini + negativo + n;
    // n = 16: no blank among the 16 bytes, the item may go on.
    return n - 1 < 15u && fracaoCurtaVetor(texto, n, negativo, real_curto::bitsNumeroVetor(texto), numerador, divisor);
#else
    fim = fimDoItem(ini);
    return fracaoCurta(ini, fim, numerador, divisor);
#endif
}

}  // namespace tevra
