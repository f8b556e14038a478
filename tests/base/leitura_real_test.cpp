// Reading numbers back: the direct paths must give from_chars's answer, bit for bit, for
// anything a frame file can hold, and the short ones must take every form the writer makes.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <algorithm>
#include <bit>
#include <cstdio>
#include <random>
#include <string>

#include <sys/mman.h>
#include <unistd.h>

#include "base/leitura_real.h"
#include "base/leitura_real_curta.h"
#include "base/numero_texto.h"

using namespace tevra;

namespace {

// Counts the texts where lerReal and from_chars disagree, in the answer or in the bits.
struct Comparador {
    long casos = 0;
    long erros = 0;
    void operator()(const std::string& t) {
        ++casos;
        double a = 0, b = 0;
        const bool okA = lerReal(t.data(), t.data() + t.size(), a);
        const auto r = std::from_chars(t.data(), t.data() + t.size(), b, std::chars_format::general);
        const bool okB = r.ec == std::errc() && r.ptr == t.data() + t.size();
        std::uint64_t ba, bb;
        std::memcpy(&ba, &a, 8);
        std::memcpy(&bb, &b, 8);
        if ((okA != okB || (okA && ba != bb)) && ++erros <= 10)
            ADD_FAILURE() << "\"" << t << "\": " << okA << " " << std::hexfloat << a << " against " << okB << " " << b;
    }
};

TEST(LeituraReal, ComoOFromCharsNoQueOEscritorEscreve) {
    std::mt19937_64 g(11);
    Comparador comparar;
    char buf[64];
    auto escrito = [&](double v) { return std::string(buf, escreverReal(buf, v)); };
    for (int k = 0; k < 300000; ++k) {
        std::uint64_t bits = g();
        double v;
        std::memcpy(&v, &bits, 8);
        comparar(escrito(v));
        comparar(escrito(std::uniform_real_distribution<double>(-1, 1)(g) * std::pow(10.0, static_cast<int>(g() % 60) - 30)));
        comparar(escrito(static_cast<double>(static_cast<int>(g() % 2001) - 1000)));
    }
    EXPECT_EQ(comparar.erros, 0) << "of " << comparar.casos;
}

TEST(LeituraReal, ComoOFromCharsEmTextosDeTodaForma) {
    Comparador comparar;
    for (const char* t : {"0", "-0", "0.0", "-0.000", "1", "-1", "+1", "1.", ".5", "-.5", "1e5", "1E5", "1e+05", "1e-05",
                          "1e", "1e+", "e5", "-", "", ".", "--1", "1.2.3", "1e5e5", "inf", "-inf", "nan", "infinity",
                          "0x1p3", "1e400", "1e-400", "4.94066e-324", "2.2250738585072014e-308", "9007199254740993",
                          "9007199254740992", "123456789012345678901234567890", "0.1", "0.30000000000000004",
                          "1e22", "1e23", "1e-22", "1e-23", "00000000000000000000000001", "1.00000000000000000000001",
                          "12345678901234567890", "1234567890123456789", "1 ", " 1", "1x", "1e0000000000000000005"})
        comparar(t);
    // Random texts of the forms a number takes, and of digits, points and signs anywhere.
    std::mt19937_64 g(12);
    const std::string letras = "0123456789.-+eE";
    for (int k = 0; k < 300000; ++k) {
        std::string t;
        if (g() % 2) {
            t += g() % 3 == 0 ? "-" : "";
            for (int d = static_cast<int>(g() % 22); d >= 0; --d) t += static_cast<char>('0' + g() % 10);
            if (g() % 2) {
                t += '.';
                for (int d = static_cast<int>(g() % 22); d >= 0; --d) t += static_cast<char>('0' + g() % 10);
            }
            if (g() % 2) {
                t += g() % 2 ? "e-" : "e+";
                t += std::to_string(g() % 40);
            }
        } else {
            for (int d = static_cast<int>(g() % 8); d >= 0; --d) t += letras[g() % letras.size()];
        }
        comparar(t);
    }
    EXPECT_EQ(comparar.erros, 0) << "of " << comparar.casos;
}

// The short readers as lerReal's callers see them: false, or the value of the whole text.
bool pelaFracao(const char* ini, const char* fim, double& v) {
    double n, d;
    if (!fracaoCurta(ini, fim, n, d)) return false;
    v = n / d;
    return true;
}
bool pelasPalavras(const char* ini, const char* fim, double& v) {
    double n, d;
    if (!fracaoCurtaPalavras(ini, fim, n, d)) return false;
    v = n / d;
    return true;
}
using Leitor = bool (*)(const char*, const char*, double&);
constexpr Leitor kCurtos[] = {pelaFracao, pelasPalavras, lerRealCurtoLongo, lerRealCurto};

// Where the short readers part from from_chars: a text they take must be one from_chars takes
// whole, with the same bits. Digits follow the text in its buffer, so that a reader that
// looks past the end reads another number.
struct ComparadorCurto {
    long casos = 0;
    long erros = 0;
    long aceitos[4] = {};
    void operator()(const std::string& t) {
        ++casos;
        char buf[64];
        std::memset(buf, '7', sizeof buf);
        std::memcpy(buf, t.data(), std::min(t.size(), sizeof buf - kAlcanceRealCurto));
        const char* fim = buf + std::min(t.size(), sizeof buf - kAlcanceRealCurto);
        double b = 0;
        const auto r = std::from_chars(buf, fim, b, std::chars_format::general);
        const bool okB = r.ec == std::errc() && r.ptr == fim;
        for (int k = 0; k < 4; ++k) {
            double a = 0;
            if (!kCurtos[k](buf, fim, a)) continue;
            ++aceitos[k];
            if ((!okB || std::bit_cast<std::uint64_t>(a) != std::bit_cast<std::uint64_t>(b)) && ++erros <= 10)
                ADD_FAILURE() << "reader " << k << " on \"" << t << "\": " << std::hexfloat << a << " against " << okB << " " << b;
        }
    }
};

TEST(LeituraReal, CurtosComoOFromChars) {
    ComparadorCurto comparar;
    for (const char* t : {"0", "-0", "0.0", "-0.000", "1", "-1", "+1", "1.", ".5", "-.5", "-", "", ".", "--1", "-+1", "1.2.3",
                          "1e", "1e+", "1e-", "e5", "1e5e5", "1E5", "1e+05", "-2.5e+10", "1e-07", "1e22", "1e23", "1e-22",
                          "1.5e-22", "1e400", "1e-400", "1e999", "1e0000000000000000005", "1e0005", "nan", "inf", "0x10",
                          "1,5", "- 1", "007", "00.5", "0000000000000001", "000000000000000001", "1234567890123456",
                          "123456789012345", "0.123456789012345", "0.1234567890123456", "12345678", "123456789",
                          "12345678901234567890", "9007199254740993", "0.000123457", "-0.00123457", "1234567.8",
                          "0.0000000000000001", "99999999", "-99999999.", "\xb1", "1\x80", "\x80\x80"})
        comparar(t);
    // Random texts of the forms a number takes, and of digits, points and signs anywhere.
    std::mt19937_64 g(13);
    const std::string letras = "0123456789.-+eE";
    for (int k = 0; k < 200000; ++k) {
        std::string t = g() % 3 == 0 ? "-" : "";
        if (g() % 2) {
            for (int d = static_cast<int>(g() % 12); d >= 0; --d) t += static_cast<char>('0' + g() % 10);
            if (g() % 2) {
                const std::size_t onde = 1 + g() % t.size();
                t = t.substr(0, onde) + "." + t.substr(onde);
            }
            if (g() % 3 == 0) t += (g() % 2 ? "e-" : "e+") + std::to_string(g() % 40);
        } else {
            for (int d = static_cast<int>(g() % 10); d >= 0; --d) t += letras[g() % letras.size()];
        }
        comparar(t);
    }
    EXPECT_EQ(comparar.erros, 0) << "of " << comparar.casos;
}

TEST(LeituraReal, CurtosLeemTodaFormaDoEscritor) {
    // printf's "%g" of doubles of every decimal exponent: the same bits as from_chars, and
    // none left to lerReal within exponents -17 .. 22; the vector path takes every fixed form.
    ComparadorCurto comparar;
    std::mt19937_64 g(14);
    char buf[64];
    for (int x = -40; x <= 40; ++x)
        for (int k = 0; k < 3000; ++k) {
            const double v = (g() % 2 ? -1 : 1) * std::uniform_real_distribution<double>(1, 10)(g) * std::pow(10.0, x);
            const std::string t(buf, static_cast<std::size_t>(std::snprintf(buf, sizeof buf, "%g", v)));
            const long antes[4] = {comparar.aceitos[0], comparar.aceitos[1], comparar.aceitos[2], comparar.aceitos[3]};
            comparar(t);
            const bool fixo = t.find('e') == std::string::npos;
            if (x >= -17 && x <= 22) {
                EXPECT_EQ(comparar.aceitos[3], antes[3] + 1) << t;
            }
#if defined(__SSE2__)
            if (fixo) {
                EXPECT_EQ(comparar.aceitos[0], antes[0] + 1) << t;
            }
#endif
            if (fixo && t.size() - (v < 0) <= 8) {
                EXPECT_EQ(comparar.aceitos[1], antes[1] + 1) << t;
            }
        }
    for (int k = -1000; k <= 1000; ++k) comparar(std::to_string(k));
    EXPECT_EQ(comparar.erros, 0) << "of " << comparar.casos;
}

TEST(LeituraReal, CurtosNaoLeemAlemDoSeuAlcance) {
    // A text whose reach ends at a page that may not be read: whatever it holds, no reader
    // may touch that page.
    const long pagina = ::sysconf(_SC_PAGESIZE);
    void* mem = ::mmap(nullptr, 2 * pagina, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    ASSERT_NE(mem, MAP_FAILED);
    char* guarda = static_cast<char*>(mem) + pagina;
    ASSERT_EQ(::mprotect(guarda, pagina, PROT_NONE), 0);
    char* ini = guarda - kAlcanceRealCurto;
    for (const char* t : {"-0.410244", "-0.00123457", "1.23457e-05", "-12345678901234.5", "7", "-"}) {
        for (char recheio : {'1', '.', ' ', 'e'}) {
            std::memset(ini, recheio, kAlcanceRealCurto);
            std::memcpy(ini, t, std::strlen(t));
            for (const char* fim : {ini + std::strlen(t), guarda}) {
                double v;
                for (Leitor ler : kCurtos) ler(ini, fim, v);
            }
        }
    }
    ::munmap(mem, 2 * pagina);
}

#if defined(__SSE2__)
TEST(LeituraReal, BitsDosNumerosIguaisNasPalavrasENosVetores) {
    std::mt19937_64 g(15);
    const char alfabeto[] = "0123456789.-+eE /:\x80\xff\x2f\x3a";
    char buf[16];
    for (int k = 0; k < 100000; ++k) {
        for (char& c : buf) c = k % 2 ? static_cast<char>(g()) : alfabeto[g() % (sizeof alfabeto - 1)];
        const real_curto::BitsNumero a = real_curto::bitsNumeroPalavras(buf);
        const real_curto::BitsNumero b = real_curto::bitsNumeroVetor(buf);
        ASSERT_EQ(a.digitos, b.digitos) << k;
        ASSERT_EQ(a.pontos, b.pontos) << k;
    }
}
#endif

}  // namespace
