#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace tevra {

// The surface of one frame as quads over the node grid (ni rows along i, nj nodes a row).
// Each quad has its near side at nodes k, k + 1 and its far side at m, m + 1, where m lies
// one row further on; a closed tube adds a strip joining the last row to the first.
//
// k walks the nodes in index order, stepping over the last node of every row, so it never
// stands where k + 1 would wrap into the next row.
template <class F>
void percorrerQuads(int ni, int nj, bool fechada, F&& quad) {
    if (ni < 1 || nj < 2) return;
    const long long abertos = static_cast<long long>(ni - 1) * (nj - 1);
    const long long total = abertos + (fechada ? nj - 1 : 0);
    long long k = 0;
    for (long long q = 0; q < total; ++q) {
        if ((k + 1) % nj == 0) ++k;
        // Closing strip: k is in the last row, its partner the same column of row 0.
        const long long m = q < abertos ? k + nj : k - static_cast<long long>(ni - 1) * nj;
        quad(static_cast<int>(k), static_cast<int>(m));
        ++k;
    }
}

struct CoordTextura {
    float s;
    float t;
};

// Texture coordinate of node v: (i / nj, j / nj), both over the inner count, so a square
// patch of the image spans nj nodes either way.
inline CoordTextura coordTextura(int v, int nj) {
    const int i = v / nj;
    const int j = v % nj;
    return {static_cast<float>(i) / static_cast<float>(nj), static_cast<float>(j) / static_cast<float>(nj)};
}

// The texture image, looked for in the current folder, else next to the program.
inline constexpr const char* kArquivoTextura = "flag_brasil_hi_4.bmp";

// Side of the square texture.
inline constexpr int kLadoTextura = 256;

// The 256 x 256 RGBA texture (rows of 256 texels one after the other) from an image of
// largura x altura pixels given as 0x00BBGGRR by cor(x, y), y from the top. The image is
// transposed, texel (row r, column c) = pixel (x = r, y = c); texels outside a smaller
// image are white, and of a larger one only the top-left 256 x 256 pixels count.
std::vector<std::uint8_t> montarTextura(int largura, int altura, const std::function<std::uint32_t(int x, int y)>& cor);

}  // namespace tevra
