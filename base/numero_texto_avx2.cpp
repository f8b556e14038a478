// escreverLinhas four numbers at a time, run only where the processor has AVX2. Each lane
// takes escreverReal's steps, the same IEEE operations on the same tables: the scaling, the
// rounding, the tie test, then the digits and the text, so the bytes are those of printf's
// "%g". What the lanes do not lay out (ties, the exponent form, subnormals, values outside
// 1e-17 to 1e5) is written by escreverReal into the lane's slice.
#include <immintrin.h>

#include <array>
#include <cstdint>
#include <cstring>

#include "base/numero_texto.h"
#include "base/numero_texto_tabelas.h"

// AVX2 for the code below only (no FMA: the lanes take the scalar path's operations), not for
// the inline functions of the headers above: a copy of one of those built with AVX2 could be
// the one the linker keeps for every caller.
#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx2"))), apply_to = function)
#else
#pragma GCC push_options
#pragma GCC target("avx2")
#endif

namespace tevra {

using namespace texto;

namespace {

// " " and a number's text in bytes 0 to 13; byte 15, its exponent and last significant digit
// (kTamanhos); byte 14, the bytes before the digits (the space and the sign). Where the lanes
// leave the number to escreverReal, its text and 7 << 5 | its length, and 0.
struct alignas(16) Fatia {
    char c[16];
};

// The text's length by byte 15 of its slice: (x + 16) | h << 5, x the decimal exponent and h
// the last digit that is not a zero (7 for zero itself); 0 where the lanes leave the number
// to escreverReal, the exponent form among them.
constexpr std::array<std::uint8_t, 256> kTamanhos = [] {
    std::array<std::uint8_t, 256> t{};
    for (int m = 1; m < 256; ++m) {
        const int x = (m & 31) - 16, h = m >> 5;
        if (h == 7) {  // zero ("0"), or escreverReal's text of m & 31 bytes
            t[m] = static_cast<std::uint8_t>(x == 0 ? 1 : m & 31);
            continue;
        }
        if (x < -4 || x > 5 || h == 6) continue;
        // Up to digit h and the point when h > x, else the x + 1 digits before the point;
        // "0." and -x - 1 zeros before the digits when x < 0.
        t[m] = static_cast<std::uint8_t>(x < 0 ? h + 2 - x : h > x ? h + 2 : x + 1);
    }
    return t;
}();

// Nodes a block: the slices of 12 columns of it take 24 KiB.
constexpr int kBloco = 128;

[[gnu::always_inline]] inline __m256i constante(std::int64_t k) { return _mm256_set1_epi64x(k); }

// The scaling powers of v[0..3] (kEscalas) by four scalar loads: a gather is slower here, and
// these take the integer side, which the lanes leave idle. The subnormals are sent to a
// not-a-number row by escalar.
[[gnu::always_inline]] inline __m256d potencias(const double* v) {
    std::uint64_t b[4];
    for (int k = 0; k < 4; ++k) std::memcpy(&b[k], v + k, 8);
    return _mm256_setr_pd(kEscalas[b[0] >> 52 & 0x7ff], kEscalas[b[1] >> 52 & 0x7ff], kEscalas[b[2] >> 52 & 0x7ff],
                          kEscalas[b[3] >> 52 & 0x7ff]);
}

// The slices of values are made in two passes over a column's block, each with a shorter
// chain of dependences than the whole: with the whole, few groups of four fit the processor's
// window at once and each waits on its own chain.
struct Escalados {
    __m128i r[kBloco / 4];       // the six digits as an integer
    __m256i x[kBloco / 4];       // the decimal exponent
    __m256i marcas[kBloco / 4];  // bytes 14 and 15 but for h: 1 and the sign, and x + 16
    int lentos[kBloco / 4];      // a bit a lane left to escreverReal
};

// Scaling and rounding of v[0..3] into group g, with their powers (potencias).
[[gnu::always_inline]] inline void escalar(const double* v, __m256d potencia, Escalados& saida, int g) {
    const __m256d valor = _mm256_loadu_pd(v);
    const __m256i bits = _mm256_castpd_si256(valor);
    const __m256d sinal = _mm256_castsi256_pd(constante(INT64_MIN));
    const __m256d a = _mm256_andnot_pd(sinal, valor);
    const __m256i e = _mm256_srli_epi64(_mm256_castpd_si256(a), 52);
    const __m256i nulo = _mm256_cmpeq_epi64(e, _mm256_setzero_si256());  // zero or subnormal
    const __m256d subnormal =
        _mm256_and_pd(_mm256_castsi256_pd(nulo), _mm256_cmp_pd(a, _mm256_setzero_pd(), _CMP_NEQ_OQ));
    potencia = _mm256_or_pd(potencia, subnormal);  // all ones: not a number

    // 10^(5 - x), and 10^(4 - x) when that reaches 1e6.
    const __m256d s0 = _mm256_mul_pd(a, _mm256_mul_pd(potencia, _mm256_set1_pd(10.0)));
    const __m256d s1 = _mm256_mul_pd(a, potencia);
    const __m256d acima = _mm256_cmp_pd(s0, _mm256_set1_pd(1e6), _CMP_GE_OQ);
    const __m256d s = _mm256_blendv_pd(s0, s1, acima);

    // Rounded to nearest; near a tie (or not a number) the lane is left to escreverReal.
    __m128i r = _mm256_cvtpd_epi32(s);
    const __m256d desvio = _mm256_andnot_pd(sinal, _mm256_sub_pd(s, _mm256_cvtepi32_pd(r)));
    const __m256i fora = _mm256_castpd_si256(_mm256_cmp_pd(desvio, _mm256_set1_pd(kForaDoEmpate), _CMP_LT_OQ));
    const __m128i potenciaSeguinte = _mm_cmpeq_epi32(r, _mm_set1_epi32(1000000));  // 999999.7
    saida.r[g] = _mm_sub_epi32(r, _mm_and_si128(potenciaSeguinte, _mm_set1_epi32(900000)));

    // x (expoenteDecimal, and the steps up); zero is laid out at x = 0.
    const __m256i x2048 = _mm256_srli_epi64(
        _mm256_add_epi64(_mm256_mul_epu32(e, constante(78913)), constante(2048 * 262144 - 1023 * 78913)), 18);
    __m256i x = _mm256_sub_epi64(_mm256_sub_epi64(x2048, constante(2048)), _mm256_castpd_si256(acima));
    x = _mm256_sub_epi64(x, _mm256_cvtepi32_epi64(potenciaSeguinte));
    x = _mm256_andnot_si256(nulo, x);
    saida.x[g] = x;
    // The exponent form below 1e-4 (above, x stays under 6: from 2^19 the lanes leave the value).
    const __m256i foraDaForma = _mm256_cmpgt_epi64(constante(-4), x);
    saida.lentos[g] =
        (~_mm256_movemask_pd(_mm256_castsi256_pd(fora)) & 15) | _mm256_movemask_pd(_mm256_castsi256_pd(foraDaForma));
    saida.marcas[g] =
        _mm256_or_si256(_mm256_and_si256(fora, _mm256_slli_epi64(_mm256_add_epi64(x, constante(16)), 56)),
                        _mm256_slli_epi64(_mm256_add_epi64(_mm256_srli_epi64(bits, 63), constante(1)), 48));
}

// The slices of group g.
[[gnu::always_inline]] inline void dispor(const Escalados& entrada, int g, Fatia* saida) {
    const __m256i x = entrada.x[g];

    // The six digits, two a 16-bit lane: r / 10000 and r / 100 by multiplying, both from r
    // (a shorter chain than one from the other), then a tenth of each pair as (pair * 103) >> 10.
    const __m256i r64 = _mm256_cvtepu32_epi64(entrada.r[g]);
    const __m256i alto = _mm256_srli_epi64(_mm256_mul_epu32(r64, constante(0xd1b71759)), 45);      // r / 10000
    const __m256i centenas = _mm256_srli_epi64(_mm256_mul_epu32(r64, constante(0x51eb851f)), 37);  // r / 100
    const __m256i meio = _mm256_sub_epi64(centenas, _mm256_mul_epu32(alto, constante(100)));
    const __m256i baixo = _mm256_sub_epi64(r64, _mm256_mul_epu32(centenas, constante(100)));
    const __m256i pares =
        _mm256_or_si256(_mm256_or_si256(alto, _mm256_slli_epi64(meio, 16)), _mm256_slli_epi64(baixo, 32));
    const __m256i dezenas = _mm256_srli_epi16(_mm256_mullo_epi16(pares, _mm256_set1_epi16(103)), 10);
    const __m256i unidades = _mm256_sub_epi16(pares, _mm256_mullo_epi16(dezenas, _mm256_set1_epi16(10)));
    const __m256i digitos = _mm256_or_si256(dezenas, _mm256_slli_epi16(unidades, 8));
    const __m256i w = _mm256_or_si256(digitos, constante(kZeros));

    // 8 h, h the last digit that is not a zero: the top set bit of the mask of such digits,
    // read from the exponent of that mask made a double (exact below 2^52). Zero: 7 in the bits
    // above the low three (the exponent field 0 less 1030).
    const __m256i naoZeros =
        _mm256_andnot_si256(_mm256_cmpeq_epi8(digitos, _mm256_setzero_si256()), constante(0xffffffffffff));
    const __m256d comoReal = _mm256_sub_pd(
        _mm256_castsi256_pd(_mm256_or_si256(naoZeros, constante(0x4330000000000000))), _mm256_set1_pd(0x1p52));
    const __m256i h8 = _mm256_sub_epi64(_mm256_srli_epi64(_mm256_castpd_si256(comoReal), 52), constante(1030));

    // x >= 0: the point after digit x. x < 0: "0.0..." (1 - x bytes) and the digits, past the
    // first word.
    const __m256i x8 = _mm256_slli_epi64(x, 3);
    const __m256i uns = constante(-1);
    const __m256i corte = _mm256_add_epi64(x8, constante(8));
    const __m256i inteira = _mm256_andnot_si256(_mm256_sllv_epi64(uns, corte), w);
    const __m256i fracao = _mm256_sllv_epi64(_mm256_srlv_epi64(w, corte), _mm256_add_epi64(corte, constante(8)));
    const __m256i comPonto =
        _mm256_or_si256(_mm256_or_si256(inteira, _mm256_sllv_epi64(constante('.'), corte)), fracao);
    const __m256i antes = _mm256_sub_epi64(constante(8), x8);
    const __m256i zeros =
        _mm256_andnot_si256(_mm256_sllv_epi64(uns, antes), constante(static_cast<std::int64_t>(kZeroPonto)));
    const __m256i soFracao = _mm256_cmpgt_epi64(_mm256_setzero_si256(), x);
    __m256i primeira = _mm256_blendv_epi8(comPonto, _mm256_or_si256(zeros, _mm256_sllv_epi64(w, antes)), soFracao);
    __m256i segunda = _mm256_and_si256(soFracao, _mm256_srlv_epi64(w, _mm256_sub_epi64(constante(64), antes)));

    // The space and the sign before: the 16 bytes shifted up by one or two.
    const __m256i marcas = entrada.marcas[g];
    const __m256i deslocamento = _mm256_and_si256(_mm256_srli_epi64(marcas, 45), constante(0x18));  // 8 or 16
    segunda = _mm256_or_si256(_mm256_sllv_epi64(segunda, deslocamento),
                              _mm256_srlv_epi64(primeira, _mm256_sub_epi64(constante(64), deslocamento)));
    primeira = _mm256_or_si256(_mm256_sllv_epi64(primeira, deslocamento),
                               _mm256_andnot_si256(_mm256_sllv_epi64(uns, deslocamento), constante(' ' | '-' << 8)));
    // Bytes 14 and 15 after at most five bytes of the text; h beside x + 16 (where that is 0,
    // kTamanhos gives 0 whatever h).
    segunda = _mm256_or_si256(_mm256_or_si256(_mm256_and_si256(segunda, constante(0xffffffffffff)), marcas),
                              _mm256_slli_epi64(_mm256_andnot_si256(constante(7), h8), 58));

    const __m256i par02 = _mm256_unpacklo_epi64(primeira, segunda);  // slices 0 and 2
    const __m256i par13 = _mm256_unpackhi_epi64(primeira, segunda);  // slices 1 and 3
    _mm256_store_si256(reinterpret_cast<__m256i*>(saida), _mm256_permute2x128_si256(par02, par13, 0x20));
    _mm256_store_si256(reinterpret_cast<__m256i*>(saida + 2), _mm256_permute2x128_si256(par02, par13, 0x31));
}

// The slices of v[0..n), n <= kBloco. Each group's powers are loaded a group ahead, off the
// chain of the group before.
void fatias(const double* v, int n, Fatia* saida) {
    const int inteiros = n / 4, grupos = (n + 3) / 4;
    alignas(32) double resto[8] = {};  // the last group's values, padded; then four zeros
    for (int k = 4 * inteiros; k < n; ++k) resto[k - 4 * inteiros] = v[k];
    auto grupo = [&](int g) { return g < inteiros ? v + 4 * g : g == inteiros ? resto : resto + 4; };
    Escalados meio;
    __m256d potencia = potencias(grupo(0));
    for (int g = 0; g < grupos; ++g) {
        const __m256d seguinte = potencias(grupo(g + 1));
        escalar(grupo(g), potencia, meio, g);
        potencia = seguinte;
    }
    alignas(32) Fatia fim[4];
    for (int g = 0; g < grupos; ++g) dispor(meio, g, g < inteiros ? saida + 4 * g : fim);
    for (int k = 4 * inteiros; k < n; ++k) saida[k] = fim[k - 4 * inteiros];
    // What the lanes left, written by escreverReal into its slice: every slice is then copied
    // alike, without a branch.
    for (int g = 0; g < grupos; ++g)
        for (int lentos = meio.lentos[g]; lentos != 0; lentos &= lentos - 1) {
            const int k = 4 * g + __builtin_ctz(lentos);
            if (k >= n) break;
            char texto[1 + kMaxTextoReal];
            texto[0] = ' ';
            const auto tamanho = static_cast<int>(escreverReal(texto + 1, v[k]) - texto);
            std::memcpy(saida[k].c, texto, 14);
            saida[k].c[14] = 0;
            saida[k].c[15] = static_cast<char>(7 << 5 | tamanho);
        }
}

// " " and the number.
inline char* copiar(char* p, const Fatia& f) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p), _mm_load_si128(reinterpret_cast<const __m128i*>(f.c)));
    return p + kTamanhos[static_cast<unsigned char>(f.c[15])] + static_cast<unsigned char>(f.c[14]);
}

// As linhasEscalares, the pointers in locals.
template <int kTrios>
char* linhas(char* p, const double* const* colunas, int nos) {
    const double* c[3 * kTrios];
    for (int k = 0; k < 3 * kTrios; ++k) c[k] = colunas[k];
    alignas(32) Fatia texto[3 * kTrios][kBloco];
    IndiceTexto indice;
    for (int inicio = 0; inicio < nos; inicio += kBloco) {
        const int n = nos - inicio < kBloco ? nos - inicio : kBloco;
        for (int j = 0; j < 3 * kTrios; ++j) fatias(c[j] + inicio, n, texto[j]);
        for (int k = 0; k < n; ++k, indice.avancar())
            for (int t = 0; t < kTrios; ++t) {
                p = indice.escrever(p) - 1;  // the slice brings the space
                p = copiar(p, texto[3 * t][k]);
                p = copiar(p, texto[3 * t + 1][k]);
                p = copiar(p, texto[3 * t + 2][k]);
                *p++ = '\n';
            }
    }
    return p;
}

}  // namespace

char* escreverLinhasAvx2(char* p, const double* const* colunas, int trios, int nos) {
    switch (trios) {
        case 1: return linhas<1>(p, colunas, nos);
        case 2: return linhas<2>(p, colunas, nos);
        case 3: return linhas<3>(p, colunas, nos);
        default: return linhas<4>(p, colunas, nos);
    }
}

}  // namespace tevra

#if defined(__clang__)
#pragma clang attribute pop
#else
#pragma GCC pop_options
#endif
