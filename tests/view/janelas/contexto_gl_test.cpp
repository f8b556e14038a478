// The animation window's OpenGL side on its own (Xvfb, Mesa): what its context's birth and
// end tell the window, and that nothing is told once it is gone.
#include <gtest/gtest.h>

#include <QOpenGLWidget>
#include <QWidget>

#include <GL/gl.h>

#include <memory>
#include <utility>
#include <vector>

#include "support/esperar_qt.h"
#include "view/gl/malha.h"
#include "view/janelas/contexto_gl.h"
#include "view/quadros/quadros_teste.h"

using namespace tevra;

namespace {

struct Registro {
    int criados = 0;
    int perdas = 0;
    int pinturas = 0;
};

std::unique_ptr<ContextoGL> novoContexto(QWidget& janela, Registro& r) {
    ContextoGL::Eventos e;
    e.criado = [&r] { ++r.criados; };
    e.perdendo = [&r] { ++r.perdas; };
    e.pintar = [&r] { ++r.pinturas; };
    auto gl = std::make_unique<ContextoGL>(&janela, montarTextura(0, 0, [](int, int) { return 0u; }), std::move(e));
    gl->superficie()->setGeometry(0, 0, 120, 90);
    return gl;
}

// Frame 1 of a 3 x 3 sheet drawn filled and outlined; how many pixels each lit.
std::pair<int, int> desenharUm(ContextoGL& gl) {
    NosSuperficie nos;
    nos.alocar(3, 3);
    const std::string texto = textoQuadro(
        1, 3, 3, [](int, int i, int j) { return std::array<double, 6>{4.0 * i - 4, 4.0 * j - 4, 0, 0, 0, 1}; });
    EXPECT_EQ(lerQuadro(std::string_view(texto), true, nos).estado, EstadoQuadro::Completo);
    QuadroCompacto q;
    compactar(nos, q);
    std::pair<int, int> acesos{-1, -1};
    EXPECT_TRUE(gl.comContexto([&] {
        for (bool preenchido : {true, false}) {
            EstadoVista v;
            v.preenchido = preenchido;
            gl.desenhar(v, &q, false);
            GLint vp[4];
            glGetIntegerv(GL_VIEWPORT, vp);
            std::vector<std::uint8_t> px(static_cast<std::size_t>(vp[2] * vp[3] * 4));
            glReadPixels(0, 0, vp[2], vp[3], GL_RGBA, GL_UNSIGNED_BYTE, px.data());
            int n = 0;
            for (std::size_t k = 0; k < px.size(); k += 4) n += (px[k] | px[k + 1] | px[k + 2]) != 0;
            (preenchido ? acesos.first : acesos.second) = n;
        }
    }));
    return acesos;
}

TEST(ContextoGL, SemContextoAntesDeASuperficieSerMostrada) {
    QWidget janela;
    Registro r;
    auto gl = novoContexto(janela, r);
    EXPECT_FALSE(gl->pronto());
    bool rodou = false;
    EXPECT_FALSE(gl->comContexto([&] { rodou = true; }));
    EXPECT_FALSE(rodou);
    gl.reset();
    EXPECT_EQ(r.criados + r.perdas + r.pinturas, 0);
}

TEST(ContextoGL, SuperficieMovidaParaOutraJanelaGanhaContextoNovoEDesenhaNele) {
    QWidget janela, outra;
    janela.resize(120, 90);
    outra.resize(120, 90);
    Registro r;
    auto gl = novoContexto(janela, r);
    janela.show();
    ASSERT_TRUE(esperarAte([&] { return gl->pronto() && r.pinturas > 0; }));
    EXPECT_EQ(r.criados, 1);
    const auto [cheio, contorno] = desenharUm(*gl);
    EXPECT_GT(cheio, 300);
    EXPECT_GT(contorno, 50);
    EXPECT_LT(contorno, cheio);

    QOpenGLWidget* superficie = gl->superficie();
    superficie->setParent(&outra);
    superficie->show();
    outra.show();
    ASSERT_TRUE(esperarAte([&] { return r.criados == 2; }));
    EXPECT_EQ(r.perdas, 1) << "the window is told before the old context goes";
    EXPECT_TRUE(gl->pronto());
    // The outline's list went with the old context: drawn again in the new one, the same.
    EXPECT_EQ(desenharUm(*gl), std::make_pair(cheio, contorno));
}

// The window's destructor ends its ContextoGL first; the surface, a child of the window,
// goes later with its context. By then the window's members are gone, so the context's end
// must not reach them.
TEST(ContextoGL, DestruidoAntesDaSuperficieNaoEhMaisAvisado) {
    auto janela = std::make_unique<QWidget>();
    janela->resize(120, 90);
    Registro r;
    auto gl = novoContexto(*janela, r);
    janela->show();
    ASSERT_TRUE(esperarAte([&] { return gl->pronto() && r.pinturas > 0; }));
    desenharUm(*gl);

    gl.reset();
    const Registro antes = r;
    janela->update();
    esperarAte([] { return false; }, 100);
    janela.reset();  // the surface and its context end here
    EXPECT_EQ(r.perdas, antes.perdas);
    EXPECT_EQ(r.pinturas, antes.pinturas);
    EXPECT_EQ(r.criados, antes.criados);
}

}  // namespace
