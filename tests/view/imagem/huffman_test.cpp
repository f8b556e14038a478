// Prefix codes from symbol counts: complete, within the length limit, shorter codes for
// more frequent symbols, and the canonical codes a deflate decoder rebuilds from the lengths.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "view/imagem/huffman.h"

using namespace tevra;

namespace {

// Kraft's sum in units of 2^-15: exactly 2^15 for a complete code.
std::uint32_t kraft(const std::vector<std::uint8_t>& l) {
    std::uint32_t s = 0;
    for (const auto v : l)
        if (v) s += 1u << (15 - v);
    return s;
}

std::vector<std::uint8_t> comprimentos(const std::vector<std::uint32_t>& contagens, int limite) {
    std::vector<std::uint8_t> l(contagens.size());
    comprimentosHuffman(contagens, limite, l);
    return l;
}

TEST(Huffman, CodigoOtimoCompletoEOrdenado) {
    EXPECT_EQ(comprimentos({1, 1, 2, 4}, 15), (std::vector<std::uint8_t>{3, 3, 2, 1}));
    EXPECT_EQ(comprimentos({5, 0, 5, 0}, 15), (std::vector<std::uint8_t>{1, 0, 1, 0}));

    std::mt19937 gerador(7);
    for (int rodada = 0; rodada < 200; ++rodada) {
        const int n = 2 + static_cast<int>(gerador() % 287);
        std::vector<std::uint32_t> c(n);
        for (auto& v : c) v = gerador() % 3 == 0 ? 0 : gerador() % (1u << (gerador() % 20));
        const auto l = comprimentos(c, 15);
        int usados = 0;
        for (int s = 0; s < n; ++s) {
            ASSERT_EQ(l[s] != 0, c[s] != 0) << s;
            usados += c[s] != 0;
        }
        if (usados >= 2) {
            EXPECT_EQ(kraft(l), 1u << 15) << rodada;
        }
        for (int s = 0; s < n; ++s)
            for (int t = 0; t < n; ++t) {
                if (c[s] && c[t] && c[s] > c[t]) {
                    ASSERT_LE(l[s], l[t]) << s << " " << t;
                }
            }
    }
}

TEST(Huffman, LimiteDeComprimento) {
    // Fibonacci counts make a tree as deep as there are symbols.
    std::vector<std::uint32_t> c(30);
    c[0] = c[1] = 1;
    for (int s = 2; s < 30; ++s) c[s] = c[s - 1] + c[s - 2];
    EXPECT_EQ(comprimentos(c, 15)[0], 15);  // reached, not passed
    for (const int limite : {7, 9, 15}) {
        const auto l = comprimentos(c, limite);
        for (const auto v : l) ASSERT_TRUE(v >= 1 && v <= limite) << limite;
        EXPECT_EQ(kraft(l), 1u << 15) << limite;
    }
    // All 19 symbols of the code-length code under 7 bits, as skewed as they come.
    std::vector<std::uint32_t> cl(19);
    for (int s = 0; s < 19; ++s) cl[s] = 1u << s;
    const auto l = comprimentos(cl, 7);
    for (const auto v : l) ASSERT_TRUE(v >= 1 && v <= 7);
    EXPECT_EQ(kraft(l), 1u << 15);
}

TEST(Huffman, UmOuNenhumSimboloTemCodigoCompletoDeUmBit) {
    EXPECT_EQ(comprimentos({0, 0, 9, 0}, 15), (std::vector<std::uint8_t>{0, 1, 1, 0}));
    EXPECT_EQ(comprimentos({3, 0, 0}, 15), (std::vector<std::uint8_t>{1, 1, 0}));
    EXPECT_EQ(comprimentos({0, 0, 0}, 7), (std::vector<std::uint8_t>{1, 1, 0}));
}

TEST(Huffman, CodigosCanonicosInvertidos) {
    // The example of RFC 1951, 3.2.2: A-H with lengths 3 3 3 3 3 2 4 4 get
    // 010 011 100 101 110 00 1110 1111, here with the bits in sending order from the low bit.
    const std::vector<std::uint8_t> l = {3, 3, 3, 3, 3, 2, 4, 4, 0};
    std::vector<std::uint16_t> c(l.size());
    codigosCanonicos(l, c);
    EXPECT_EQ(c, (std::vector<std::uint16_t>{0b010, 0b110, 0b001, 0b101, 0b011, 0b00, 0b0111, 0b1111, 0}));
}

}  // namespace
