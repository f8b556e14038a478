#include "base/leitura_real_curta.h"

namespace tevra {

namespace {

constexpr std::uint64_t kPotenciasInteiras[9] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000};

inline bool digito(char c) { return static_cast<unsigned>(c - '0') < 10; }

}  // namespace

bool lerRealCurtoLongo(const char* ini, const char* fim, double& v) {
    using namespace real_curto;
    const auto l = static_cast<unsigned>(fim - ini);
    const unsigned negativo = *ini == '-';
    if (l > 16 || l == negativo) return false;
    const BitsNumero bits = bitsNumero(ini);
    const unsigned alem = 1u << l;
    const unsigned corpo = (alem - 1) & ~negativo;
    // The mantissa: from after the sign to the first byte that is neither digit nor point.
    const unsigned fimMantissa = static_cast<unsigned>(__builtin_ctz((~(bits.digitos | bits.pontos) & corpo) | alem));
    const unsigned mantissa = ((1u << fimMantissa) - 1) & ~negativo;
    const unsigned pontos = ~bits.digitos & mantissa;
    // One point at most, with a digit either side.
    if (fimMantissa == negativo || (pontos & (pontos - 1)) != 0 ||
        (pontos & ((negativo + 1) | (1u << fimMantissa) >> 1)) != 0)
        return false;
    const unsigned ponto = static_cast<unsigned>(__builtin_ctz(pontos | 1u << fimMantissa));
    const unsigned inteiros = ponto - negativo;
    const unsigned bytes = fimMantissa - negativo;
    const unsigned digitos = bytes - (pontos != 0);
    if (digitos > 15) return false;
    int expoente = pontos != 0 ? -static_cast<int>(fimMantissa - 1 - ponto) : 0;
    if (fimMantissa != l) {
        const char* p = ini + fimMantissa;
        if ((*p | 0x20) != 'e') return false;
        ++p;
        const bool abaixo = p != fim && *p == '-';
        p += p != fim && (*p == '-' || *p == '+');
        if (p == fim || fim - p > 3) return false;
        int e = 0;
        for (; p != fim; ++p) {
            if (!digito(*p)) return false;
            e = e * 10 + (*p - '0');
        }
        expoente += abaixo ? -e : e;
    }
    if (expoente < -22 || expoente > 22) return false;
    // The mantissa's 16 bytes as two words, the point taken out (the bytes after it move
    // down one, across the words), the digits then read right-aligned.
    const char* q = ini + negativo;
    const std::uint64_t a = (palavra(q) ^ emTodos('0')) & kPrimeiros[bytes < 8 ? bytes : 8];
    const std::uint64_t b = (palavra(q + 8) ^ emTodos('0')) & kPrimeiros[bytes > 8 ? bytes - 8 : 0];
    const std::uint64_t depoisA = ~kPrimeiros[inteiros < 8 ? inteiros : 8];
    const std::uint64_t depoisB = ~kPrimeiros[inteiros > 8 ? inteiros - 8 : 0];
    const std::uint64_t a2 = a ^ ((a ^ (a >> 8 | b << 56)) & depoisA);
    const std::uint64_t b2 = b ^ ((b ^ (b >> 8)) & depoisB);
    const unsigned primeiros = digitos < 8 ? digitos : 8;
    const unsigned resto = digitos - primeiros;
    std::uint64_t m = oitoDigitos(a2 << (8 * (8 - primeiros)));
    if (resto > 0) m = m * kPotenciasInteiras[resto] + oitoDigitos(b2 << (8 * (8 - resto)));
    // m < 1e15 < 2^53 and 10^|expoente| <= 1e22: both exact, one rounding.
    const double d = static_cast<double>(m);
    const double r = expoente >= 0 ? d * kDivisores[0][expoente] : d / kDivisores[0][-expoente];
    v = negativo ? -r : r;
    return true;
}

}  // namespace tevra
