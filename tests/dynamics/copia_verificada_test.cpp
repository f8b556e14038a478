// The frame copy handed to the writer thread: every bit copied, wherever the arrays start,
// and a value that is not finite found wherever it stands (the streamed middle, the
// aligning head, the odd tail).
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "dynamics/copia_verificada.h"

using namespace tevra;

namespace {

std::vector<double> valores(std::size_t n) {
    std::vector<double> v(n);
    for (std::size_t k = 0; k < n; ++k) v[k] = std::ldexp(1.0 + 0.001 * static_cast<double>(k), static_cast<int>(k % 2000) - 1000);
    if (n > 3) {
        v[1] = -0.0;
        v[2] = std::numeric_limits<double>::denorm_min();
        v[3] = -std::numeric_limits<double>::max();
    }
    return v;
}

// Bit for bit; memcmp is not for the null data() of an empty vector.
bool mesmosBits(const double* a, const double* b, std::size_t n) {
    return n == 0 || std::memcmp(a, b, n * sizeof(double)) == 0;
}

TEST(CopiaVerificada, CopiaCadaBitEmQualquerAlinhamento) {
    for (std::size_t n : {0u, 1u, 2u, 3u, 17u, 1000u, 1001u})
        for (std::size_t desvio : {0u, 1u}) {
            const std::vector<double> de = valores(n);
            std::vector<double> espaco(n + 2, 7.0);
            double* para = espaco.data() + desvio;
            EXPECT_FALSE(copiarVerificando(de.data(), para, n)) << n;
            EXPECT_TRUE(mesmosBits(de.data(), para, n)) << n << " from " << desvio;
            EXPECT_EQ(para[n], 7.0) << "nothing written past the end";

            std::vector<double> outra(n + 2, 7.0);
            copiarParaOutroNucleo(de.data(), outra.data() + desvio, n);
            EXPECT_TRUE(mesmosBits(de.data(), outra.data() + desvio, n));
        }
}

TEST(CopiaVerificada, AchaInfinitoOuNanEmQualquerPosicao) {
    const double ruins[] = {std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
                            std::numeric_limits<double>::quiet_NaN(), -std::numeric_limits<double>::quiet_NaN()};
    for (std::size_t n : {1u, 2u, 5u, 64u, 65u})
        for (std::size_t desvio : {0u, 1u})
            for (std::size_t onde = 0; onde < n; ++onde)
                for (double ruim : ruins) {
                    std::vector<double> de = valores(n);
                    de[onde] = ruim;
                    std::vector<double> espaco(n + 1);
                    EXPECT_TRUE(copiarVerificando(de.data(), espaco.data() + desvio, n))
                        << ruim << " at " << onde << " of " << n << ", offset " << desvio;
                    EXPECT_TRUE(mesmosBits(de.data(), espaco.data() + desvio, n));
                }
}

}  // namespace
