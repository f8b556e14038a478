// The number writer of the frame files: printf's "%g", byte for byte, for any double.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include "base/numero_texto.h"

using namespace tevra;

namespace {

std::string escrito(double v) {
    char buf[64];
    std::memset(buf, '#', sizeof buf);
    char* fim = escreverReal(buf, v);
    EXPECT_LE(fim - buf, kMaxTextoReal);
    return std::string(buf, fim);
}

std::string printf_g(double v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%g", v);
    return buf;
}

// Counts the mismatches and shows the first few.
struct Comparador {
    long casos = 0;
    long erros = 0;
    void operator()(double v) {
        ++casos;
        const std::string a = escrito(v), b = printf_g(v);
        if (a != b && ++erros <= 10) ADD_FAILURE() << std::hexfloat << v << ": " << a << " instead of " << b;
    }
};

TEST(NumeroTexto, ComoOPrintfNosCasosDeBorda) {
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        double v;
        const char* texto;
    } casos[] = {
        {0.0, "0"},
        {-0.0, "-0"},
        {0.5, "0.5"},
        {1e-5, "1e-05"},
        {100, "100"},
        {-1.0 / 3, "-0.333333"},
        {1e-4, "0.0001"},
        {123456, "123456"},
        {1234567, "1.23457e+06"},
        {999999.5, "1e+06"},
        {999999.4, "999999"},
        {0.00012345, "0.00012345"},
        {9.9999996e-5, "0.0001"},
        {2.5e-10, "2.5e-10"},
        {-2.5e+10, "-2.5e+10"},
        {1e100, "1e+100"},
        {1e-300, "1e-300"},
        {inf, "inf"},
        {-inf, "-inf"},
        {4.9e-324, "4.94066e-324"},
        {1.0000005, "1"},
        {1.23456789, "1.23457"},
        {0.1, "0.1"},
        {16, "16"},
    };
    for (const auto& c : casos) {
        EXPECT_EQ(escrito(c.v), c.texto) << std::hexfloat << c.v;
        EXPECT_EQ(printf_g(c.v), c.texto) << "the table itself";
    }
    EXPECT_EQ(escrito(std::nan("")), printf_g(std::nan("")));
}

TEST(NumeroTexto, ComoOPrintfEmMilhoesDeValores) {
    std::mt19937_64 g(8);
    Comparador comparar;
    auto u = [&](double a, double b) { return std::uniform_real_distribution<double>(a, b)(g); };
    for (int k = 0; k < 400000; ++k) {
        // Any bit pattern: every exponent, subnormals, infinities, NaNs.
        const std::uint64_t bits = g();
        double v;
        std::memcpy(&v, &bits, sizeof v);
        comparar(v);
        // What frames are made of: coordinates and normals of every size.
        comparar(u(-1, 1) * std::pow(10.0, static_cast<int>(g() % 50) - 25));
        // Six digits and a 5 after them, and the doubles on both sides: the rounding ties.
        const double empate =
            (static_cast<double>(g() % 900000 + 100000) * 10 + 5) * std::pow(10.0, static_cast<int>(g() % 44) - 28);
        comparar(empate);
        comparar(std::nextafter(empate, 0.0));
        comparar(-std::nextafter(empate, 1e300));
        // Round numbers and their neighbours: where the exponent changes.
        const double redondo = static_cast<double>(g() % 2000001) * std::pow(10.0, static_cast<int>(g() % 40) - 20);
        comparar(redondo);
        comparar(std::nextafter(redondo, 0.0));
        comparar(std::nextafter(redondo, 1e300));
    }
    EXPECT_EQ(comparar.erros, 0) << "of " << comparar.casos;
}

TEST(NumeroTexto, InteirosComSinal) {
    char buf[32];
    for (int v : {0, 7, -7, 10, 2147483647, -2147483647 - 1, 123456789}) {
        const std::string t(buf, escreverInteiro(buf, v));
        EXPECT_EQ(t, std::to_string(v));
        EXPECT_LE(t.size(), static_cast<std::size_t>(kMaxTextoInteiro));
    }
}

}  // namespace
