// Reading frame files back: the writer's own output, line endings, number forms, and
// files that are missing, short, of another grid, no regular files, or hold anything at all.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <future>
#include <random>

#include "dynamics/arquivos.h"
#include "model/obj_deformavel.h"
#include "support/casa_teste.h"
#include "support/superficie.h"
#include "view/quadros/leitor_quadros.h"
#include "view/quadros/quadros_teste.h"

using namespace tevra;

namespace {

NosSuperficie nos(int gi, int gj) {
    NosSuperficie n;
    n.alocar(gi, gj);
    return n;
}

TEST(LeitorQuadros, LeDeVoltaOQueAExecucaoEscreve) {
    PastaTemporaria pasta;
    auto obj = tubo(3, 4, 0.7, 2.0);
    obj->inicializar();
    // Values that print with and without exponents.
    obj->pos[0][5] = 1.0e-07;
    obj->pos[1][5] = -2.5e+10;
    obj->pos[2][5] = -1.0 / 3.0;
    ASSERT_FALSE(gravarQuadro(*obj, *pasta / kPadraoPontos, 1));
    ASSERT_FALSE(gravarQuadro(*obj, *pasta / kPadraoPontos, 2));

    for (int n : {1, 2}) {
        NosSuperficie lido = nos(3, 4);
        const ResultadoLeitura r = lerQuadro(caminhoQuadro(*pasta, n), n == 1, lido);
        ASSERT_EQ(r.estado, EstadoQuadro::Completo) << n;
        EXPECT_EQ(r.objeto.has_value(), n == 1);
        if (n == 1) {
            EXPECT_EQ(*r.objeto, 2.0);
        }
        for (int idx = 0; idx < 12; ++idx) {
            // Six significant digits, as printed.
            EXPECT_NEAR(lido.x[idx], obj->pos[0][idx], 1e-5 * std::abs(obj->pos[0][idx]) + 1e-12) << idx;
            EXPECT_NEAR(lido.y[idx], obj->pos[1][idx], 1e-5 * std::abs(obj->pos[1][idx]) + 1e-12) << idx;
            EXPECT_NEAR(lido.z[idx], obj->pos[2][idx], 1e-5 * std::abs(obj->pos[2][idx]) + 1e-12) << idx;
            EXPECT_NEAR(lido.nx[idx], obj->nos.normal[0][idx], 1e-5) << idx;
            EXPECT_NEAR(lido.ny[idx], obj->nos.normal[1][idx], 1e-5) << idx;
            EXPECT_NEAR(lido.nz[idx], obj->nos.normal[2][idx], 1e-5) << idx;
        }
        EXPECT_DOUBLE_EQ(lido.x[5], 1e-07);
        EXPECT_DOUBLE_EQ(lido.y[5], -2.5e+10);
        EXPECT_DOUBLE_EQ(lido.z[5], -0.333333);
    }
}

TEST(LeitorQuadros, SoAOrdemContaNaoOsRotulosNemAsQuebrasDeLinha) {
    // Labels of any kind, CR LF, tabs and extra blanks: the same values in the same places.
    const std::string lf =
        "Objeto: 0\nArea: 16\nDensidade de Massa:  0.0625\n"
        "0: 1 2 3\n0: 0 0 1\n1: 4 5 6\n1: 0 1 0\n";
    const std::string outro =
        "X 0\r\nY 16\r\nA B C: 0.0625\r\n"
        "??  1\t2 3\r\nlabel 0 0 1\r\n7: 4 5 6\r\n-: 0 1 0\r\n";
    for (const std::string& texto : {lf, outro}) {
        NosSuperficie a = nos(1, 2);
        const ResultadoLeitura r = lerQuadro(std::string_view(texto), true, a);
        ASSERT_EQ(r.estado, EstadoQuadro::Completo) << texto;
        EXPECT_EQ(a.x, (std::vector<double>{1, 4}));
        EXPECT_EQ(a.y, (std::vector<double>{2, 5}));
        EXPECT_EQ(a.z, (std::vector<double>{3, 6}));
        EXPECT_EQ(a.nx, (std::vector<double>{0, 0}));
        EXPECT_EQ(a.ny, (std::vector<double>{0, 1}));
        EXPECT_EQ(a.nz, (std::vector<double>{1, 0}));
    }
}

TEST(LeitorQuadros, CabecalhoDoPrimeiroQuadroSoNoQuadroUm) {
    const auto no = [](int, int i, int j) { return std::array<double, 6>{i + 0.5, j * 2.0, -1e-05, 0, 0, -1}; };
    // A later frame has no "Objeto:" line: read as frame 1 everything shifts and the end is short.
    const std::string segundo = textoQuadro(2, 2, 3, no);
    NosSuperficie a = nos(2, 3);
    EXPECT_EQ(lerQuadro(std::string_view(segundo), false, a).estado, EstadoQuadro::Completo);
    EXPECT_EQ(a.x[4], 1.5);
    EXPECT_EQ(a.y[4], 2.0);
    EXPECT_EQ(a.z[4], -1e-05);
    EXPECT_EQ(a.nz[4], -1.0);
    NosSuperficie b = nos(2, 3);
    EXPECT_EQ(lerQuadro(std::string_view(segundo), true, b).estado, EstadoQuadro::Incompleto);
}

TEST(LeitorQuadros, ArquivoCrLfEhLidoComoLf) {
    const auto no = [](int, int i, int j) { return std::array<double, 6>{i * 1.25, -j / 3.0, 2.5e+10, 0.6, 0.8, 0}; };
    NosSuperficie lf = nos(3, 2), crlf = nos(3, 2);
    ASSERT_EQ(lerQuadro(std::string_view(textoQuadro(1, 3, 2, no, 2, "\n")), true, lf).estado, EstadoQuadro::Completo);
    const ResultadoLeitura r = lerQuadro(std::string_view(textoQuadro(1, 3, 2, no, 2, "\r\n")), true, crlf);
    ASSERT_EQ(r.estado, EstadoQuadro::Completo);
    EXPECT_EQ(*r.objeto, 2.0);
    EXPECT_EQ(lf.x, crlf.x);
    EXPECT_EQ(lf.y, crlf.y);
    EXPECT_EQ(lf.z, crlf.z);
    EXPECT_EQ(lf.nx, crlf.nx);
    EXPECT_EQ(lf.ny, crlf.ny);
    EXPECT_EQ(lf.nz, crlf.nz);
}

TEST(LeitorQuadros, ArquivoDeOutraGradeNaoEhUmQuadroDestaGrade) {
    // A file of a larger or a smaller grid, such as an earlier run leaves: whole nodes, but
    // not as many as the grid has. The count is told; the frame is not taken as complete.
    for (const char* quebra : {"\n", "\r\n"}) {
        NosSuperficie a = nos(2, 3);
        const ResultadoLeitura maior =
            lerQuadro(std::string_view(textoQuadro(1, 4, 4, folhaSubindo, 0, quebra)), true, a);
        EXPECT_EQ(maior.estado, EstadoQuadro::GradeDiferente);
        EXPECT_EQ(maior.nosNoArquivo, 16);
        EXPECT_FALSE(maior.maisNos);
        ASSERT_TRUE(maior.objeto);
        // The nodes read are in node order: node 4 of the 2 x 3 grid is (i, j) = (1, 0) of the 4 x 4 one.
        EXPECT_EQ(a.x[4], 1.0);
        EXPECT_EQ(a.y[4], 0.0);
        NosSuperficie b = nos(2, 3);
        const ResultadoLeitura menor =
            lerQuadro(std::string_view(textoQuadro(2, 2, 2, folhaSubindo, 0, quebra)), false, b);
        EXPECT_EQ(menor.estado, EstadoQuadro::GradeDiferente);
        EXPECT_EQ(menor.nosNoArquivo, 4);
    }
    // Anything but nodes after the last node: no file the writer wrote.
    NosSuperficie c = nos(2, 3);
    EXPECT_EQ(
        lerQuadro(std::string_view(textoQuadro(1, 2, 3, folhaSubindo) + "trailing words 1 2 3\n"), true, c).estado,
        EstadoQuadro::Incompleto);
    EXPECT_EQ(lerQuadro(std::string_view(textoQuadro(1, 4, 4, folhaSubindo) + "7: 1 2\n"), true, c).estado,
              EstadoQuadro::Incompleto);
    // Whitespace after the last node is nothing.
    EXPECT_EQ(lerQuadro(std::string_view(textoQuadro(1, 2, 3, folhaSubindo) + "\r\n\n  \t\n"), true, c).estado,
              EstadoQuadro::Completo);
    // A header and no node at all tells no grid.
    EXPECT_EQ(lerQuadro(std::string_view("Objeto: 0\nArea: 16\nDensidade de Massa:  0.0625\n"), true, c).estado,
              EstadoQuadro::Incompleto);
}

TEST(LeitorQuadros, ArquivoDoEscritorTemExatamenteDuasLinhasPorNoDepoisDoCabecalho) {
    // Frame 1: three header lines, later frames two; the writer's CR LF or LF.
    for (int n : {1, 2})
        for (const char* quebra : {"\n", "\r\n"}) {
            const std::string t = textoQuadro(n, 3, 5, folhaSubindo, 2, quebra);
            EXPECT_EQ(linhas(t).size(), static_cast<std::size_t>((n == 1 ? 3 : 2) + 2 * 3 * 5));
            NosSuperficie a = nos(3, 5);
            EXPECT_EQ(lerQuadro(std::string_view(t), n == 1, a).estado, EstadoQuadro::Completo) << n << quebra;
            // One line fewer or one node more is another grid or a broken file, never this frame.
            const std::string semUltima = t.substr(0, t.rfind(quebra, t.size() - 3) + std::string(quebra).size());
            NosSuperficie b = nos(3, 5);
            EXPECT_EQ(lerQuadro(std::string_view(semUltima), n == 1, b).estado, EstadoQuadro::Incompleto);
            const std::string maisUm = t + "15: 1 2 3" + quebra + "15: 0 0 1" + quebra;
            NosSuperficie c = nos(3, 5);
            const ResultadoLeitura r = lerQuadro(std::string_view(maisUm), n == 1, c);
            EXPECT_EQ(r.estado, EstadoQuadro::GradeDiferente);
            EXPECT_EQ(r.nosNoArquivo, 16);
        }
}

TEST(LeitorQuadros, ArquivosAusentesCurtosOuComLixoSaoMarcadosENaoLidos) {
    PastaTemporaria pasta;
    NosSuperficie a = nos(2, 2);
    EXPECT_EQ(lerQuadro(*pasta / "pontos0001.txt", true, a).estado, EstadoQuadro::Ausente);
    EXPECT_EQ(lerQuadro(std::filesystem::path(), true, a).estado, EstadoQuadro::Ausente);
    // A folder where the file should be.
    std::filesystem::create_directories(*pasta / "pontos0002.txt");
    EXPECT_EQ(lerQuadro(*pasta / "pontos0002.txt", false, a).estado, EstadoQuadro::Ausente);

    const std::string bom = textoQuadro(1, 2, 2, folhaSubindo, 2);
    // Cut anywhere before the last number: short.
    for (std::size_t corte : {std::size_t{0}, std::size_t{5}, bom.size() / 2, bom.size() - 3}) {
        NosSuperficie b = nos(2, 2);
        EXPECT_EQ(lerQuadro(std::string_view(bom).substr(0, corte), true, b).estado, EstadoQuadro::Incompleto) << corte;
    }
    // The header's number read before the cut still counts.
    NosSuperficie c = nos(2, 2);
    const ResultadoLeitura r = lerQuadro(std::string_view(bom).substr(0, 12), true, c);
    EXPECT_EQ(r.estado, EstadoQuadro::Incompleto);
    ASSERT_TRUE(r.objeto);
    EXPECT_EQ(*r.objeto, 2.0);

    for (const char* lixo : {"1.5x", "abc", "nan", "-nan", "inf", "1e999", "--1", "0x10", "1,5"}) {
        std::string t = bom;
        t.replace(t.rfind("0.1"), 3, lixo);  // the height of the last node
        NosSuperficie d = nos(2, 2);
        EXPECT_EQ(lerQuadro(std::string_view(t), true, d).estado, EstadoQuadro::Incompleto) << lixo;
    }
    // The stream accepts a leading plus; so does the reader.
    std::string mais = bom;
    mais.replace(mais.find("Area: 16"), 8, "Area: +16");
    NosSuperficie e = nos(2, 2);
    EXPECT_EQ(lerQuadro(std::string_view(mais), true, e).estado, EstadoQuadro::Completo);
}

TEST(LeitorQuadros, ArquivosEnormesSoSaoLidosAteOndeUmQuadroAlcanca) {
    PastaTemporaria pasta;
    // A good 2 x 2 frame followed by 20 MB of junk: no frame the writer wrote, found out at
    // the first junk item, not read through.
    std::string t = textoQuadro(1, 2, 2, folhaSubindo, 2);
    t.append(20u << 20, 'x');
    escreverArquivo(*pasta / "a.txt", t);
    NosSuperficie a = nos(2, 2);
    EXPECT_EQ(lerQuadro(*pasta / "a.txt", true, a).estado, EstadoQuadro::Incompleto);
    EXPECT_DOUBLE_EQ(a.z[3], 0.1) << "the frame before the junk was read";
    // Numbers pushed past any plausible frame length by blanks: short.
    escreverArquivo(*pasta / "b.txt", std::string(1u << 20, ' ') + textoQuadro(1, 2, 2, folhaSubindo));
    EXPECT_EQ(lerQuadro(*pasta / "b.txt", true, a).estado, EstadoQuadro::Incompleto);
    // A frame of a far larger grid is counted only as far as a frame of this one could reach.
    escreverArquivo(*pasta / "c.txt", textoQuadro(1, 100, 100, folhaSubindo));
    const ResultadoLeitura r = lerQuadro(*pasta / "c.txt", true, a);
    EXPECT_EQ(r.estado, EstadoQuadro::GradeDiferente);
    EXPECT_TRUE(r.maisNos);
    EXPECT_GT(r.nosNoArquivo, 4);
    EXPECT_LT(r.nosNoArquivo, 10000);
    // The same file read whole as text counts every node.
    const ResultadoLeitura todo = lerQuadro(std::string_view(lerArquivo(*pasta / "c.txt")), true, a);
    EXPECT_EQ(todo.nosNoArquivo, 10000);
    EXPECT_FALSE(todo.maisNos);
}

TEST(LeitorQuadros, ArquivosLidosEmBlocosIguaisAoTextoInteiro) {
    // A frame several read blocks long, with items across the block edges: the same values
    // as the whole text gives.
    PastaTemporaria pasta;
    const auto no = [](int, int i, int j) {
        return std::array<double, 6>{i * 0.123456789, -j / 7.0, 1e-7 * (i + j), 0.6, -0.8, 1.0 / (j + 1)};
    };
    const std::string t = textoQuadro(1, 60, 70, no, 2, "\r\n");
    ASSERT_GT(t.size(), 3u << 16);
    escreverArquivo(*pasta / "f.txt", t);
    NosSuperficie a = nos(60, 70), b = nos(60, 70);
    ASSERT_EQ(lerQuadro(*pasta / "f.txt", true, a).estado, EstadoQuadro::Completo);
    ASSERT_EQ(lerQuadro(std::string_view(t), true, b).estado, EstadoQuadro::Completo);
    EXPECT_EQ(a.x, b.x);
    EXPECT_EQ(a.y, b.y);
    EXPECT_EQ(a.z, b.z);
    EXPECT_EQ(a.nx, b.nx);
    EXPECT_EQ(a.ny, b.ny);
    EXPECT_EQ(a.nz, b.nz);
    // Without the last number on disk too: short.
    ASSERT_EQ(t.substr(t.size() - 12), " 0.0142857\r\n");
    escreverArquivo(*pasta / "g.txt", t.substr(0, t.size() - 12));
    EXPECT_EQ(lerQuadro(*pasta / "g.txt", true, a).estado, EstadoQuadro::Incompleto);
}

TEST(LeitorQuadros, ArquivoEmBlocosDizOMesmoQueOTextoInteiroParaQuaisquerBytes) {
    // Damage where the blocks meet: an item cut by a block's end must read as the whole item.
    PastaTemporaria pasta;
    std::mt19937 rng(7);
    const std::string bom = textoQuadro(1, 100, 100, folhaSubindo, 2, "\r\n");
    ASSERT_GT(bom.size(), 3u << 16);
    const char alfabeto[] = "0123456789.eE+-: \n\r\tx";
    for (int rodada = 0; rodada < 60; ++rodada) {
        std::string t = bom;
        const std::size_t borda = (1u << 16) * (1 + rng() % 2);
        switch (rodada % 3) {
            case 0:
                for (int k = 0; k < 3; ++k) t[borda - 4 + rng() % 8] = alfabeto[rng() % (sizeof alfabeto - 1)];
                break;
            case 1: t = t.substr(0, borda - 3 + rng() % 6); break;
            default: t.insert(borda - 2 + rng() % 4, std::string(1 + rng() % 300, "1 :"[rng() % 3])); break;
        }
        escreverArquivo(*pasta / "q.txt", t);
        NosSuperficie a = nos(100, 100), b = nos(100, 100);
        const ResultadoLeitura ra = lerQuadro(*pasta / "q.txt", true, a);
        const ResultadoLeitura rb = lerQuadro(std::string_view(t), true, b);
        ASSERT_EQ(ra.estado, rb.estado) << rodada;
        ASSERT_EQ(ra.nosNoArquivo, rb.nosNoArquivo) << rodada;
        ASSERT_EQ(a.x, b.x) << rodada;
        ASSERT_EQ(a.nz, b.nz) << rodada;
    }
}

TEST(LeitorQuadros, FifoPastaOuDispositivoSaoAusentesSemAbrir) {
    PastaTemporaria pasta;
    NosSuperficie a = nos(2, 2);
    // A FIFO with no writer: opening it for reading would wait for one for ever.
    const auto fifo = *pasta / "pontos0001.txt";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    auto leitura = std::async(std::launch::async, [&] {
        NosSuperficie b = nos(2, 2);
        return lerQuadro(fifo, true, b).estado;
    });
    if (leitura.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
        // Let the stuck reader go before failing.
        const int fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0) ::close(fd);
        FAIL() << "reading a FIFO blocked";
    }
    EXPECT_EQ(leitura.get(), EstadoQuadro::Ausente);
    EXPECT_FALSE(arquivoRegular(fifo));
    std::filesystem::create_directories(*pasta / "pontos0002.txt");
    EXPECT_EQ(lerQuadro(*pasta / "pontos0002.txt", false, a).estado, EstadoQuadro::Ausente);
    EXPECT_EQ(lerQuadro(std::filesystem::path("/dev/zero"), false, a).estado, EstadoQuadro::Ausente);
    EXPECT_EQ(lerQuadro(std::filesystem::path("/dev/null"), false, a).estado, EstadoQuadro::Ausente);
    // A link to a regular frame file is read as that file.
    escreverArquivo(*pasta / "real.txt", textoQuadro(3, 2, 2, folhaSubindo));
    std::filesystem::create_symlink(*pasta / "real.txt", *pasta / "pontos0003.txt");
    EXPECT_EQ(lerQuadro(*pasta / "pontos0003.txt", false, a).estado, EstadoQuadro::Completo);
}

TEST(LeitorQuadros, SobreviveAQuaisquerBytes) {
    // Random bytes, and a good frame with random bytes overwritten, cut or spliced.
    std::mt19937 rng(20240611);
    const std::string bom = textoQuadro(1, 5, 4, folhaSubindo, 2, "\r\n");
    const char alfabeto[] = "0123456789.eE+-: \n\r\tnaifxObjeto\0\xff";
    int completos = 0;
    for (int rodada = 0; rodada < 4000; ++rodada) {
        std::string t;
        switch (rodada % 4) {
            case 0: {
                t.resize(rng() % 600);
                for (char& ch : t) ch = static_cast<char>(rng() & 0xFF);
                break;
            }
            case 1: {
                t.resize(rng() % 800);
                for (char& ch : t) ch = alfabeto[rng() % (sizeof alfabeto - 1)];
                break;
            }
            case 2: {
                t = bom;
                for (int k = 0, n = 1 + static_cast<int>(rng() % 8); k < n; ++k)
                    t[rng() % t.size()] = alfabeto[rng() % (sizeof alfabeto - 1)];
                break;
            }
            default: {
                t = bom.substr(0, rng() % bom.size()) + bom.substr(rng() % bom.size());
                break;
            }
        }
        NosSuperficie a = nos(5, 4);
        const ResultadoLeitura r = lerQuadro(std::string_view(t), rodada % 2 == 0, a);
        if (r.estado == EstadoQuadro::Completo) {
            ++completos;
            for (std::size_t k = 0; k < a.numNos(); ++k) ASSERT_TRUE(std::isfinite(a.x[k]) && std::isfinite(a.nz[k]));
        }
        ASSERT_EQ(a.numNos(), 20u);
    }
    EXPECT_GT(completos, 0);  // the mutations leave some frames whole
}

// The bits of two frames' arrays alike (so -0 is not 0).
bool mesmosBits(const NosSuperficie& a, const NosSuperficie& b) {
    for (auto c : {&NosSuperficie::x, &NosSuperficie::y, &NosSuperficie::z, &NosSuperficie::nx, &NosSuperficie::ny, &NosSuperficie::nz})
        if ((a.*c).size() != (b.*c).size() || std::memcmp((a.*c).data(), (b.*c).data(), (a.*c).size() * sizeof(double)) != 0)
            return false;
    return true;
}

// A number as the writer prints it behind zeros, 17 bytes after the sign or more: the same
// value, in a form only the item-by-item path reads (and one that, cut at 16 bytes, would
// read as another number).
std::string alongado(const std::string& s) {
    const std::size_t negativo = s[0] == '-';
    return s.substr(0, negativo) + std::string(std::max<std::size_t>(1, 17 + negativo - std::min<std::size_t>(17, s.size())), '0') + s.substr(negativo);
}

TEST(LeitorQuadros, CaminhoDiretoLeComoOCaminhoItemAItem) {
    // The same frame twice: numbers as the writer prints them, read by the direct path, and
    // each behind zeros to 17 bytes, read item by item. Blanks, line ends and labels of every kind,
    // numbers of every exponent, nodes missing or extra, a bad number now and then: the same
    // state and the same bits, from memory and, for the first, from a file read in blocks.
    PastaTemporaria pasta;
    std::mt19937_64 g(31);
    const char* const separadores[] = {" ", " ", " ", "  ", "\t", " \v", "\f  "};
    const char* const quebras[] = {"\n", "\n", "\r\n", "\n\n", " \r\n"};
    char buf[64];
    int estados[4] = {};
    for (int rodada = 0; rodada < 30; ++rodada) {
        const int gi = 1 + static_cast<int>(g() % 60), gj = 1 + static_cast<int>(g() % 60);
        const int nosNoTexto = gi * gj + (rodada % 4 == 0 ? static_cast<int>(g() % 5) - 2 : 0);
        std::string curto, longo;
        const auto ambos = [&](const std::string& a, const std::string& b) { curto += a, longo += b; };
        const auto igual = [&](const std::string& a) { ambos(a, a); };
        const auto separar = [&] { igual(separadores[g() % std::size(separadores)]); };
        const auto quebrar = [&] { igual(rodada % 3 == 0 ? quebras[g() % std::size(quebras)] : "\n"); };
        const auto numero = [&] {
            if (g() % 20000 == 0) return igual(g() % 2 ? "nan" : "1..5");
            const int x = g() % 4 ? static_cast<int>(g() % 8) - 5 : static_cast<int>(g() % 60) - 30;
            const double v = (g() % 2 ? -1.0 : 1.0) * (g() % 8 == 0 ? static_cast<double>(g() % 3) : std::ldexp(static_cast<double>(g() >> 11), -53) * std::pow(10.0, x));
            const std::string t(buf, static_cast<std::size_t>(std::snprintf(buf, sizeof buf, "%g", v)));
            ambos(t, alongado(t));
        };
        const auto rotulo = [&](int idx) {
            // Long labels, and now and then one longer than any item may be.
            const std::size_t longo = g() % 20000 == 0 ? 257 : 200 + g() % 57;
            igual(g() % 50 == 0 ? std::string(longo, 'r') : g() % 10 == 0 ? "x" : std::to_string(idx) + ":");
        };
        igual("Objeto:"), separar(), numero(), quebrar();
        igual("Area:"), separar(), numero(), quebrar();
        igual("Densidade de Massa:"), separar(), numero(), quebrar();
        for (int idx = 0; idx < nosNoTexto; ++idx)
            for (int linha = 0; linha < 2; ++linha) {
                rotulo(idx);
                for (int c = 0; c < 3; ++c) separar(), numero();
                quebrar();
            }
        NosSuperficie a = nos(gi, gj), b = nos(gi, gj), c = nos(gi, gj);
        const ResultadoLeitura ra = lerQuadro(std::string_view(curto), true, a);
        const ResultadoLeitura rb = lerQuadro(std::string_view(longo), true, b);
        escreverArquivo(*pasta / "q.txt", curto);
        const ResultadoLeitura rc = lerQuadro(*pasta / "q.txt", true, c);
        for (const ResultadoLeitura* r : {&rb, &rc}) {
            ASSERT_EQ(ra.estado, r->estado) << rodada;
            ASSERT_EQ(ra.nosNoArquivo, r->nosNoArquivo) << rodada;
            ASSERT_EQ(ra.maisNos, r->maisNos) << rodada;
            ASSERT_EQ(ra.objeto.has_value(), r->objeto.has_value()) << rodada;
        }
        ASSERT_TRUE(mesmosBits(a, b)) << rodada;
        ASSERT_TRUE(mesmosBits(a, c)) << rodada;
        ++estados[static_cast<int>(ra.estado)];
    }
    // Frames of each kind among them.
    EXPECT_GT(estados[static_cast<int>(EstadoQuadro::Completo)], 5);
    EXPECT_GT(estados[static_cast<int>(EstadoQuadro::Incompleto)], 0);
    EXPECT_GT(estados[static_cast<int>(EstadoQuadro::GradeDiferente)], 0);
}

TEST(LeitorQuadros, NomesDosArquivosSeguemONumeroDoQuadroNaPastaTmpDaCasa) {
    const CasaTemporaria casa;
    EXPECT_EQ(caminhoQuadro(9), *casa / "tmp" / "pontos0009.txt");
    EXPECT_EQ(caminhoQuadro(10), *casa / "tmp" / "pontos0010.txt");
    EXPECT_EQ(caminhoQuadro(999), *casa / "tmp" / "pontos0999.txt");
    EXPECT_EQ(caminhoQuadro(1000), *casa / "tmp" / "pontos1000.txt");
    EXPECT_EQ(caminhoQuadro(9999), *casa / "tmp" / "pontos9999.txt");
    EXPECT_TRUE(caminhoQuadro(0).empty());
    EXPECT_TRUE(caminhoQuadro(10000).empty());
}

}  // namespace
