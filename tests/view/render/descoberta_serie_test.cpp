// What tevra-render finds out from a folder of frame files by itself, and what it refuses:
// the grid only when frame 1 is the rest shape of exactly one grid, the frames from the
// files present, and one clear line for every series it cannot draw.
#include <gtest/gtest.h>

#include <string>

#include "app/execucao/execucao.h"
#include "base/erros.h"
#include "support/arquivos_teste.h"
#include "support/cenas.h"
#include "view/quadros/quadros_teste.h"
#include "view/render/descoberta_serie.h"

using namespace tevra;

namespace {

// Frame 1 of the scene as a run writes it, read back in file order.
NosSuperficie quadro1(const Cena& cena, bool& tubo) {
    PastaTemporaria pasta;
    Execucao(cena, OpcoesExecucao{*pasta}).executar();
    NosSuperficie nos;
    nos.alocar(1, cena.grade_i * cena.grade_j);
    const ResultadoLeitura r = lerQuadro(caminhoQuadro(*pasta, 1), true, nos);
    EXPECT_EQ(r.estado, EstadoQuadro::Completo);
    tubo = r.objeto && *r.objeto != 0;
    return nos;
}

std::string erroDe(const std::function<void()>& f) {
    try {
        f();
    } catch (const ErroEntrada& e) {
        return e.what();
    }
    return "(accepted)";
}

TEST(DescobertaSerie, GradeDaFormaInicialDeFolhasETubosDoMotor) {
    const std::pair<int, int> grades[] = {{4, 6},   {6, 4}, {7, 7},  {2, 50}, {50, 2},
                                          {12, 12}, {3, 5}, {24, 6}, {20, 20}};
    for (auto [gi, gj] : grades) {
        for (const Cena& cena : {cenaFolha(gi, gj, 4, 4, 0), cenaFolha(gi, gj, 1, 2, 1.5), cenaTubo(gi, gj, 1, 2)}) {
            bool tubo = false;
            const NosSuperficie nos = quadro1(cena, tubo);
            const auto g = gradeDaFormaInicial(nos, tubo);
            ASSERT_TRUE(g.has_value()) << gi << "x" << gj << " objeto " << cena.objeto;
            EXPECT_EQ(*g, std::make_pair(gi, gj)) << "objeto " << cena.objeto;
        }
    }
}

TEST(DescobertaSerie, SemFormaDeRepousoAGradeNaoSeDiz) {
    // A frame after the sheet has moved, and hand-made shapes that fit no grid or several.
    NosSuperficie nos;
    nos.alocar(1, 36);
    auto encher = [&](auto&& f) {
        for (int k = 0; k < 36; ++k) {
            const auto p = f(k);
            nos.x[k] = p[0];
            nos.y[k] = p[1];
            nos.z[k] = p[2];
        }
    };
    encher([](int) { return std::array<double, 3>{0.5, 0.5, 0.5}; });  // every node in one place
    EXPECT_FALSE(gradeDaFormaInicial(nos, false));
    encher([](int k) { return std::array<double, 3>{static_cast<double>(k), 0, 0}; });  // one straight line
    EXPECT_FALSE(gradeDaFormaInicial(nos, false));
    encher([](int k) { return std::array<double, 3>{std::sin(k * 1.7), std::cos(k * 0.3), 0.1 * k * k}; });
    EXPECT_FALSE(gradeDaFormaInicial(nos, false));
    EXPECT_FALSE(gradeDaFormaInicial(nos, true));
    // A tube's rows are not an affine grid: read as a sheet, it has no grid. (A sheet read as
    // a tube still gives its own grid: its rows too run along one axis, starting across it.)
    bool tubo = false;
    const NosSuperficie cilindro = quadro1(cenaTubo(6, 8, 1, 2), tubo);
    EXPECT_FALSE(gradeDaFormaInicial(cilindro, false));
    const NosSuperficie folha = quadro1(cenaFolha(6, 8, 2, 2, 0), tubo);
    EXPECT_EQ(gradeDaFormaInicial(folha, true), std::make_pair(6, 8));
}

TEST(DescobertaSerie, NosDoQuadroContaOsNosPeloLeiaute) {
    const auto no = [](int, int i, int j) { return std::array<double, 6>{i * 0.5, j * 1e-7, -2.5e10, 0, 0, 1}; };
    EXPECT_EQ(nosDoQuadro(textoQuadro(1, 3, 4, no), true), 12);
    EXPECT_EQ(nosDoQuadro(textoQuadro(2, 3, 4, no), false), 12);
    EXPECT_EQ(nosDoQuadro(textoQuadro(1, 3, 4, no, 0, "\r\n"), true), 12);
    const std::string t = textoQuadro(1, 3, 4, no);
    EXPECT_EQ(nosDoQuadro(t, false), -1) << "a first frame read as a later one";
    EXPECT_EQ(nosDoQuadro(t.substr(0, t.rfind("11:")), true), -1) << "cut after the last position line";
    EXPECT_EQ(nosDoQuadro(t + "12: 1 2 3\n", true), -1);
    EXPECT_EQ(nosDoQuadro("", true), -1);
}

TEST(DescobertaSerie, PrepararSerieAchaOQuePodeERecusaOResto) {
    PastaTemporaria pasta;
    const std::string p = (*pasta).string();
    EXPECT_NE(erroDe([&] { prepararSerie(*pasta, 0, 0, 0); }).find("no frame files"), std::string::npos);
    EXPECT_NE(erroDe([&] { prepararSerie(pasta / "nada", 0, 0, 0); }).find("is not a folder"), std::string::npos);

    // A run of a 5 x 4 sheet, 3 frames, and stray files that are not frames.
    Cena c = cenaFolha(5, 4, 2, 2, 0);
    c.quadros = 3;
    Execucao(c, OpcoesExecucao{*pasta}).executar();
    escreverArquivo(pasta / "pontos0009.txt.tmp", "x");
    escreverArquivo(pasta / "pontos12.txt", "x");
    escreverArquivo(pasta / "dedos0007.txt", "x");
    const SerieGravada s = prepararSerie(*pasta, 0, 0, 0);
    EXPECT_EQ(s.gradeI, 5);
    EXPECT_EQ(s.gradeJ, 4);
    EXPECT_EQ(s.quadros, 3);
    EXPECT_FALSE(s.fechada);
    EXPECT_EQ(prepararSerie(*pasta, 4, 5, 10).quadros, 10) << "a grid and frame count given are taken";

    EXPECT_NE(erroDe([&] { prepararSerie(*pasta, 6, 6, 0); }).find("has 36 nodes, but"), std::string::npos);
    EXPECT_NE(erroDe([&] { prepararSerie(*pasta, 2, 2, 0); }).find("holds 20"), std::string::npos);
    EXPECT_NE(erroDe([&] { prepararSerie(*pasta, 1, 20, 0); }).find("at least 2 nodes"), std::string::npos);
    EXPECT_NE(erroDe([&] { prepararSerie(*pasta, 0, 0, 10000); }).find("1 to 9999"), std::string::npos);

    // Frame 1 moved away from the rest shape: the grid has to be given.
    escreverArquivo(caminhoQuadro(*pasta, 1), textoQuadro(1, 5, 4, [](int, int i, int j) {
                        return std::array<double, 6>{i + 0.01 * j * j, j + 0.02 * i * i, 0.1 * i * j, 0, 0, 1};
                    }));
    const std::string semGrade = erroDe([&] { prepararSerie(*pasta, 0, 0, 0); });
    EXPECT_NE(semGrade.find("give --grid I J"), std::string::npos) << semGrade;
    EXPECT_NE(semGrade.find("20 nodes"), std::string::npos) << semGrade;
    EXPECT_EQ(prepararSerie(*pasta, 5, 4, 0).gradeI, 5);

    // Frame 1 is what tells the node count and the shape: without it nothing is drawn.
    std::filesystem::remove(caminhoQuadro(*pasta, 1));
    EXPECT_NE(erroDe([&] { prepararSerie(*pasta, 5, 4, 0); }).find("pontos0001.txt cannot be read"), std::string::npos);
    escreverArquivo(caminhoQuadro(*pasta, 1), "Objeto: 0\nArea: 1\n");
    EXPECT_NE(erroDe([&] { prepararSerie(*pasta, 5, 4, 0); }).find("not laid out"), std::string::npos);
}

}  // namespace
