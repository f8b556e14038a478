#include "view/imagem/filtro_png.h"

#include <bit>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tevra {

namespace {

constexpr std::uint8_t kFiltroUp = 2;

std::uint64_t ler64(const std::uint8_t* p) {
    std::uint64_t v;
    std::memcpy(&v, p, 8);
    return v;
}

// a - b in each of the eight bytes, modulo 256: no borrow crosses a byte.
std::uint64_t subtrair(std::uint64_t a, std::uint64_t b) {
    constexpr std::uint64_t h = 0x8080808080808080ull;
    return ((a | h) - (b & ~h)) ^ ((a ^ ~b) & h);
}

// Two RGBA pixels of a word as six RGB bytes (in the low six).
std::uint64_t semAlfa(std::uint64_t d) { return (d & 0xffffffull) | ((d >> 8) & 0xffffff000000ull); }

// Pixels from the start of two rows that are the same, of n.
int prefixoIgual(const std::uint8_t* a, const std::uint8_t* b, int n) {
    int x = 0;
    for (; x + 2 <= n; x += 2)
        if (const std::uint64_t d = ler64(a + 4 * x) ^ ler64(b + 4 * x)) return x + (std::countr_zero(d) >= 32);
    if (x < n && std::memcmp(a + 4 * x, b + 4 * x, 4) == 0) ++x;
    return x;
}

// The same from the end.
int sufixoIgual(const std::uint8_t* a, const std::uint8_t* b, int n) {
    int x = n;
    for (; x >= 2; x -= 2)
        if (const std::uint64_t d = ler64(a + 4 * (x - 2)) ^ ler64(b + 4 * (x - 2)))
            return n - x + (std::countl_zero(d) >= 32);
    if (x == 1 && std::memcmp(a, b, 4) == 0) x = 0;
    return n - x;
}

// Pixels [x0, x1) of the row less the row above, as RGB; `saida` has 8 bytes to spare.
void filtrarUp(const std::uint8_t* linha, const std::uint8_t* acima, int x0, int x1, std::uint8_t* saida) {
    int x = x0;
#if defined(__SSE2__)
    // Four pixels at a time, each pixel's RGB shifted down by as many bytes as alphas precede it.
    const __m128i rgb = _mm_setr_epi32(0xffffff, 0, 0, 0);
    for (; x + 4 <= x1; x += 4, saida += 12) {
        const __m128i d = _mm_sub_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(linha + 4 * x)),
                                       _mm_loadu_si128(reinterpret_cast<const __m128i*>(acima + 4 * x)));
        const __m128i juntos = _mm_or_si128(
            _mm_or_si128(_mm_and_si128(d, rgb), _mm_and_si128(_mm_srli_si128(d, 1), _mm_slli_si128(rgb, 3))),
            _mm_or_si128(_mm_and_si128(_mm_srli_si128(d, 2), _mm_slli_si128(rgb, 6)),
                         _mm_and_si128(_mm_srli_si128(d, 3), _mm_slli_si128(rgb, 9))));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(saida), juntos);
    }
#endif
    for (; x + 2 <= x1; x += 2, saida += 6) {
        const std::uint64_t d = semAlfa(subtrair(ler64(linha + 4 * x), ler64(acima + 4 * x)));
        std::memcpy(saida, &d, 8);
    }
    if (x < x1)
        for (int c = 0; c < 3; ++c) saida[c] = static_cast<std::uint8_t>(linha[4 * x + c] - acima[4 * x + c]);
}

}  // namespace

// Every row is filtered "up" (the byte above subtracted): a rendered picture repeats mostly
// what is above it, and above a row that is the same, with no byte looked at, the filtered
// row is zeros: one run. So is the stretch at either end of a row that matches the row
// above, such as the black on both sides of a surface.
void filtrarLinhas(const Imagem& img, CompressorDeflate& z) {
    const int largura = img.largura;
    const std::size_t bytesLinha = 4 * static_cast<std::size_t>(largura);
    const std::vector<std::uint8_t> zeros(bytesLinha);  // above the first row
    std::vector<std::uint8_t> filtrada(3 * static_cast<std::size_t>(largura) + 8);
    for (int y = 0; y < img.altura; ++y) {
        const std::uint8_t* linha = img.pixel(0, y);
        const std::uint8_t* acima = y > 0 ? img.pixel(0, y - 1) : zeros.data();
        z.repetir(kFiltroUp, 1);
        if (std::memcmp(linha, acima, bytesLinha) == 0) {
            z.repetir(0, 3 * static_cast<std::size_t>(largura));
            continue;
        }
        const int x0 = prefixoIgual(linha, acima, largura);
        const int x1 = largura - sufixoIgual(linha + 4 * x0, acima + 4 * x0, largura - x0);
        z.repetir(0, 3 * static_cast<std::size_t>(x0));
        filtrarUp(linha, acima, x0, x1, filtrada.data());
        z.bytes(filtrada.data(), 3 * static_cast<std::size_t>(x1 - x0));
        z.repetir(0, 3 * static_cast<std::size_t>(largura - x1));
    }
}

}  // namespace tevra
