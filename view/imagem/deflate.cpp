#include "view/imagem/deflate.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

#include "view/imagem/adler32.h"
#include "view/imagem/huffman.h"

namespace tevra {

static_assert(std::endian::native == std::endian::little, "runs are found with little-endian word loads");

namespace {

constexpr int kSimbolosLL = 286;  // literal/length alphabet: 256 literals, end of block, 29 lengths
constexpr int kFimDeBloco = 256;
// Room for a block's header and for the bit writer's 8-byte stores past the end.
constexpr std::size_t kFolgaCabecalho = 1024;
// Symbols that may be added after the block filled up and before the next check.
constexpr std::size_t kFolgaSimbolos = 16;

// Length code (257 + codigo) of each match length 3 .. 258, by length - 3.
struct CodigoComprimento {
    std::uint8_t codigo;
    std::uint8_t extras;
    std::uint16_t base;
};
constexpr auto kComprimentos = [] {
    constexpr int extras[28] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5};
    std::array<CodigoComprimento, 256> t{};
    int base = 3;
    for (int c = 0; c < 28; ++c) {
        for (int k = 0; k < (1 << extras[c]); ++k)
            t[base - 3 + k] = {static_cast<std::uint8_t>(c), static_cast<std::uint8_t>(extras[c]),
                               static_cast<std::uint16_t>(base)};
        base += 1 << extras[c];
    }
    t[255] = {28, 0, 258};  // 258 has a code of its own (284 stops at 257)
    return t;
}();

// The order in which the code-length code's lengths are sent.
constexpr int kOrdemCL[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};

std::uint64_t ler64(const std::uint8_t* p) {
    std::uint64_t v;
    std::memcpy(&v, p, 8);
    return v;
}

// 0x80 in each byte of x that is zero, nothing elsewhere.
std::uint64_t bytesNulos(std::uint64_t x) {
    constexpr std::uint64_t k7f = 0x7f7f7f7f7f7f7f7full;
    return ~(((x & k7f) + k7f) | x | k7f);
}

// How many of the n bytes from p equal v, from the first.
std::size_t iguais(const std::uint8_t* p, std::size_t n, std::uint8_t v) {
    const std::uint64_t padrao = 0x0101010101010101ull * v;
    std::size_t k = 0;
    for (; k + 8 <= n; k += 8)
        if (const std::uint64_t x = ler64(p + k) ^ padrao) return k + static_cast<std::size_t>(std::countr_zero(x)) / 8;
    while (k < n && p[k] == v) ++k;
    return k;
}

// The code lengths of a block, run-length coded (RFC 1951, 3.2.7): symbol and extra bits.
struct ItemCL {
    std::uint8_t simbolo;
    std::uint8_t extra;
};
int codificarComprimentos(const std::uint8_t* l, int n, ItemCL* itens) {
    int k = 0;
    for (int i = 0; i < n;) {
        const std::uint8_t v = l[i];
        int corrida = 1;
        while (i + corrida < n && l[i + corrida] == v) ++corrida;
        i += corrida;
        if (v == 0) {
            for (; corrida >= 11; corrida -= std::min(corrida, 138))
                itens[k++] = {18, static_cast<std::uint8_t>(std::min(corrida, 138) - 11)};
            if (corrida >= 3) {
                itens[k++] = {17, static_cast<std::uint8_t>(corrida - 3)};
                corrida = 0;
            }
        } else {
            itens[k++] = {v, 0};
            for (--corrida; corrida >= 3; corrida -= std::min(corrida, 6))
                itens[k++] = {16, static_cast<std::uint8_t>(std::min(corrida, 6) - 3)};
        }
        for (; corrida > 0; --corrida) itens[k++] = {v, 0};
    }
    return k;
}

// Bits from the low bit of each byte up. Every store writes eight bytes, where the output
// has room for them; the bits not yet whole bytes stay in `acc`.
struct EscritorBits {
    std::uint8_t* saida;
    std::uint64_t acc;
    int n;

    void poe(std::uint64_t bits, int quantos) {  // at most 56 - 7
        acc |= bits << n;
        n += quantos;
        std::memcpy(saida, &acc, 8);
        saida += n >> 3;
        acc >>= n & 56;
        n &= 7;
    }
};

// The header of a block with dynamic Huffman codes (RFC 1951, 3.2.7): the literal/length code
// given by its lengths (the first hlit), and two distance codes of one bit each, so that that
// code is complete though only the first (distance 1) is ever sent.
void escreverCabecalho(EscritorBits& e, bool final, const std::uint8_t* comprimentoLL, int hlit) {
    std::array<std::uint8_t, kSimbolosLL + 2> todos;
    std::copy(comprimentoLL, comprimentoLL + hlit, todos.begin());
    todos[hlit] = todos[hlit + 1] = 1;
    std::array<ItemCL, kSimbolosLL + 2> itens;
    const int nItens = codificarComprimentos(todos.data(), hlit + 2, itens.data());
    std::array<std::uint32_t, 19> contagens{};
    for (int k = 0; k < nItens; ++k) ++contagens[itens[k].simbolo];
    std::array<std::uint8_t, 19> comprimento;
    std::array<std::uint16_t, 19> codigo;
    comprimentosHuffman(contagens, 7, comprimento);
    codigosCanonicos(comprimento, codigo);
    int hclen = 19;
    while (hclen > 4 && comprimento[kOrdemCL[hclen - 1]] == 0) --hclen;

    e.poe(final ? 1 : 0, 1);
    e.poe(2, 2);  // dynamic Huffman codes
    e.poe(static_cast<std::uint64_t>(hlit - 257), 5);
    e.poe(1, 5);  // two distance codes
    e.poe(static_cast<std::uint64_t>(hclen - 4), 4);
    for (int k = 0; k < hclen; ++k) e.poe(comprimento[kOrdemCL[k]], 3);
    for (int k = 0; k < nItens; ++k) {
        const ItemCL it = itens[k];
        e.poe(codigo[it.simbolo], comprimento[it.simbolo]);
        if (it.simbolo >= 16) e.poe(it.extra, it.simbolo == 16 ? 2 : it.simbolo == 17 ? 3 : 7);
    }
}

}  // namespace

CompressorDeflate::CompressorDeflate(std::size_t simbolosPorBloco)
    : limite_(std::max<std::size_t>(simbolosPorBloco, 1)), simbolos_(new std::uint16_t[limite_ + kFolgaSimbolos]) {
    garantir(std::size_t{1} << 16);
    // Deflate with a 32 KiB window, the fastest level announced; the header check is 0x7801 % 31 == 0.
    saida_[0] = 0x78;
    saida_[1] = 0x01;
    usados_ = 2;
}

void CompressorDeflate::garantir(std::size_t bytes) {
    const std::size_t precisa = usados_ + bytes + 8;
    if (precisa <= capacidade_) return;
    const std::size_t nova = std::max(precisa, 2 * capacidade_);
    std::unique_ptr<std::uint8_t[]> maior(new std::uint8_t[nova]);
    if (usados_) std::memcpy(maior.get(), saida_.get(), usados_);
    saida_ = std::move(maior);
    capacidade_ = nova;
}

void CompressorDeflate::bytes(const std::uint8_t* p, std::size_t n) {
    if (n == 0) return;
    adler_ = adler32Bytes(adler_, p, n);
    varrer(p, n);
}

void CompressorDeflate::repetir(std::uint8_t valor, std::size_t n) {
    if (n == 0) return;
    adler_ = adler32Repetido(adler_, valor, n);
    if (ultimo_ == valor) {
        corrida_ += n;
        return;
    }
    fecharCorrida();
    literal(valor);
    ultimo_ = valor;
    corrida_ = n - 1;
    blocoSeCheio();
}

void CompressorDeflate::fecharCorrida() {
    std::size_t r = corrida_;
    corrida_ = 0;
    for (; r >= 258; r -= 258) {
        simbolos_[nSimbolos_++] = 256 + 255;
        ++contagens_[0][256 + 255];
        blocoSeCheio();
    }
    if (r >= 3) {
        simbolos_[nSimbolos_++] = static_cast<std::uint16_t>(256 + r - 3);
        ++contagens_[0][256 + r - 3];
    } else {
        for (; r > 0; --r) literal(static_cast<std::uint8_t>(ultimo_));
    }
    blocoSeCheio();
}

// From a word already loaded: the data's bytes could otherwise be the symbols' or the
// counts' (a byte may alias anything), and be loaded again after every store.
void CompressorDeflate::literais(std::uint64_t palavra, int n) {
    std::uint16_t* s = simbolos_.get() + nSimbolos_;
    for (int k = 0; k < n; ++k) {
        const auto c = static_cast<std::uint8_t>(palavra >> (8 * k));
        s[k] = c;
        ++contagens_[k & 3][c];
    }
    nSimbolos_ += static_cast<std::size_t>(n);
    blocoSeCheio();
}

void CompressorDeflate::varrer(const std::uint8_t* p, std::size_t n) {
    std::size_t i = 0;
    while (i < n) {
        if (ultimo_ >= 0) {  // the run under way goes on
            const std::size_t k = iguais(p + i, n - i, static_cast<std::uint8_t>(ultimo_));
            corrida_ += k;
            i += k;
            if (i == n) return;
            fecharCorrida();
        }
        // p[i] differs from the byte before it, and every byte up to the next run of three
        // or more like the one before them is a literal too. Eight bytes at a time: the
        // bytes equal to their predecessor, and of those the first that starts three in a
        // row (found for six of the eight places).
        literal(p[i]);
        std::size_t q = i + 1;
        for (;;) {
            if (q + 8 > n) {
                ultimo_ = p[q - 1];
                for (; q < n; ++q) {
                    if (p[q] == ultimo_) {
                        ++corrida_;
                        continue;
                    }
                    fecharCorrida();
                    literal(p[q]);
                    ultimo_ = p[q];
                    blocoSeCheio();
                }
                return;
            }
            const std::uint64_t palavra = ler64(p + q);
            const std::uint64_t z = bytesNulos(palavra ^ ler64(p + q - 1));
            const std::uint64_t tres = z & (z >> 8) & (z >> 16);
            if (tres == 0) {
                literais(palavra, 6);
                q += 6;
                continue;
            }
            const std::size_t inicio = q + static_cast<std::size_t>(std::countr_zero(tres)) / 8;
            literais(palavra, static_cast<int>(inicio - q));
            ultimo_ = p[inicio - 1];
            i = inicio;
            break;
        }
    }
}

std::span<const std::uint8_t> CompressorDeflate::terminar() {
    fecharCorrida();
    fecharBloco(true);
    garantir(8);
    if (nBits_ > 0) saida_[usados_++] = static_cast<std::uint8_t>(acumulador_);
    for (int k = 3; k >= 0; --k) saida_[usados_++] = static_cast<std::uint8_t>(adler_ >> (8 * k));
    return {saida_.get(), usados_};
}

void CompressorDeflate::fecharBloco(bool final) {
    // The literal/length counts; every match is at distance 1.
    std::array<std::uint32_t, kSimbolosLL> contagensLL{};
    for (int c = 0; c < 256; ++c)
        contagensLL[c] = contagens_[0][c] + contagens_[1][c] + contagens_[2][c] + contagens_[3][c];
    for (int k = 0; k < 256; ++k) contagensLL[257 + kComprimentos[k].codigo] += contagens_[0][256 + k];
    contagensLL[kFimDeBloco] = 1;
    std::array<std::uint8_t, kSimbolosLL> comprimentoLL;
    std::array<std::uint16_t, kSimbolosLL> codigoLL;
    comprimentosHuffman(contagensLL, 15, comprimentoLL);
    codigosCanonicos(comprimentoLL, codigoLL);
    int hlit = kSimbolosLL;
    while (hlit > 257 && comprimentoLL[hlit - 1] == 0) --hlit;

    // At most 15 + 5 + 1 bits a symbol.
    garantir(kFolgaCabecalho + 3 * (nSimbolos_ + 1));
    EscritorBits e{saida_.get() + usados_, acumulador_, nBits_};
    escreverCabecalho(e, final, comprimentoLL.data(), hlit);

    // Each symbol as one string of bits: a literal's code, or a length's code, its extra
    // bits and the distance's 0 bit; at most 21 bits.
    std::array<std::uint32_t, 512> cadeia;
    std::array<std::uint8_t, 512> nBitsCadeia;
    for (int c = 0; c < 256; ++c) {
        cadeia[c] = codigoLL[c];
        nBitsCadeia[c] = comprimentoLL[c];
    }
    for (int k = 0; k < 256; ++k) {
        const CodigoComprimento cc = kComprimentos[k];
        const int s = 257 + cc.codigo;
        cadeia[256 + k] = codigoLL[s] | static_cast<std::uint32_t>(k + 3 - cc.base) << comprimentoLL[s];
        nBitsCadeia[256 + k] = static_cast<std::uint8_t>(comprimentoLL[s] + cc.extras + 1);
    }
    // Two symbols between stores: 7 + 2 x 21 bits fit the accumulator. (Held here, not in
    // members: a byte store could otherwise be to a member, to be loaded again after it.)
    const std::uint16_t* simbolos = simbolos_.get();
    const std::size_t nSimbolos = nSimbolos_;
    std::uint8_t* saida = e.saida;
    std::uint64_t acc = e.acc;
    int n = e.n;
    std::size_t k = 0;
    for (; k + 2 <= nSimbolos; k += 2) {
        // The pair joined first, apart from the accumulator's chain of dependences.
        const unsigned a = simbolos[k], b = simbolos[k + 1];
        const int na = nBitsCadeia[a];
        acc |= (cadeia[a] | static_cast<std::uint64_t>(cadeia[b]) << na) << n;
        n += na + nBitsCadeia[b];
        std::memcpy(saida, &acc, 8);
        saida += n >> 3;
        acc >>= n & 56;
        n &= 7;
    }
    e = {saida, acc, n};
    if (k < nSimbolos) e.poe(cadeia[simbolos[k]], nBitsCadeia[simbolos[k]]);
    e.poe(codigoLL[kFimDeBloco], comprimentoLL[kFimDeBloco]);

    usados_ = static_cast<std::size_t>(e.saida - saida_.get());
    acumulador_ = e.acc;
    nBits_ = e.n;
    nSimbolos_ = 0;
    std::memset(contagens_, 0, sizeof contagens_);
}

}  // namespace tevra
