#include "base/conversao.h"

#include <cctype>
#include <charconv>

#include "base/texto_imprimivel.h"

namespace tevra {

namespace {

std::string_view aparar(std::string_view s) {
    auto branco = [](char c) { return c == ' ' || c == '\t'; };
    while (!s.empty() && branco(s.front())) s.remove_prefix(1);
    while (!s.empty() && branco(s.back())) s.remove_suffix(1);
    return s;
}

bool digito(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::optional<int> paraInteiro(std::string_view texto) {
    std::string_view s = aparar(texto);
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    if (s.empty()) return std::nullopt;
    const std::size_t inicioDigitos = (s.front() == '-') ? 1 : 0;
    if (inicioDigitos == s.size()) return std::nullopt;
    for (std::size_t k = inicioDigitos; k < s.size(); ++k)
        if (!digito(s[k])) return std::nullopt;
    int v = 0;
    auto r = std::from_chars(s.data(), s.data() + s.size(), v);
    if (r.ec != std::errc() || r.ptr != s.data() + s.size()) return std::nullopt;
    return v;
}

std::optional<double> paraReal(std::string_view texto, char separador) {
    std::string_view s = aparar(texto);
    std::string limpo;
    limpo.reserve(s.size());
    std::size_t k = 0;
    if (k < s.size() && (s[k] == '+' || s[k] == '-')) {
        if (s[k] == '-') limpo.push_back('-');
        ++k;
    }
    int digitosMantissa = 0;
    while (k < s.size() && digito(s[k])) {
        limpo.push_back(s[k++]);
        ++digitosMantissa;
    }
    if (k < s.size() && s[k] == separador) {
        limpo.push_back('.');
        ++k;
        while (k < s.size() && digito(s[k])) {
            limpo.push_back(s[k++]);
            ++digitosMantissa;
        }
    }
    if (digitosMantissa == 0) return std::nullopt;
    if (k < s.size() && (s[k] == 'e' || s[k] == 'E')) {
        limpo.push_back('e');
        ++k;
        if (k < s.size() && (s[k] == '+' || s[k] == '-')) limpo.push_back(s[k++]);
        int digitosExpoente = 0;
        while (k < s.size() && digito(s[k])) {
            limpo.push_back(s[k++]);
            ++digitosExpoente;
        }
        if (digitosExpoente == 0) return std::nullopt;
    }
    if (k != s.size()) return std::nullopt;
    double v = 0.0;
    auto r = std::from_chars(limpo.data(), limpo.data() + limpo.size(), v);
    if (r.ec != std::errc() || r.ptr != limpo.data() + limpo.size()) return std::nullopt;
    return v;
}

namespace {

std::string entreAspas(std::string_view texto, std::string_view resto) {
    std::string r;
    r.reserve(texto.size() + resto.size() + 2);
    r.push_back('\'');
    r.append(textoImprimivel(texto));
    r.push_back('\'');
    r.append(resto);
    return r;
}

}  // namespace

std::string mensagemInteiroInvalido(std::string_view texto) {
    return entreAspas(texto, " is not a valid integer value");
}

std::string mensagemRealInvalido(std::string_view texto) {
    return entreAspas(texto, " is not a valid floating point value");
}

}  // namespace tevra
