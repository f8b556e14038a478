#include "base/texto_imprimivel.h"

namespace tevra {

namespace {

bool continuacao(unsigned char c) { return (c & 0xC0) == 0x80; }

// Length of the well-formed, printable UTF-8 sequence at s[k] (1 for printable ASCII); 0 for
// a byte that has to be escaped.
std::size_t sequencia(std::string_view s, std::size_t k) {
    const auto c = static_cast<unsigned char>(s[k]);
    if (c >= 0x20 && c < 0x7F) return 1;
    std::size_t n = 0;
    unsigned char min2 = 0x80, max2 = 0xBF;  // the range of the second byte
    if (c >= 0xC2 && c <= 0xDF) {
        n = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
        n = 3;
        if (c == 0xE0) min2 = 0xA0;  // no overlong forms
        if (c == 0xED) max2 = 0x9F;  // no surrogates
    } else if (c >= 0xF0 && c <= 0xF4) {
        n = 4;
        if (c == 0xF0) min2 = 0x90;
        if (c == 0xF4) max2 = 0x8F;  // nothing above U+10FFFF
    } else {
        return 0;
    }
    if (k + n > s.size()) return 0;
    const auto c2 = static_cast<unsigned char>(s[k + 1]);
    if (c2 < min2 || c2 > max2) return 0;
    for (std::size_t m = 2; m < n; ++m)
        if (!continuacao(static_cast<unsigned char>(s[k + m]))) return 0;
    if (c == 0xC2 && c2 < 0xA0) return 0;  // U+0080 to U+009F: the C1 controls
    return n;
}

}  // namespace

std::string textoImprimivel(std::string_view s) {
    static const char hex[] = "0123456789ABCDEF";
    std::string r;
    r.reserve(s.size());
    for (std::size_t k = 0; k < s.size();) {
        if (const std::size_t n = sequencia(s, k)) {
            r.append(s, k, n);
            k += n;
            continue;
        }
        const auto c = static_cast<unsigned char>(s[k++]);
        r += "\\x";
        r += hex[c >> 4];
        r += hex[c & 0xF];
    }
    return r;
}

}  // namespace tevra
