// One 600 x 600 picture of tevra-render encoded as PNG: mostly black (a small surface in the
// middle, the window's camera) and filled with a lit, textured surface (--fit). The encoder
// it replaced (libpng's rows through zlib, level 1, run-length matches, filter "up") is kept
// here, so that both are timed in one run, interleaved.
#include <benchmark/benchmark.h>
#include <png.h>
#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <random>
#include <string>
#include <vector>

#include "view/imagem/png.h"

using namespace tevra;

namespace {

// --- the libpng encoder as it was ---
void anexar(png_structp png, png_bytep dados, png_size_t n) {
    static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<const char*>(dados), n);
}
void nada(png_structp) {}

bool codificarLibpng(const Imagem& img, const std::vector<png_bytep>& linhas, std::string& bytes) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, &bytes, anexar, nada);
    png_set_compression_level(png, 1);
    png_set_compression_strategy(png, Z_RLE);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_UP);
    png_set_IHDR(png, info, static_cast<png_uint_32>(img.largura), static_cast<png_uint_32>(img.altura), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_BASE, PNG_FILTER_TYPE_BASE);
    png_write_info(png, info);
    png_set_filler(png, 0, PNG_FILLER_AFTER);
    png_write_image(png, const_cast<png_bytepp>(linhas.data()));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

std::string codificarPngLibpng(const Imagem& img) {
    std::vector<png_bytep> linhas(static_cast<std::size_t>(img.altura));
    for (int y = 0; y < img.altura; ++y) linhas[static_cast<std::size_t>(y)] = const_cast<png_bytep>(img.pixel(0, y));
    std::string bytes;
    bytes.reserve(img.rgba.size() / 4);
    if (!codificarLibpng(img, linhas, bytes)) bytes.clear();
    return bytes;
}

// --- the pictures ---
constexpr int kLado = 600;

// A lit, textured surface as the software renderer draws it: a magnified texture (colours
// interpolated between the texels of a coarse random grid) under diffuse light from a
// rippling normal, rounded to 8 bits.
struct Superficie {
    static constexpr int kTexels = 24;
    std::vector<float> texels;

    Superficie() : texels(3 * (kTexels + 1) * (kTexels + 1)) {
        std::mt19937 g(11);
        for (auto& t : texels) t = static_cast<float>(g() % 256);
    }
    void cor(double u, double v, std::uint8_t* p) const {  // u, v in [0, 1]
        const double fu = u * kTexels, fv = v * kTexels;
        const int iu = std::min(static_cast<int>(fu), kTexels - 1), iv = std::min(static_cast<int>(fv), kTexels - 1);
        const double du = fu - iu, dv = fv - iv;
        const double luz = 0.35 + 0.65 * std::abs(std::cos(3.0 * u + 0.4 * std::sin(9.0 * v)));
        for (int c = 0; c < 3; ++c) {
            auto t = [&](int a, int b) { return texels[3 * ((iv + b) * (kTexels + 1) + iu + a) + c]; };
            const double cor =
                (1 - dv) * ((1 - du) * t(0, 0) + du * t(1, 0)) + dv * ((1 - du) * t(0, 1) + du * t(1, 1));
            p[c] = static_cast<std::uint8_t>(std::lround(std::clamp(cor * luz, 0.0, 255.0)));
        }
        p[3] = 255;
    }
};

// Black, with the surface as a tilted quadrilateral of about 180 x 130 pixels in the middle.
Imagem quasePreta() {
    const Superficie s;
    Imagem img;
    img.alocar(kLado, kLado);
    for (std::size_t k = 3; k < img.rgba.size(); k += 4) img.rgba[k] = 255;
    for (int y = 0; y < kLado; ++y)
        for (int x = 0; x < kLado; ++x) {
            const double dx = x - kLado / 2.0, dy = y - kLado / 2.0;
            const double u = (0.94 * dx + 0.34 * dy) / 180 + 0.5, v = (-0.30 * dx + 0.95 * dy) / 130 + 0.5;
            if (u >= 0 && u <= 1 && v >= 0 && v <= 1) s.cor(u, v, img.rgba.data() + (y * kLado + x) * 4);
        }
    return img;
}

Imagem texturizada() {
    const Superficie s;
    Imagem img;
    img.alocar(kLado, kLado);
    for (int y = 0; y < kLado; ++y)
        for (int x = 0; x < kLado; ++x)
            s.cor(x / (kLado - 1.0), y / (kLado - 1.0), img.rgba.data() + (y * kLado + x) * 4);
    return img;
}

void BM_CodificarPng(benchmark::State& state) {
    static const Imagem imagens[2] = {quasePreta(), texturizada()};
    const Imagem& img = imagens[state.range(0)];
    const bool libpng = state.range(1) != 0;
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::string png = libpng ? codificarPngLibpng(img) : codificarPng(img);
        bytes = png.size();
        benchmark::DoNotOptimize(png.data());
    }
    state.counters["bytes"] = static_cast<double>(bytes);
    state.SetLabel(std::string(state.range(0) == 0 ? "mostly black" : "textured") + (libpng ? ", libpng + zlib" : ""));
}

}  // namespace

// imagem: 0 mostly black, 1 textured; libpng: 1 the encoder it replaced.
BENCHMARK(BM_CodificarPng)
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->ArgNames({"imagem", "libpng"})
    ->Unit(benchmark::kMicrosecond);
