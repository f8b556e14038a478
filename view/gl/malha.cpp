#include "view/gl/malha.h"

namespace tevra {

std::vector<std::uint8_t> montarTextura(int largura, int altura,
                                        const std::function<std::uint32_t(int x, int y)>& cor) {
    std::vector<std::uint8_t> t(static_cast<std::size_t>(kLadoTextura) * kLadoTextura * 4);
    std::uint8_t* p = t.data();
    for (int r = 0; r < kLadoTextura; ++r) {
        for (int c = 0; c < kLadoTextura; ++c) {
            const std::uint32_t v = (r < largura && c < altura) ? cor(r, c) : 0x00FFFFFFu;
            *p++ = static_cast<std::uint8_t>(v & 0xFF);
            *p++ = static_cast<std::uint8_t>((v >> 8) & 0xFF);
            *p++ = static_cast<std::uint8_t>((v >> 16) & 0xFF);
            *p++ = 255;
        }
    }
    return t;
}

}  // namespace tevra
