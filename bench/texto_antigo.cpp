// A copy of the number writer and the frame text as they were at 29e17b7, for the benchmark only.
#include "texto_antigo.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "base/numero_texto.h"

namespace tevra::antigo {

namespace {

// Exact powers of ten: every one up to 1e22 is a double without rounding.
constexpr double kPotencias[23] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                   1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// "00" to "99", each as a 16-bit word with its first character in the low byte.
constexpr std::array<std::uint16_t, 100> kPares = [] {
    std::array<std::uint16_t, 100> t{};
    for (int k = 0; k < 100; ++k) t[k] = static_cast<std::uint16_t>(('0' + k / 10) | ('0' + k % 10) << 8);
    return t;
}();

constexpr std::uint64_t kZeros = 0x303030303030ULL;          // "000000"
constexpr std::uint64_t kZeroPonto = 0x3030303030302e30ULL;  // "0.000000"

char* pelaBiblioteca(char* p, double v) {
    return std::to_chars(p, p + kMaxTextoReal, v, std::chars_format::general, 6).ptr;
}

// a * 10^k with a single rounding, for |k| <= 22: the product or quotient of two doubles
// of which the power is exact.
double escalar(double a, int k) { return k >= 0 ? a * kPotencias[k] : a / kPotencias[-k]; }

// The six digits of r (100000 to 999999) as characters, the first in the low byte. Built in a
// register: pieces stored apart and read back as one word would stall the store forwarding.
std::uint64_t seisDigitos(std::uint32_t r) {
    return std::uint64_t{kPares[r / 10000]} | std::uint64_t{kPares[r / 100 % 100]} << 16 |
           std::uint64_t{kPares[r % 100]} << 32;
}

// "%g" of the six digits w (the value d0.d1...d5 x 10^x) for -4 <= x <= 5: the point after
// digit x, or "0." and -x - 1 zeros before the digits; trailing zeros of the fraction
// dropped, and the point with them when nothing follows it. Stores whole words: the text
// and scratch, at most 16 bytes.
char* fixo(char* p, std::uint64_t w, int x) {
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

}  // namespace

char* escreverReal(char* p, double v) {
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
    // Decimal exponent x of |v|, so that |v| * 10^(5 - x) lies in [1e5, 1e6): the binary
    // exponent times log10(2) (78913 / 2^18) gives it or one less.
    int x = ((expoente - 1023) * 78913) >> 18;
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
    *p = '-';
    p += bits >> 63;
    const std::uint64_t w = seisDigitos(r);
    return x >= -4 && x <= 5 ? fixo(p, w, x) : exponencial(p, w, x);
}

std::string_view textoQuadro(const VistaQuadro& q, std::vector<char>& buffer) {
    constexpr std::size_t kMaxLinha = kMaxTextoInteiro + 2 + 3 * (kMaxTextoReal + 1) + 1;
    const std::size_t limite = static_cast<std::size_t>(q.nos) * 2 * kMaxLinha + 256;
    if (buffer.size() < limite) buffer.resize(limite);
    char* const inicio = buffer.data();
    char* p = inicio;
    auto texto = [&](const char* s) {
        const std::size_t n = std::strlen(s);
        std::memcpy(p, s, n);
        p += n;
    };
    auto linha = [&](int idx, double a, double b, double c) {
        p = std::to_chars(p, p + kMaxTextoInteiro, idx).ptr;
        *p++ = ':';
        *p++ = ' ';
        p = escreverReal(p, a);
        *p++ = ' ';
        p = escreverReal(p, b);
        *p++ = ' ';
        p = escreverReal(p, c);
        *p++ = '\n';
    };
    if (q.n == 1) {
        texto("Objeto: ");
        p = std::to_chars(p, p + kMaxTextoInteiro, q.objeto).ptr;
        texto("\n");
    }
    texto("Area: ");
    p = escreverReal(p, q.area);
    texto("\nDensidade de Massa:  ");
    p = escreverReal(p, q.densidade0);
    texto("\n");
    for (int idx = 0; idx < q.nos; ++idx) {
        linha(idx, q.pos[0][idx], q.pos[1][idx], q.pos[2][idx]);
        linha(idx, q.normal[0][idx], q.normal[1][idx], q.normal[2][idx]);
    }
    return {inicio, static_cast<std::size_t>(p - inicio)};
}

}  // namespace tevra::antigo
