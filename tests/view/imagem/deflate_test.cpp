// The deflate stream read back by zlib's own inflater (which checks the header and the
// Adler-32 too): the same bytes, whatever mix of runs, literals and block boundaries.
#include <gtest/gtest.h>
#include <zlib.h>

#include <random>
#include <vector>

#include "view/imagem/deflate.h"

using namespace tevra;

namespace {

// Data given in pieces, each either bytes or a run, as the row filter gives it.
struct Entrada {
    std::vector<std::uint8_t> esperado;
    std::vector<std::pair<std::size_t, std::size_t>> pedacos;  // (start, length) in esperado
    std::vector<bool> corrida;

    void bytes(const std::vector<std::uint8_t>& b) {
        pedacos.emplace_back(esperado.size(), b.size());
        corrida.push_back(false);
        esperado.insert(esperado.end(), b.begin(), b.end());
    }
    void repetir(std::uint8_t v, std::size_t n) {
        pedacos.emplace_back(esperado.size(), n);
        corrida.push_back(true);
        esperado.insert(esperado.end(), n, v);
    }
};

std::vector<std::uint8_t> comprimir(const Entrada& e, std::size_t simbolosPorBloco) {
    CompressorDeflate z(simbolosPorBloco);
    for (std::size_t k = 0; k < e.pedacos.size(); ++k) {
        const auto [inicio, n] = e.pedacos[k];
        if (e.corrida[k])
            z.repetir(e.esperado[inicio], n);
        else
            z.bytes(e.esperado.data() + inicio, n);
    }
    const auto s = z.terminar();
    return {s.begin(), s.end()};
}

// The inflated bytes; fails the test when zlib refuses the stream.
std::vector<std::uint8_t> inflar(const std::vector<std::uint8_t>& fluxo, std::size_t tamanho) {
    std::vector<std::uint8_t> saida(tamanho + 16);
    uLongf n = saida.size();
    const int r = uncompress(saida.data(), &n, fluxo.data(), fluxo.size());
    EXPECT_EQ(r, Z_OK);
    saida.resize(r == Z_OK ? n : 0);
    return saida;
}

void conferir(const Entrada& e, const char* caso) {
    for (const std::size_t bloco :
         {std::size_t{1}, std::size_t{5}, std::size_t{300}, CompressorDeflate::kSimbolosPorBloco}) {
        const auto fluxo = comprimir(e, bloco);
        EXPECT_EQ(inflar(fluxo, e.esperado.size()), e.esperado) << caso << ", blocks of " << bloco;
    }
}

std::vector<std::uint8_t> ruido(std::size_t n, std::uint32_t semente, int valores = 256) {
    std::mt19937 g(semente);
    std::vector<std::uint8_t> b(n);
    for (auto& v : b) v = static_cast<std::uint8_t>(g() % valores);
    return b;
}

TEST(Deflate, VazioEUmByte) {
    conferir(Entrada{}, "nothing");
    Entrada e;
    e.bytes({42});
    conferir(e, "one byte");
    Entrada r;
    r.repetir(0, 1);
    conferir(r, "a run of one");
}

TEST(Deflate, CorridasDeTodoComprimentoEmVoltaDe258) {
    // Runs around the longest match and its multiples, between different bytes, given as
    // bytes (found by the scan) and as runs.
    for (const bool comoCorrida : {false, true}) {
        Entrada e;
        std::uint8_t v = 1;
        for (std::size_t n : {1, 2, 3, 4, 9, 10, 11, 257, 258, 259, 260, 261, 515, 516, 517, 518, 1000, 70000}) {
            if (comoCorrida)
                e.repetir(v, n);
            else
                e.bytes(std::vector<std::uint8_t>(n, v));
            e.bytes({static_cast<std::uint8_t>(v + 100), static_cast<std::uint8_t>(v + 101)});
            v = static_cast<std::uint8_t>(v * 3 + 1);
        }
        conferir(e, comoCorrida ? "runs" : "runs among bytes");
    }
}

TEST(Deflate, CorridaQueAtravessaPedacos) {
    // A run begun at the end of one piece goes on in the next, whichever way each is given,
    // including runs begun in the last bytes, where the scan looks one byte at a time.
    Entrada e;
    for (int k = 0; k < 40; ++k) {
        auto b = ruido(static_cast<std::size_t>(k % 13), static_cast<std::uint32_t>(k));
        b.insert(b.end(), static_cast<std::size_t>(k % 5), 7);
        e.bytes(b);
        if (k % 3 == 0) e.repetir(7, static_cast<std::size_t>(k * 37 % 300 + 1));
        e.bytes(std::vector<std::uint8_t>(static_cast<std::size_t>(k % 4), 7));
        if (k % 4 == 1) e.repetir(9, 2);
    }
    conferir(e, "pieces");
}

TEST(Deflate, RuidoSemCorridasEMisturas) {
    Entrada e;
    e.bytes(ruido(60000, 1));
    conferir(e, "noise");
    // Few values: short runs everywhere, of every length up to a few.
    Entrada f;
    f.bytes(ruido(100000, 2, 3));
    conferir(f, "three values");
    // Rows as the filter leaves them: a byte, zeros, a textured middle, zeros.
    Entrada g;
    for (int y = 0; y < 300; ++y) {
        g.repetir(2, 1);
        g.repetir(0, static_cast<std::size_t>(y % 50));
        g.bytes(ruido(static_cast<std::size_t>(y % 7 * 31), static_cast<std::uint32_t>(y), 9));
        g.repetir(0, 1200);
    }
    conferir(g, "rows");
}

TEST(Deflate, CodigosLongosEmUmBloco) {
    // Literal counts doubling from symbol to symbol make the deepest Huffman tree there is:
    // the block's code is limited to 15 bits.
    Entrada e;
    std::vector<std::uint8_t> b;
    std::mt19937 g(3);
    for (int s = 0; s < 20; ++s)
        for (int k = 0; k < (1 << s); ++k) b.push_back(static_cast<std::uint8_t>(s * 2));
    std::shuffle(b.begin(), b.end(), g);
    e.bytes(b);
    const auto fluxo = comprimir(e, std::size_t{1} << 22);  // all of it in one block
    EXPECT_EQ(inflar(fluxo, e.esperado.size()), e.esperado);
}

TEST(Deflate, CorridaLongaCabeEmPoucosBytes) {
    Entrada e;
    e.repetir(0, 5'000'000);
    const auto fluxo = comprimir(e, CompressorDeflate::kSimbolosPorBloco);
    EXPECT_EQ(inflar(fluxo, e.esperado.size()), e.esperado);
    // 258 bytes a match of a bit or two.
    EXPECT_LT(fluxo.size(), 5'000'000 / 258 / 4 + 1000);
}

}  // namespace
