#pragma once

#include <cstdint>
#include <filesystem>
#include <string_view>
#include <vector>

namespace tevra {

// A bitmap as read: largura x altura pixels as 0x00BBGGRR, rows from the top.
struct ImagemBmp {
    int largura = 0;
    int altura = 0;
    std::vector<std::uint32_t> pixels;

    std::uint32_t cor(int x, int y) const {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(largura) + static_cast<std::size_t>(x)];
    }
};

// Reads a Windows device-independent bitmap: 1, 4 or 8 bits a pixel with a palette, 24 bits,
// or 32 bits (plain or with 8-bit colour masks); rows stored bottom-up or top-down. Anything
// else (compressed, 16-bit, OS/2 headers) and any damage throw ErroEntrada saying what is wrong.
ImagemBmp lerBmp(std::string_view bytes);

// The same from a file; the message names the file.
ImagemBmp lerBmp(const std::filesystem::path& arquivo);

}  // namespace tevra
