#include "base/numero_texto.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

#include <emmintrin.h>

#include "base/numero_texto_tabelas.h"

namespace tevra {

using namespace texto;

namespace {

// "00" to "99", each as a 16-bit word with its first character in the low byte.
constexpr std::array<std::uint16_t, 100> kPares = [] {
    std::array<std::uint16_t, 100> t{};
    for (int k = 0; k < 100; ++k) t[k] = static_cast<std::uint16_t>(('0' + k / 10) | ('0' + k % 10) << 8);
    return t;
}();

char* pelaBiblioteca(char* p, double v) {
    return std::to_chars(p, p + kMaxTextoReal, v, std::chars_format::general, 6).ptr;
}

// a * 10^k with a single rounding, for |k| <= 22: the product or quotient of two doubles
// of which the power is exact.
double escalar(double a, int k) { return k >= 0 ? a * kPotencias[k] : a / kPotencias[-k]; }

// r to the nearest integer in the processor's rounding (to nearest, as it stands).
inline std::int32_t arredondado(double s) { return _mm_cvtsd_si32(_mm_set_sd(s)); }

// The six digits of r (100000 to 999999) as characters, the first in the low byte. Built in a
// register: pieces stored apart and read back as one word would stall the store forwarding.
inline std::uint64_t seisDigitos(std::uint32_t r) {
    return std::uint64_t{kPares[r / 10000]} | std::uint64_t{kPares[r / 100 % 100]} << 16 |
           std::uint64_t{kPares[r % 100]} << 32;
}

// "%g" of the six digits w (the value d0.d1...d5 x 10^x) for -4 <= x <= 5: the point after
// digit x, or "0." and -x - 1 zeros before the digits; trailing zeros of the fraction
// dropped, and the point with them when nothing follows it. Stores whole words: the text
// and scratch, at most 16 bytes. (The trimming loops are predicted better than a length
// computed from the digits, which would lengthen every number's chain of dependences.)
inline char* fixo(char* p, std::uint64_t w, int x) {
    if (x >= 0) {
        const int corte = 8 * (x + 1);
        const std::uint64_t baixo = w & ((std::uint64_t{1} << corte) - 1);
        const std::uint64_t palavra = baixo | (std::uint64_t{'.'} << corte) | ((w >> corte) << (corte + 8));
        std::memcpy(p, &palavra, 8);
        char* fim = p + 7;
        while (fim[-1] == '0') --fim;
        if (fim[-1] == '.') --fim;
        return fim;
    }
    std::memcpy(p, &kZeroPonto, 8);  // the zeros past 1 - x are overwritten
    p += 1 - x;
    std::memcpy(p, &w, 8);
    char* fim = p + 6;
    while (fim[-1] == '0') --fim;  // d0 is not a zero
    return fim;
}

// "%g"'s exponent form of the six digits w: d0, the point and the significant rest, "e", the
// sign and at least two digits of x.
char* exponencial(char* p, std::uint64_t w, int x) {
    const int zeros = __builtin_clzll((w ^ kZeros) << 16) >> 3;
    const std::uint64_t palavra = (w & 0xff) | std::uint64_t{'.'} << 8 | (w >> 8) << 16;
    std::memcpy(p, &palavra, 8);
    p += zeros == 5 ? 1 : 7 - zeros;
    *p++ = 'e';
    *p++ = x < 0 ? '-' : '+';
    const int e = x < 0 ? -x : x;
    if (e >= 100) *p++ = static_cast<char>('0' + e / 100);
    std::memcpy(p, &kPares[e % 100], 2);
    return p + 2;
}

// The six rounded digits r and the exponent x, as "%g" takes them, to the text.
inline char* comDigitos(char* p, bool negativo, std::uint32_t r, int x) {
    *p = '-';
    p += negativo;
    const std::uint64_t w = seisDigitos(r);
    return x >= -4 && x <= 5 ? fixo(p, w, x) : exponencial(p, w, x);
}

// Any double.
[[gnu::noinline]] char* geral(char* p, double v) {
    std::uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    const int expoente = static_cast<int>(bits >> 52 & 0x7ff);
    if (expoente == 0 && v == 0.0) {
        if (std::signbit(v)) *p++ = '-';
        *p++ = '0';
        return p;
    }
    // Subnormal, infinite or not a number.
    if (expoente == 0 || expoente == 0x7ff) return pelaBiblioteca(p, v);
    int x = expoenteDecimal(expoente);
    // Only where the scaling takes a single rounding.
    if (x < -17 || x > 26) return pelaBiblioteca(p, v);
    const double a = std::fabs(v);
    double s = escalar(a, 5 - x);
    if (s >= 1e6) {
        ++x;
        s = escalar(a, 5 - x);
    }
    // s is within 6e-11 of the exact |v| * 10^(5 - x); a fraction that close to one half
    // could round either way, and printf rounds the exact value.
    const auto inteiro = static_cast<std::uint32_t>(s);
    const double fracao = s - static_cast<double>(inteiro);
    if (fracao > 0.5 - 1e-9 && fracao < 0.5 + 1e-9) return pelaBiblioteca(p, v);
    std::uint32_t r = inteiro + (fracao > 0.5 ? 1 : 0);
    if (r < 100000) return pelaBiblioteca(p, v);
    if (r == 1000000) {  // 999999.7 rounds to the next power of ten
        r = 100000;
        ++x;
    }
    return comDigitos(p, bits >> 63, r, x);
}

// geral's steps for the values of kEscalas (1e-17 to 1e5): the range test rides on the tie
// test, and the processor's conversion rounds (the value is no tie there).
[[gnu::always_inline]] inline char* rapido(char* p, double v) {
    std::uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    const int e = static_cast<int>(bits >> 52 & 0x7ff);
    if (e == 0) return geral(p, v);  // zero or subnormal
    const double a = std::fabs(v);
    const double potencia = kEscalas[e];
    int x = expoenteDecimal(e);
    double s = a * (potencia * 10);
    if (s >= 1e6) {
        ++x;
        s = a * potencia;
    }
    auto r = static_cast<std::uint32_t>(arredondado(s));
    if (!(std::fabs(s - static_cast<double>(static_cast<std::int32_t>(r))) < kForaDoEmpate)) [[unlikely]]
        return geral(p, v);
    if (r == 1000000) {
        r = 100000;
        ++x;
    }
    return comDigitos(p, bits >> 63, r, x);
}

}  // namespace

char* escreverReal(char* p, double v) { return rapido(p, v); }

char* escreverInteiro(char* p, int v) { return std::to_chars(p, p + kMaxTextoInteiro, v).ptr; }

IndiceTexto::IndiceTexto(int inicio) {
    char t[16] = {};
    char* fim = std::to_chars(t, t + kMaxTextoInteiro, inicio).ptr;
    *fim++ = ':';
    *fim++ = ' ';
    tamanho_ = static_cast<int>(fim - t);
    std::memcpy(&baixo_, t, 8);
    std::memcpy(&alto_, t + 8, 8);
    ultimo_ = 8 * (tamanho_ - 3);
}

IndiceTexto::Texto IndiceTexto::seguinte(std::uint64_t baixo, std::uint64_t alto, int tamanho) {
    char t[16];
    std::memcpy(t, &baixo, 8);
    std::memcpy(t + 8, &alto, 8);
    int k = tamanho - 3;  // the last digit
    while (k >= 0 && t[k] == '9') t[k--] = '0';
    int igual = 1;
    if (k >= 0) {
        ++t[k];
    } else {  // 9...9 became 0...0
        std::memmove(t + 1, t, static_cast<std::size_t>(tamanho));
        t[0] = '1';
        igual = 0;
    }
    Texto r;
    std::memcpy(&r.baixo, t, 8);
    std::memcpy(&r.alto, t + 8, 8);
    r.igual = igual;
    return r;
}

namespace {

// The pointers in locals: the text's stores are of chars, which may alias anything reached
// through memory, so pointers read from the caller's array would be read again after each.
template <int kTrios>
char* linhasEscalares(char* p, const double* const* colunas, int nos) {
    const double* c[3 * kTrios];
    for (int k = 0; k < 3 * kTrios; ++k) c[k] = colunas[k];
    IndiceTexto indice;
    for (int k = 0; k < nos; ++k, indice.avancar())
        for (int t = 0; t < kTrios; ++t) {
            p = indice.escrever(p);
            p = rapido(p, c[3 * t][k]);
            *p++ = ' ';
            p = rapido(p, c[3 * t + 1][k]);
            *p++ = ' ';
            p = rapido(p, c[3 * t + 2][k]);
            *p++ = '\n';
        }
    return p;
}

}  // namespace

char* escreverLinhasEscalar(char* p, const double* const* colunas, int trios, int nos) {
    switch (trios) {
        case 1: return linhasEscalares<1>(p, colunas, nos);
        case 2: return linhasEscalares<2>(p, colunas, nos);
        case 3: return linhasEscalares<3>(p, colunas, nos);
        default: return linhasEscalares<4>(p, colunas, nos);
    }
}

bool linhasAvx2Disponivel() {
    static const bool tem = __builtin_cpu_supports("avx2");
    return tem;
}

char* escreverLinhas(char* p, const double* const* colunas, int trios, int nos) {
    return linhasAvx2Disponivel() ? escreverLinhasAvx2(p, colunas, trios, nos)
                                  : escreverLinhasEscalar(p, colunas, trios, nos);
}

}  // namespace tevra
