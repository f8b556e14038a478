#include "view/imagem/png.h"

#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <new>
#include <span>

#include "base/gravacao.h"
#include "view/imagem/deflate.h"
#include "view/imagem/filtro_png.h"

namespace tevra {

namespace {

struct Destino {
    std::string* bytes;
    bool semMemoria = false;
};

void escrever(png_structp png, png_bytep dados, png_size_t n) {
    auto* d = static_cast<Destino*>(png_get_io_ptr(png));
    try {
        d->bytes->append(reinterpret_cast<const char*>(dados), n);
    } catch (...) {
        d->semMemoria = true;
    }
    // Outside the handler: png_error leaves by longjmp.
    if (d->semMemoria) png_error(png, "out of memory");
}

void descarregar(png_structp) {}

// libpng writes the signature, the header and the chunks with their CRCs; the image data is
// compressed here (filtro_png, deflate), several times faster than libpng's rows through
// zlib. Its own end (png_write_end) refuses a file whose IDAT it did not write, so IEND is
// written as a chunk too. Every C++ object lives in the caller: the longjmp of a libpng
// error skips only this frame.
bool codificar(const Imagem& img, std::span<const std::uint8_t> dados, Destino& destino) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, &destino, escrever, descarregar);
    png_set_IHDR(png, info, static_cast<png_uint_32>(img.largura), static_cast<png_uint_32>(img.altura), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_BASE, PNG_FILTER_TYPE_BASE);
    png_write_info(png, info);
    constexpr std::size_t kMaxChunk = std::size_t{1} << 30;  // a chunk's length is below 2^31
    for (std::size_t k = 0; k < dados.size(); k += kMaxChunk)
        png_write_chunk(png, reinterpret_cast<png_const_bytep>("IDAT"), dados.data() + k,
                        std::min(kMaxChunk, dados.size() - k));
    png_write_chunk(png, reinterpret_cast<png_const_bytep>("IEND"), nullptr, 0);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

std::string codificarPng(const Imagem& img) {
    std::string bytes;
    if (img.largura <= 0 || img.altura <= 0 ||
        img.rgba.size() != static_cast<std::size_t>(img.largura) * static_cast<std::size_t>(img.altura) * 4)
        return bytes;
    try {
        CompressorDeflate compressor;
        // As large as a textured picture's stream, so that it is written once, not copied
        // as it grows; beyond a few thousand pixels square, it grows.
        compressor.reservar(std::min(img.rgba.size() / 2, std::size_t{1} << 26));
        filtrarLinhas(img, compressor);
        const std::span<const std::uint8_t> dados = compressor.terminar();
        bytes.reserve(dados.size() + 64);
        Destino destino{&bytes};
        if (!codificar(img, dados, destino)) bytes.clear();
    } catch (const std::bad_alloc&) {
        bytes.clear();
    }
    return bytes;
}

Escrita gravarPng(const std::filesystem::path& arquivo, const Imagem& imagem) {
    const std::string bytes = codificarPng(imagem);
    if (bytes.empty()) return FalhaEscrita{arquivo, "the picture could not be encoded as PNG"};
    return gravarArquivoAtomico(arquivo, bytes);
}

}  // namespace tevra
