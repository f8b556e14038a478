// Reading numbers back: the direct path must give from_chars's answer, bit for bit, for
// anything a frame file can hold.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>

#include "base/leitura_real.h"
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

}  // namespace
