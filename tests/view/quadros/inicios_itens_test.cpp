// The frame reader's direct path: the blanks' masks, the item starts listed from them, and
// the number at a start read with its end, against byte-by-byte reading.
#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "view/quadros/inicios_itens.h"

using namespace tevra;

namespace {

// Texts of blanks, digits, points, signs and other bytes, with runs of each.
std::string textoAoAcaso(std::mt19937_64& g, std::size_t tamanho) {
    const char alfabeto[] = " \t\n\v\f\r0123456789.-+e:x\x80\xff\x1f!";
    std::string t;
    while (t.size() < tamanho) t.append(1 + g() % 4, g() % 3 == 0 ? ' ' : alfabeto[g() % (sizeof alfabeto - 1)]);
    t.resize(tamanho);
    return t;
}

TEST(IniciosItens, MascarasDosBrancosComoOsBytes) {
    std::mt19937_64 g(21);
    char buf[64];
    for (int k = 0; k < 20000; ++k) {
        const std::string t = k % 2 ? textoAoAcaso(g, 64) : std::string(64, '\0');
        std::memcpy(buf, t.data(), 64);
        if (k % 2 == 0)
            for (char& c : buf) c = static_cast<char>(g());
        std::uint64_t esperada = 0;
        for (int b = 0; b < 64; ++b) esperada |= std::uint64_t{branco(buf[b])} << b;
        ASSERT_EQ(mascaraBrancosPalavras(buf), esperada) << k;
        ASSERT_EQ(mascaraBrancos(buf), esperada) << k;
    }
}

TEST(IniciosItens, InicioDeCadaItemEFimDoItem) {
    // Starts listed from the pieces: those of reading byte by byte, the first byte counting
    // as after a blank; and each item's end, when within 16 bytes, the blank after it.
    std::mt19937_64 g(22);
    std::vector<std::uint32_t> inicios(32 * 8);
    for (int rodada = 0; rodada < 3000; ++rodada) {
        const std::string t = textoAoAcaso(g, 8 * 64 + 32);
        const std::size_t n = marcarInicios(t.data(), 8, inicios.data());
        std::vector<std::uint32_t> esperados;
        for (std::uint32_t b = 0; b < 8 * 64; ++b)
            if (!branco(t[b]) && (b == 0 || branco(t[b - 1]))) esperados.push_back(b);
        ASSERT_EQ(std::vector<std::uint32_t>(inicios.begin(), inicios.begin() + static_cast<long>(n)), esperados)
            << rodada;
        for (std::uint32_t b : esperados) {
            std::size_t fim = b;
            while (fim < t.size() && !branco(t[fim]) && fim - b < 16) ++fim;
            ASSERT_EQ(fimDoItem(t.data() + b) - t.data(), static_cast<long>(fim)) << rodada << " " << b;
        }
    }
}

TEST(IniciosItens, NumeroDoItemComoOFromChars) {
    // The item read where it starts: when taken, its end is the blank after it and its value
    // from_chars's, bit for bit; and the writer's numbers without an exponent are all taken.
    std::mt19937_64 g(23);
    char buf[64];
    long tomados = 0;
    for (int k = 0; k < 200000; ++k) {
        std::string t;
        if (k % 2) {
            std::snprintf(buf, sizeof buf, "%g",
                          (g() % 2 ? -1.0 : 1.0) * static_cast<double>(g() % 10000000) / std::pow(10.0, g() % 12));
            t = buf;
        } else {
            t = textoAoAcaso(g, 1 + g() % 18);
            if (branco(t[0])) t[0] = '1';
        }
        const std::string fundo = t + (k % 3 ? " " : "\r\n") + "123456789012345678901234567890";
        const char* fim;
        double numerador = 0, divisor = 0;
        const bool tomado = fracaoDoItem(fundo.data(), fim, numerador, divisor);
        std::size_t esperado = 0;
        while (!branco(fundo[esperado])) ++esperado;
        if (!tomado) {
            ASSERT_FALSE(k % 2 && t.find('e') == std::string::npos) << t;
            continue;
        }
        ++tomados;
        ASSERT_EQ(fim - fundo.data(), static_cast<long>(esperado)) << t;
        double v;
        const auto r = std::from_chars(fundo.data(), fim, v, std::chars_format::general);
        ASSERT_TRUE(r.ec == std::errc() && r.ptr == fim) << t;
        ASSERT_EQ(std::bit_cast<std::uint64_t>(numerador / divisor), std::bit_cast<std::uint64_t>(v)) << t;
    }
    EXPECT_GT(tomados, 100000);
}

}  // namespace
