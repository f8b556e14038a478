#include "view/imagem/huffman.h"

#include <algorithm>
#include <array>
#include <cassert>

namespace tevra {

namespace {
constexpr int kMaxSimbolos = 288;
constexpr int kMaxBits = 15;
// Each byte with its bits in the opposite order.
constexpr auto kInvertido = [] {
    std::array<std::uint32_t, 256> t{};
    for (unsigned b = 0; b < 256; ++b)
        for (int k = 0; k < 8; ++k) t[b] |= ((b >> k) & 1u) << (7 - k);
    return t;
}();
}  // namespace

void comprimentosHuffman(std::span<const std::uint32_t> contagens, int limite, std::span<std::uint8_t> comprimentos) {
    const int n = static_cast<int>(contagens.size());
    assert(n >= 2 && n <= kMaxSimbolos && limite <= kMaxBits && comprimentos.size() == contagens.size());
    std::fill(comprimentos.begin(), comprimentos.end(), std::uint8_t{0});
    std::array<std::uint16_t, kMaxSimbolos> simbolos, troca;
    int m = 0;
    std::uint32_t maior = 0;
    for (int s = 0; s < n; ++s)
        if (contagens[s] != 0) {
            simbolos[m++] = static_cast<std::uint16_t>(s);
            maior = std::max(maior, contagens[s]);
        }
    if (m < 2) {
        const int s = m == 1 ? simbolos[0] : 0;
        comprimentos[s] = 1;
        comprimentos[s == 0 ? 1 : s - 1] = 1;
        return;
    }
    // Least frequent first, ties in symbol order (so the code depends on the counts only): a
    // radix sort by the counts' bytes, a few hundred symbols without a branch to mispredict.
    for (int desloc = 0; desloc < 32 && (maior >> desloc) != 0; desloc += 8) {
        std::array<int, 257> inicio{};
        for (int i = 0; i < m; ++i) ++inicio[((contagens[simbolos[i]] >> desloc) & 0xff) + 1];
        for (int d = 0; d < 256; ++d) inicio[d + 1] += inicio[d];
        for (int i = 0; i < m; ++i) troca[inicio[(contagens[simbolos[i]] >> desloc) & 0xff]++] = simbolos[i];
        simbolos = troca;
    }

    // Huffman's tree by two queues: the sorted leaves, and the inner nodes in the order they
    // are made, whose weights never decrease.
    std::array<std::uint64_t, 2 * kMaxSimbolos> peso;
    std::array<int, 2 * kMaxSimbolos> pai;
    for (int i = 0; i < m; ++i) peso[i] = contagens[simbolos[i]];
    int folha = 0, interno = m;
    auto menor = [&](int novo) {
        if (folha < m && (interno == novo || peso[folha] <= peso[interno])) return folha++;
        return interno++;
    };
    for (int novo = m; novo < 2 * m - 1; ++novo) {
        const int x = menor(novo), y = menor(novo);
        peso[novo] = peso[x] + peso[y];
        pai[x] = pai[y] = novo;
    }
    std::array<int, 2 * kMaxSimbolos> profundidade;
    profundidade[2 * m - 2] = 0;
    for (int k = 2 * m - 3; k >= 0; --k) profundidade[k] = profundidade[pai[k]] + 1;

    // Leaves per length, the deep ones raised to the limit; the code is then over-full by
    // fewer units than there are leaves at the limit. Each round takes one unit off (a leaf
    // at the limit moves under the shortest leaf above it, which goes one level down),
    // keeping that margin, until the code is exactly complete.
    std::array<int, kMaxBits + 2> porComprimento{};
    for (int i = 0; i < m; ++i) ++porComprimento[std::min(profundidade[i], limite)];
    std::uint32_t kraft = 0;
    for (int l = 1; l <= limite; ++l) kraft += static_cast<std::uint32_t>(porComprimento[l]) << (limite - l);
    for (; kraft > (1u << limite); --kraft) {
        --porComprimento[limite];
        for (int l = limite - 1; l > 0; --l)
            if (porComprimento[l] != 0) {
                --porComprimento[l];
                porComprimento[l + 1] += 2;
                break;
            }
    }
    // The longest codes to the rarest symbols.
    int i = 0;
    for (int l = limite; l >= 1; --l)
        for (int k = 0; k < porComprimento[l]; ++k) comprimentos[simbolos[i++]] = static_cast<std::uint8_t>(l);
}

void codigosCanonicos(std::span<const std::uint8_t> comprimentos, std::span<std::uint16_t> codigos) {
    std::array<int, kMaxBits + 1> porComprimento{};
    for (const std::uint8_t l : comprimentos) ++porComprimento[l];
    porComprimento[0] = 0;
    std::array<std::uint32_t, kMaxBits + 1> proximo{};
    std::uint32_t codigo = 0;
    for (int l = 1; l <= kMaxBits; ++l) {
        codigo = (codigo + static_cast<std::uint32_t>(porComprimento[l - 1])) << 1;
        proximo[l] = codigo;
    }
    for (std::size_t s = 0; s < comprimentos.size(); ++s) {
        const int l = comprimentos[s];
        if (l == 0) {
            codigos[s] = 0;
            continue;
        }
        const std::uint32_t c = proximo[l]++;
        const std::uint32_t r = (kInvertido[c & 0xff] << 8 | kInvertido[c >> 8]) >> (16 - l);
        codigos[s] = static_cast<std::uint16_t>(r);
    }
}

}  // namespace tevra
