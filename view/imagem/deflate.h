#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

namespace tevra {

// A zlib stream (RFC 1950) of deflate blocks (RFC 1951) made for filtered picture rows,
// where most of what repeats is a run of one byte value: runs are found many bytes at a time
// and sent as matches at distance 1, everything else as literals. Each block has its own
// Huffman codes, built from its symbol counts, so that textured pictures shrink too.
class CompressorDeflate {
public:
    // Long enough that a block's header (about 100 bytes) costs little, short enough that
    // the codes follow the picture from its black border to its textured middle.
    static constexpr std::size_t kSimbolosPorBloco = std::size_t{1} << 14;

    explicit CompressorDeflate(std::size_t simbolosPorBloco = kSimbolosPorBloco);

    // Room for the stream to grow to `bytes` without being copied. Memory not written to
    // costs only address space, so a generous guess is cheap.
    void reservar(std::size_t bytes) { garantir(bytes); }

    // The next bytes of the data.
    void bytes(const std::uint8_t* p, std::size_t n);
    // `n` more bytes of value `valor`: no byte is looked at.
    void repetir(std::uint8_t valor, std::size_t n);
    // The last block and the Adler-32 of all the data. The stream lives as long as the
    // compressor, which takes no more data.
    std::span<const std::uint8_t> terminar();

private:
    void literal(std::uint8_t c) {
        simbolos_[nSimbolos_++] = c;
        ++contagens_[0][c];
    }
    void fecharCorrida();
    void literais(std::uint64_t palavra, int n);  // its low n bytes
    void varrer(const std::uint8_t* p, std::size_t n);
    void blocoSeCheio() {
        if (nSimbolos_ >= limite_) fecharBloco(false);
    }
    void fecharBloco(bool final);
    void garantir(std::size_t bytes);

    std::size_t limite_;
    // A symbol is a literal byte (0 .. 255) or 256 + length - 3 for a match at distance 1.
    std::unique_ptr<std::uint16_t[]> simbolos_;
    std::size_t nSimbolos_ = 0;
    // Counted in four tables, by position, so that a value seen again right away does not
    // wait for its own count's last increment; summed when the block closes.
    std::uint32_t contagens_[4][512] = {};
    // The last byte given and how many more of it follow unsent (the run under way).
    int ultimo_ = -1;
    std::size_t corrida_ = 0;
    std::uint32_t adler_ = 1;

    std::unique_ptr<std::uint8_t[]> saida_;
    std::size_t capacidade_ = 0;
    std::size_t usados_ = 0;
    std::uint64_t acumulador_ = 0;  // bits not yet in saida_, the first in the low bit
    int nBits_ = 0;
};

}  // namespace tevra
