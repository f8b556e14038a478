#pragma once

#include <cstdint>
#include <cstring>

namespace tevra {

// Room escreverReal takes: its longest text is "-1.23457e-308", but it stores whole words and
// may write scratch up to this many bytes from where it starts.
inline constexpr int kMaxTextoReal = 24;
// Longest text escreverInteiro writes: "-2147483648".
inline constexpr int kMaxTextoInteiro = 11;

// `v` as printf's "%g" writes it (six significant digits, trailing zeros dropped, the
// exponent form below 1e-4 and from 1e6 on), with a point whatever the locale. Writes at
// p (up to kMaxTextoReal bytes, the text and scratch) and returns the text's end; no
// terminating NUL. The frame files are compared byte for byte,
// so this must never differ from printf: the fast path covers the values frames are made
// of and hands everything else, and every value that lies near a rounding tie, to the
// standard library.
char* escreverReal(char* p, double v);

// `v` in decimal; writes at p and returns the end.
char* escreverInteiro(char* p, int v);

// "0: ", "1: ", "2: ", ...: the index that opens a node's lines, kept as text and counted
// up in place, since nine steps in ten change only its last digit.
class IndiceTexto {
public:
    IndiceTexto() = default;
    explicit IndiceTexto(int inicio);  // inicio >= 0

    // The text, storing a whole 16-byte block at p; returns its end.
    char* escrever(char* p) const {
        std::memcpy(p, &baixo_, 8);
        std::memcpy(p + 8, &alto_, 8);
        return p + tamanho_;
    }
    void avancar() {
        // The last digit is byte `ultimo_` of the first word (up to eight digits); a run of
        // nines before it becomes zeros and the digit before the run goes up by one.
        if (ultimo_ < 64) [[likely]] {
            const std::uint64_t noves = baixo_ ^ 0x3939393939393939ULL;  // a zero byte a '9'
            if ((noves >> ultimo_ & 0xff) != 0) [[likely]] {
                baixo_ += std::uint64_t{1} << ultimo_;
                return;
            }
            const std::uint64_t acima = noves << (56 - ultimo_);  // the last digit on top
            const int emNove = acima == 0 ? 8 : __builtin_clzll(acima) >> 3;
            if (8 * emNove <= ultimo_) {
                const int antes = ultimo_ - 8 * emNove;  // the digit that goes up
                const std::uint64_t uns = 0x0101010101010101ULL >> (64 - 8 * emNove) << (antes + 8);
                baixo_ += (std::uint64_t{1} << antes) - 9 * uns;
                return;
            }
        }
        const Texto t = seguinte(baixo_, alto_, tamanho_);
        baixo_ = t.baixo;
        alto_ = t.alto;
        tamanho_ += 1 - t.igual;
        ultimo_ = 8 * (tamanho_ - 3);
    }

private:
    // The text in two words, so that it lives in registers: read back from memory right
    // after a digit is stored, it would wait for the store.
    std::uint64_t baixo_ = '0' | std::uint64_t{':'} << 8 | std::uint64_t{' '} << 16;
    std::uint64_t alto_ = 0;
    int tamanho_ = 3;  // an int's ten digits and ": " fit the 16 bytes
    int ultimo_ = 0;

    // The next index after the text of tamanho bytes, beyond what avancar does in place (all
    // nines, more than eight digits); by value, so that the counter's own words stay out of
    // memory.
    struct Texto {
        std::uint64_t baixo, alto;
        int igual;  // 1: as long as before; 0: one digit more
    };
    static Texto seguinte(std::uint64_t baixo, std::uint64_t alto, int tamanho);
};

// For each node k < nos, one line per trio t (trios of 1 to 4):
//   k ": " colunas[3t][k] " " colunas[3t + 1][k] " " colunas[3t + 2][k] "\n"
// with the numbers as escreverReal writes them. Writes at p, up to kMaxLinha bytes a line
// and scratch as escreverReal, and returns the end. Where the processor has AVX2, the
// numbers are worked four at a time (numero_texto_avx2.cpp); the bytes are the same.
inline constexpr int kMaxLinha = kMaxTextoInteiro + 2 + 3 * (kMaxTextoReal + 1) + 1;
char* escreverLinhas(char* p, const double* const* colunas, int trios, int nos);

// The two builds escreverLinhas chooses from, for the tests that compare them; the second
// only where linhasAvx2Disponivel().
char* escreverLinhasEscalar(char* p, const double* const* colunas, int trios, int nos);
char* escreverLinhasAvx2(char* p, const double* const* colunas, int trios, int nos);
bool linhasAvx2Disponivel();

}  // namespace tevra
