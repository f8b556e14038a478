// The number writer of the frame files: printf's "%g", byte for byte, for any double.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

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

TEST(NumeroTexto, IndiceContaComoODecimal) {
    // Every index up to a million (each 9 carried, each new digit), then across the ends of
    // the first word (eight digits) and of an int.
    auto conferir = [](IndiceTexto& indice, long de, long ate) {
        char buf[32];
        for (long k = de; k <= ate; ++k, indice.avancar()) {
            const std::string t(buf, indice.escrever(buf));
            if (t != std::to_string(k) + ": ") {
                ADD_FAILURE() << k << " written as " << t;
                return;
            }
        }
    };
    IndiceTexto zero;
    conferir(zero, 0, 1000100);
    for (long inicio : {9999990L, 99999990L, 999999990L, 2147483600L}) {
        IndiceTexto indice(static_cast<int>(inicio));
        conferir(indice, inicio, std::min(inicio + 20, 2147483647L));
    }
}

// What escreverLinhas must write: the lines by to_string and printf.
std::string linhasPeloPrintf(const std::vector<std::vector<double>>& colunas, int nos) {
    std::string s;
    for (int k = 0; k < nos; ++k)
        for (std::size_t t = 0; t < colunas.size(); t += 3) {
            s += std::to_string(k);
            s += ':';
            for (std::size_t c = t; c < t + 3; ++c) {
                s += ' ';
                s += printf_g(colunas[c][k]);
            }
            s += '\n';
        }
    return s;
}

// The lines of both builds (the four-lane one where this processor runs it) against printf.
void conferirLinhas(const std::vector<std::vector<double>>& colunas, int nos) {
    std::vector<const double*> p;
    for (const auto& c : colunas) p.push_back(c.data());
    const int trios = static_cast<int>(colunas.size() / 3);
    const std::string esperado = linhasPeloPrintf(colunas, nos);
    std::vector<char> buf(static_cast<std::size_t>(nos) * trios * kMaxLinha + kMaxTextoReal);
    for (bool avx2 : {false, true}) {
        if (avx2 && !linhasAvx2Disponivel()) continue;
        char* fim = (avx2 ? escreverLinhasAvx2 : escreverLinhasEscalar)(buf.data(), p.data(), trios, nos);
        const std::string escrito(buf.data(), fim);
        if (escrito == esperado) continue;
        std::size_t k = 0;
        while (k < escrito.size() && k < esperado.size() && escrito[k] == esperado[k]) ++k;
        const std::size_t linha = esperado.rfind('\n', k) + 1;
        ADD_FAILURE() << (avx2 ? "avx2" : "scalar") << ", " << trios << " trios, " << nos
                      << " nodes: " << escrito.substr(linha, escrito.find('\n', linha) - linha) << " instead of "
                      << esperado.substr(linha, esperado.find('\n', linha) - linha);
    }
}

TEST(NumeroTexto, LinhasComoOPrintfEmTodasAsClassesDeValores) {
    std::mt19937_64 g(11);
    auto u = [&](double a, double b) { return std::uniform_real_distribution<double>(a, b)(g); };
    const double inf = std::numeric_limits<double>::infinity();
    // The borders: the forms' ends, ties and their neighbours, zeros, the non-finite.
    const std::vector<double> bordas = {
        0.0,           -0.0,      1e-5,         1e-4,     9.99995e-5, 9.9999949e-5, 999999.5, 999999.4999, 1e6,
        0.99999949999, 0.9999995, 9.9999995,    123456.5, 0.1234565,  1e100,        -1e-100,  4.9e-324,    -2.2e-308,
        inf,           -inf,      std::nan(""), 1e5,      99999.95,   0.5,          -16};
    // Block sizes about the writer's groups of four and blocks of 64 nodes.
    for (int nos : {1, 3, 4, 5, 63, 64, 65, 131, 600}) {
        for (int trios = 1; trios <= 4; ++trios) {
            std::vector<std::vector<double>> colunas(3 * trios, std::vector<double>(nos));
            for (auto& c : colunas)
                for (double& v : c) {
                    switch (g() % 6) {
                        case 0: {  // any bit pattern: every exponent
                            const std::uint64_t bits = g();
                            std::memcpy(&v, &bits, sizeof v);
                            break;
                        }
                        case 1: v = u(-1, 1) * std::pow(10.0, static_cast<int>(g() % 50) - 25); break;
                        case 2: {  // a hair from a tie
                            const double empate = (static_cast<double>(g() % 900000 + 100000) * 10 + 5) *
                                                  std::pow(10.0, static_cast<int>(g() % 44) - 28);
                            v = std::nextafter(empate, g() % 2 ? 0.0 : 1e300);
                            break;
                        }
                        case 3: v = bordas[g() % bordas.size()]; break;
                        case 4: v = std::nextafter(bordas[g() % bordas.size()], g() % 2 ? -inf : inf); break;
                        default: v = u(-3, 3);  // coordinates and normals
                    }
                }
            conferirLinhas(colunas, nos);
        }
    }
}

TEST(NumeroTexto, LinhasComTodosOsSeisDigitos) {
    // Every six-digit integer, scaled by one of twelve powers of ten (the fixed form's ten
    // layouts and the exponent form), some negative: every digit pattern and count of trailing
    // zeros, each layout with all of them.
    std::vector<std::vector<double>> colunas(3);
    for (int r = 100000; r < 1000000; ++r) {
        const int k = r % 12;
        colunas[r % 3].push_back((r % 7 == 0 ? -r : r) * std::pow(10.0, -k));
    }
    const int nos = static_cast<int>(colunas[2].size());
    conferirLinhas(colunas, nos);
}

}  // namespace
