#pragma once

#include <cstdint>
#include <vector>

namespace tevra {

// A picture as drawn: largura x altura pixels, four bytes each (red, green, blue, alpha),
// rows from the top.
struct Imagem {
    int largura = 0;
    int altura = 0;
    std::vector<std::uint8_t> rgba;

    void alocar(int l, int a) {
        largura = l;
        altura = a;
        rgba.assign(static_cast<std::size_t>(l) * static_cast<std::size_t>(a) * 4, 0);
    }
    const std::uint8_t* pixel(int x, int y) const {
        return rgba.data() + (static_cast<std::size_t>(y) * static_cast<std::size_t>(largura) + x) * 4;
    }
};

}  // namespace tevra
