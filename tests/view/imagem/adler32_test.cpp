// The stream's checksum against zlib's own adler32, on lengths around the vector blocks and
// the reduction interval, and runs in closed form as long as any picture's.
#include <gtest/gtest.h>
#include <zlib.h>

#include <random>
#include <vector>

#include "view/imagem/adler32.h"

using namespace tevra;

namespace {

// (zlib answers its initial value 1 to a null buffer, which an empty vector may hold.)
std::uint32_t zlibAdler(std::uint32_t adler, const std::vector<std::uint8_t>& b) {
    if (b.empty()) return adler;
    return static_cast<std::uint32_t>(adler32(adler, b.data(), static_cast<uInt>(b.size())));
}

TEST(Adler32, BytesComoOZlib) {
    std::mt19937 g(5);
    // All 0xff is the largest sum a length can reach.
    for (const int valor : {-1, 0xff}) {
        for (const std::size_t n : {0, 1, 15, 16, 17, 31, 5551, 5552, 5553, 5568, 11104, 11121, 100000}) {
            std::vector<std::uint8_t> b(n);
            for (auto& v : b) v = static_cast<std::uint8_t>(valor < 0 ? g() : valor);
            for (const std::uint32_t inicio : {1u, (65520u << 16) | 65519u})
                ASSERT_EQ(adler32Bytes(inicio, b.data(), n), zlibAdler(inicio, b)) << n << " " << valor;
        }
    }
    // Carried on from one piece to the next, at any offset.
    std::vector<std::uint8_t> b(40000);
    for (auto& v : b) v = static_cast<std::uint8_t>(g());
    std::uint32_t a = 1;
    for (std::size_t k = 0, parte = 1; k < b.size(); k += parte, parte = parte * 3 % 997 + 1)
        a = adler32Bytes(a, b.data() + k, std::min(parte, b.size() - k));
    EXPECT_EQ(a, zlibAdler(1, b));
}

TEST(Adler32, CorridaEmFormaFechada) {
    for (const std::uint8_t c : {0, 1, 2, 127, 255})
        for (const std::size_t n : {0, 1, 2, 258, 65520, 65521, 65522, 131042, 1000003}) {
            const std::vector<std::uint8_t> b(n, c);
            for (const std::uint32_t inicio : {1u, (65000u << 16) | 65520u})
                ASSERT_EQ(adler32Repetido(inicio, c, n), zlibAdler(inicio, b)) << int(c) << " x " << n;
        }
    // Longer than any picture's image data (16384 x 16384 RGB): against repeated pieces.
    const std::size_t n = std::size_t{3} << 28;
    const std::vector<std::uint8_t> parte(std::size_t{1} << 20, 255);
    std::uint32_t esperado = 1;
    for (std::size_t k = 0; k < n; k += parte.size()) esperado = zlibAdler(esperado, parte);
    EXPECT_EQ(adler32Repetido(1, 255, n), esperado);
}

}  // namespace
