// Pictures drawn off-screen with no display at all (DISPLAY and WAYLAND_DISPLAY unset):
// the window's colours, its orientation, the texture and lighting, and --fit, which must put
// any surface, however small or far away, across the picture.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "view/gl/malha.h"
#include "view/render/enquadramento.h"
#include "view/render/renderizador.h"
#include "view/render/textura.h"

using namespace tevra;

namespace {

// A flat sheet of gi x gj nodes centred on (cx, cy, 0) with sides lado, normals +z, as the
// drawing takes it.
QuadroCompacto folha(int gi, int gj, double lado = 10, double cx = 0, double cy = 0) {
    NosSuperficie n;
    n.alocar(gi, gj);
    for (int i = 0; i < gi; ++i)
        for (int j = 0; j < gj; ++j) {
            const int v = i * gj + j;
            n.x[v] = cx + lado * (static_cast<double>(i) / (gi - 1) - 0.5);
            n.y[v] = cy + lado * (static_cast<double>(j) / (gj - 1) - 0.5);
            n.nz[v] = 1;
        }
    QuadroCompacto q;
    compactar(n, q);
    return q;
}

struct Acesos {
    int n = 0;
    int x0 = 1 << 30, x1 = -1, y0 = 1 << 30, y1 = -1;  // their bounding box
    int foraDoDegrade = 0;                             // not (c, c, 1): white to blue only
    int verdes = 0;
};

Acesos acesos(const Imagem& img) {
    Acesos a;
    for (int y = 0; y < img.altura; ++y)
        for (int x = 0; x < img.largura; ++x) {
            const auto* p = img.pixel(x, y);
            if (p[0] + p[1] + p[2] == 0) continue;
            ++a.n;
            a.x0 = std::min(a.x0, x);
            a.x1 = std::max(a.x1, x);
            a.y0 = std::min(a.y0, y);
            a.y1 = std::max(a.y1, y);
            if (std::abs(p[0] - p[1]) > 3 || p[2] < std::max(p[0], p[1]) - 3) ++a.foraDoDegrade;
            if (p[1] > p[0] + 50 && p[1] > p[2] + 10) ++a.verdes;
        }
    return a;
}

class Renderizador_ : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        // No display of any kind: what a cluster node offers.
        unsetenv("DISPLAY");
        unsetenv("WAYLAND_DISPLAY");
    }
    std::unique_ptr<Renderizador> criar(int l, int a, bool comTextura = false) {
        std::string erro;
        auto r = Renderizador::criar(
            l, a, comTextura ? lerTextura(localizarTextura()) : montarTextura(0, 0, [](int, int) { return 0u; }), erro);
        EXPECT_TRUE(r) << erro;
        return r;
    }
};

TEST_F(Renderizador_, SemTelaDesenhaODegradeDaJanelaDeCimaParaBaixo) {
    auto r = criar(200, 150);
    ASSERT_TRUE(r);
    EstadoVista v;
    const QuadroCompacto f = folha(11, 11);
    const Imagem& img = r->desenhar(v, &f, false);
    ASSERT_EQ(img.largura, 200);
    ASSERT_EQ(img.altura, 150);
    const Acesos a = acesos(img);
    EXPECT_GT(a.n, 500);
    EXPECT_EQ(a.foraDoDegrade, 0);
    for (auto [x, y] : {std::pair{0, 0}, std::pair{199, 0}, std::pair{0, 149}, std::pair{199, 149}})
        EXPECT_EQ(img.pixel(x, y)[0] + img.pixel(x, y)[1] + img.pixel(x, y)[2], 0);

    // Moved up the screen, it is drawn in the upper rows: rows run from the top.
    v.rotacao = {0, 0, 0};
    v.translacao = {0, 9, 0};
    const QuadroCompacto pequena = folha(11, 11, 4);
    const Acesos alto = acesos(r->desenhar(v, &pequena, false));
    EXPECT_GT(alto.n, 0);
    EXPECT_LT(alto.y1, 150 / 2);

    // No surface: the black background only.
    EXPECT_EQ(acesos(r->desenhar(EstadoVista{}, nullptr, false)).n, 0);
}

TEST_F(Renderizador_, TexturaEIluminacaoComoNaJanela) {
    auto r = criar(300, 300, true);
    ASSERT_TRUE(r);
    EstadoVista v;
    v.rotacao = {0, 0, 0};
    v.texturaLigada = true;
    const QuadroCompacto f = folha(21, 21, 20);
    EXPECT_GT(acesos(r->desenhar(v, &f, false)).verdes, 2000) << "the flag's green";
    v.texturaLigada = false;
    v.iluminacaoLigada = true;
    const Acesos luz = acesos(r->desenhar(v, &f, false));
    EXPECT_GT(luz.n, 2000);
    EXPECT_EQ(luz.verdes, 0);
    // Two contexts in one process draw alike.
    auto outro = criar(300, 300, true);
    ASSERT_TRUE(outro);
    const Imagem a = r->desenhar(v, &f, false);
    EXPECT_EQ(a.rgba, outro->desenhar(v, &f, false).rgba);
}

TEST_F(Renderizador_, TamanhoAlemDoOpenGLERecusadoComMotivo) {
    std::string erro;
    EXPECT_FALSE(Renderizador::criar(20000, 10, montarTextura(0, 0, [](int, int) { return 0u; }), erro));
    EXPECT_NE(erro.find("20000x10"), std::string::npos) << erro;
}

TEST_F(Renderizador_, EnquadrarPoeQualquerSuperficieAtravesDaImagem) {
    auto r = criar(400, 300);
    ASSERT_TRUE(r);
    // Tiny and far off the axis, large and tilted: without --fit one is a speck off screen,
    // the other overflows.
    const QuadroCompacto pequena = folha(11, 11, 0.05, 40, -25);
    const QuadroCompacto grande = folha(11, 11, 200);
    for (const QuadroCompacto* s : {&pequena, &grande}) {
        for (bool perspectiva : {true, false}) {
            for (Vetor3 rot : {Vetor3{20, -20, 0}, Vetor3{-70, 10, 35}}) {
                EstadoVista v;
                v.perspectiva = perspectiva;
                v.rotacao = rot;
                Caixa c;
                c.incluir(*s);
                enquadrar(c, v);
                const Acesos a = acesos(r->desenhar(v, s, false));
                ASSERT_GT(a.n, 0);
                // Fills the picture along one side up to the margin, and stays inside it.
                const double largura = (a.x1 - a.x0 + 1) / 400.0, altura = (a.y1 - a.y0 + 1) / 300.0;
                EXPECT_GT(std::max(largura, altura), 0.8) << perspectiva << " " << rot.x;
                EXPECT_GT(a.x0, 0);
                EXPECT_LT(a.x1, 399);
                EXPECT_GT(a.y0, 0);
                EXPECT_LT(a.y1, 299);
                // The box's centre is the middle of the picture.
                EXPECT_NEAR((a.x0 + a.x1) / 2.0, 200, 400 * 0.15);
                EXPECT_NEAR((a.y0 + a.y1) / 2.0, 150, 300 * 0.15);
            }
        }
    }
}

}  // namespace
