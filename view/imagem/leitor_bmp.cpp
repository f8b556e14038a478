#include "view/imagem/leitor_bmp.h"

#include <bit>
#include <cstdio>
#include <memory>
#include <string>

#include "base/erros.h"

namespace tevra {

namespace {

constexpr std::uint32_t kSemCompressao = 0;  // BI_RGB
constexpr std::uint32_t kMascaras = 3;       // BI_BITFIELDS
// Far beyond any texture: a damaged header must not ask for gigabytes.
constexpr long long kMaxPixels = 1LL << 26;

[[noreturn]] void recusar(const std::string& motivo) { throw ErroEntrada(motivo); }

std::uint32_t u16(std::string_view b, std::size_t p) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(b[p])) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[p + 1])) << 8;
}
std::uint32_t u32(std::string_view b, std::size_t p) { return u16(b, p) | u16(b, p + 2) << 16; }

// One colour channel under a mask, spread over 0 .. 255.
struct Canal {
    std::uint32_t mascara = 0;
    int deslocamento = 0;
    std::uint32_t maximo = 0;

    explicit Canal(std::uint32_t m) : mascara(m) {
        if (m == 0) return;
        deslocamento = std::countr_zero(m);
        maximo = m >> deslocamento;
    }
    std::uint32_t valor(std::uint32_t pixel) const {
        if (maximo == 0) return 0;
        const std::uint32_t v = (pixel & mascara) >> deslocamento;
        return maximo == 255 ? v
                             : static_cast<std::uint32_t>((static_cast<std::uint64_t>(v) * 255 + maximo / 2) / maximo);
    }
};

}  // namespace

ImagemBmp lerBmp(std::string_view b) {
    if (b.size() < 26 || b[0] != 'B' || b[1] != 'M') recusar("not a BMP image (no \"BM\" signature)");
    const std::uint32_t inicioPixels = u32(b, 10);
    const std::uint32_t cabecalho = u32(b, 14);
    if (cabecalho < 40 || cabecalho > 124) recusar("unsupported BMP header of " + std::to_string(cabecalho) + " bytes");
    if (b.size() < 14 + static_cast<std::size_t>(cabecalho)) recusar("the BMP header is cut short");
    const auto largura = static_cast<std::int32_t>(u32(b, 18));
    const auto alturaBruta = static_cast<std::int32_t>(u32(b, 22));
    const std::uint32_t bits = u16(b, 28);
    const std::uint32_t compressao = u32(b, 30);
    std::uint32_t cores = u32(b, 46);
    if (largura <= 0 || alturaBruta == 0 || alturaBruta == INT32_MIN) recusar("the BMP image has no pixels");
    const bool deCimaParaBaixo = alturaBruta < 0;
    const int altura = deCimaParaBaixo ? -alturaBruta : alturaBruta;
    if (static_cast<long long>(largura) * altura > kMaxPixels) recusar("the BMP image is too large");

    const bool comPaleta = bits == 1 || bits == 4 || bits == 8;
    if (!comPaleta && bits != 24 && bits != 32) recusar(std::to_string(bits) + "-bit BMP images are not supported");
    if (compressao != kSemCompressao && !(compressao == kMascaras && bits == 32))
        recusar("compressed BMP images are not supported");

    // Masks follow a 40-byte header, or are part of a larger one.
    Canal vermelho(0x00FF0000u), verde(0x0000FF00u), azul(0x000000FFu);
    if (compressao == kMascaras) {
        if (b.size() < 14 + 40 + 12) recusar("the BMP colour masks are cut short");
        vermelho = Canal(u32(b, 54));
        verde = Canal(u32(b, 58));
        azul = Canal(u32(b, 62));
    }

    std::vector<std::uint32_t> paleta;
    if (comPaleta) {
        const std::uint32_t maximo = 1u << bits;
        if (cores == 0 || cores > maximo) cores = maximo;
        const std::size_t inicio = 14 + cabecalho;
        if (b.size() < inicio + static_cast<std::size_t>(cores) * 4) recusar("the BMP palette is cut short");
        paleta.resize(maximo, 0);
        for (std::uint32_t k = 0; k < cores; ++k) {
            const std::size_t p = inicio + k * 4;  // blue, green, red, unused
            paleta[k] = static_cast<std::uint32_t>(static_cast<unsigned char>(b[p + 2])) |
                        static_cast<std::uint32_t>(static_cast<unsigned char>(b[p + 1])) << 8 |
                        static_cast<std::uint32_t>(static_cast<unsigned char>(b[p])) << 16;
        }
    }

    // Rows are padded to four bytes.
    const std::size_t passo = (static_cast<std::size_t>(largura) * bits + 31) / 32 * 4;
    if (inicioPixels > b.size() || b.size() - inicioPixels < passo * static_cast<std::size_t>(altura))
        recusar("the BMP pixel data is cut short");

    ImagemBmp img;
    img.largura = largura;
    img.altura = altura;
    img.pixels.resize(static_cast<std::size_t>(largura) * static_cast<std::size_t>(altura));
    for (int y = 0; y < altura; ++y) {
        const int linhaArquivo = deCimaParaBaixo ? y : altura - 1 - y;
        const auto* linha = reinterpret_cast<const unsigned char*>(b.data()) + inicioPixels +
                            passo * static_cast<std::size_t>(linhaArquivo);
        std::uint32_t* destino = img.pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(largura);
        for (int x = 0; x < largura; ++x) {
            std::uint32_t cor;
            if (comPaleta) {
                const std::size_t bit = static_cast<std::size_t>(x) * bits;
                const unsigned byte = linha[bit / 8];
                const unsigned indice = (byte >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
                cor = paleta[indice];
            } else if (bits == 24) {
                const unsigned char* p = linha + static_cast<std::size_t>(x) * 3;  // blue, green, red
                cor = static_cast<std::uint32_t>(p[2]) | static_cast<std::uint32_t>(p[1]) << 8 |
                      static_cast<std::uint32_t>(p[0]) << 16;
            } else {
                const unsigned char* p = linha + static_cast<std::size_t>(x) * 4;
                const std::uint32_t v = static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
                                        static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
                cor = vermelho.valor(v) | verde.valor(v) << 8 | azul.valor(v) << 16;
            }
            destino[x] = cor;
        }
    }
    return img;
}

ImagemBmp lerBmp(const std::filesystem::path& arquivo) {
    std::unique_ptr<FILE, int (*)(FILE*)> f(std::fopen(arquivo.c_str(), "rb"), &std::fclose);
    if (!f) throw ErroEntrada(arquivo.string() + ": cannot be opened");
    std::string bytes;
    char bloco[1 << 16];
    while (const std::size_t n = std::fread(bloco, 1, sizeof bloco, f.get())) {
        bytes.append(bloco, n);
        if (bytes.size() > static_cast<std::size_t>(kMaxPixels) * 4 + 4096) break;
    }
    if (std::ferror(f.get())) throw ErroEntrada(arquivo.string() + ": cannot be read");
    try {
        return lerBmp(std::string_view(bytes));
    } catch (const ErroEntrada& e) {
        throw ErroEntrada(arquivo.string() + ": " + e.what());
    }
}

}  // namespace tevra
