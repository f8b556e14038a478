#include "base/leitura_real.h"

#include <charconv>
#include <cstdint>

namespace tevra {

namespace {

// Exact powers of ten: every one up to 1e22 is a double without rounding.
constexpr double kPotencias[23] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                   1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

constexpr std::uint64_t kMaxExato = std::uint64_t{1} << 53;

inline bool digito(char c) { return static_cast<unsigned>(c - '0') < 10; }

bool pelaBiblioteca(const char* ini, const char* fim, double& v) {
    double lido;
    const auto r = std::from_chars(ini, fim, lido, std::chars_format::general);
    if (r.ec != std::errc() || r.ptr != fim) return false;
    v = lido;
    return true;
}

}  // namespace

bool lerReal(const char* ini, const char* fim, double& v) {
    const char* p = ini;
    const bool negativo = p != fim && *p == '-';
    p += negativo;
    // Only the plain forms: a digit before the point and one after it when there is a
    // point; anything else goes to the library.
    if (p == fim || !digito(*p)) return pelaBiblioteca(ini, fim, v);
    std::uint64_t m = 0;
    int significativos = 0;
    int expoente = 0;
    for (; p != fim && digito(*p); ++p) {
        if (m == 0 && *p == '0') continue;
        if (++significativos > 19) return pelaBiblioteca(ini, fim, v);
        m = m * 10 + static_cast<unsigned>(*p - '0');
    }
    if (p != fim && *p == '.') {
        if (++p == fim || !digito(*p)) return pelaBiblioteca(ini, fim, v);
        for (; p != fim && digito(*p); ++p, --expoente) {
            if (m == 0 && *p == '0') continue;
            if (++significativos > 19) return pelaBiblioteca(ini, fim, v);
            m = m * 10 + static_cast<unsigned>(*p - '0');
        }
    }
    if (p != fim && (*p == 'e' || *p == 'E')) {
        ++p;
        const bool abaixo = p != fim && *p == '-';
        if (p != fim && (*p == '-' || *p == '+')) ++p;
        if (p == fim || !digito(*p)) return pelaBiblioteca(ini, fim, v);
        int e = 0;
        for (; p != fim && digito(*p); ++p)
            if (e < 1000) e = e * 10 + (*p - '0');
        expoente += abaixo ? -e : e;
    }
    if (p != fim || m > kMaxExato || expoente < -22 || expoente > 22) return pelaBiblioteca(ini, fim, v);
    // Both factors exact, so one rounding: the correctly rounded value, as the library's.
    const double d = static_cast<double>(m);
    const double r = expoente >= 0 ? d * kPotencias[expoente] : d / kPotencias[-expoente];
    v = negativo ? -r : r;
    return true;
}

}  // namespace tevra
