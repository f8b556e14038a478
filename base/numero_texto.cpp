#include "base/numero_texto.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace tevra {

namespace {

// Exact powers of ten: every one up to 1e22 is a double without rounding.
constexpr double kPotencias[23] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                   1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// "00" to "99".
constexpr char kPares[201] =
    "000102030405060708091011121314151617181920212223242526272829303132333435363738394041424344454647484950515253545556"
    "57585960616263646566676869707172737475767778798081828384858687888990919293949596979899";

char* pelaBiblioteca(char* p, double v) {
    return std::to_chars(p, p + kMaxTextoReal, v, std::chars_format::general, 6).ptr;
}

// a * 10^k with a single rounding, for |k| <= 22: the product or quotient of two doubles
// of which the power is exact.
double escalar(double a, int k) { return k >= 0 ? a * kPotencias[k] : a / kPotencias[-k]; }

// "%g" of the six digits `d` (the value d[0].d[1]...d[5] x 10^x): the fixed form for
// -4 <= x < 6, else the exponent form; trailing zeros of the fraction dropped, and the
// point with them when nothing follows it.
char* compor(char* p, const char (&d)[6], int x) {
    if (x >= 0 && x < 6) {
        // The six digits with the point after digit x, as one 8-byte store (little-endian:
        // the first character is the lowest byte); what follows the number is scratch.
        std::uint64_t w;
        std::memcpy(&w, d, 6);
        w &= 0xffffffffffffULL;
        const int corte = 8 * (x + 1);
        const std::uint64_t baixo = w & ((std::uint64_t{1} << corte) - 1);
        const std::uint64_t palavra = baixo | (std::uint64_t{'.'} << corte) | ((w >> corte) << (corte + 8));
        std::memcpy(p, &palavra, 8);
        char* fim = p + 7;
        while (fim[-1] == '0') --fim;
        if (fim[-1] == '.') --fim;
        return fim;
    }
    if (x < 0 && x >= -4) {
        std::memcpy(p, "0.000000", 8);  // the zeros past 1 - x are overwritten
        p += 1 - x;
        std::memcpy(p, d, 6);
        char* fim = p + 6;
        while (fim[-1] == '0') --fim;  // d[0] is not a zero
        return fim;
    }
    *p = d[0];
    p[1] = '.';
    std::memcpy(p + 2, d + 1, 5);
    char* fim = p + 7;
    while (fim[-1] == '0') --fim;
    if (fim[-1] == '.') --fim;
    p = fim;
    *p++ = 'e';
    *p++ = x < 0 ? '-' : '+';
    const int e = x < 0 ? -x : x;
    if (e >= 100) *p++ = static_cast<char>('0' + e / 100);
    std::memcpy(p, kPares + 2 * (e % 100), 2);
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
    char d[6];
    std::memcpy(d, kPares + 2 * (r / 10000), 2);
    std::memcpy(d + 2, kPares + 2 * (r / 100 % 100), 2);
    std::memcpy(d + 4, kPares + 2 * (r % 100), 2);
    if (v < 0) *p++ = '-';
    return compor(p, d, x);
}

char* escreverInteiro(char* p, int v) { return std::to_chars(p, p + kMaxTextoInteiro, v).ptr; }

}  // namespace tevra
