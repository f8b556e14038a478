#pragma once
// PNG files read back with libpng (its simplified interface), independently of the writer.

#include <png.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "view/imagem/imagem.h"

// The pixels of a PNG whose header has been read; an empty picture when the rest is broken.
inline tevra::Imagem terminarLeitura(png_image& p) {
    tevra::Imagem img;
    p.format = PNG_FORMAT_RGBA;
    img.alocar(static_cast<int>(p.width), static_cast<int>(p.height));
    if (!png_image_finish_read(&p, nullptr, img.rgba.data(), 0, nullptr)) {
        png_image_free(&p);
        return tevra::Imagem{};
    }
    return img;
}

// The file's pixels as RGBA, rows from the top; an empty picture when it is not a PNG.
inline tevra::Imagem lerPng(const std::filesystem::path& arquivo) {
    png_image p{};
    p.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&p, arquivo.c_str())) return {};
    return terminarLeitura(p);
}

// The same from bytes in memory.
inline tevra::Imagem lerPng(const std::string& bytes) {
    png_image p{};
    p.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&p, bytes.data(), bytes.size())) return {};
    return terminarLeitura(p);
}

// Pixels whose colour differs by more than `tolerancia` in some channel (alpha ignored);
// every pixel when the sizes differ.
inline long long pixelsDiferentes(const tevra::Imagem& a, const tevra::Imagem& b, int tolerancia = 0) {
    if (a.largura != b.largura || a.altura != b.altura) return static_cast<long long>(a.largura) * a.altura + 1;
    long long n = 0;
    for (int y = 0; y < a.altura; ++y)
        for (int x = 0; x < a.largura; ++x) {
            const auto* p = a.pixel(x, y);
            const auto* q = b.pixel(x, y);
            for (int c = 0; c < 3; ++c)
                if (std::abs(int(p[c]) - int(q[c])) > tolerancia) {
                    ++n;
                    break;
                }
        }
    return n;
}
