// Reading frame files back: the writer's own output, line endings, number forms, and
// files that are missing, short or hold anything at all.
#include <gtest/gtest.h>

#include <cmath>
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

TEST(LeitorQuadros, LeSoAteOndeVaiAGradeEIgnoraORestante) {
    // A file of a larger grid: the first nodes in node order; what follows is not read.
    const std::string texto = textoQuadro(1, 4, 4, folhaSubindo) + "trailing words 1 2 3\n";
    NosSuperficie a = nos(2, 3);
    ASSERT_EQ(lerQuadro(std::string_view(texto), true, a).estado, EstadoQuadro::Completo);
    // Node 4 of the 2 x 3 grid is the fifth node of the file, (i, j) = (1, 0) of the 4 x 4 grid.
    EXPECT_EQ(a.x[4], 1.0);
    EXPECT_EQ(a.y[4], 0.0);
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
    // A good 2 x 2 frame followed by 20 MB of junk: the frame is read, the junk is not.
    std::string t = textoQuadro(1, 2, 2, folhaSubindo, 2);
    t.append(20u << 20, 'x');
    escreverArquivo(*pasta / "a.txt", t);
    NosSuperficie a = nos(2, 2);
    EXPECT_EQ(lerQuadro(*pasta / "a.txt", true, a).estado, EstadoQuadro::Completo);
    // Numbers pushed past any plausible frame length by blanks: short.
    escreverArquivo(*pasta / "b.txt", std::string(1u << 20, ' ') + textoQuadro(1, 2, 2, folhaSubindo));
    EXPECT_EQ(lerQuadro(*pasta / "b.txt", true, a).estado, EstadoQuadro::Incompleto);
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
