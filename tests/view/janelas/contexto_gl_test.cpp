// The animation window's OpenGL side on its own (Xvfb, Mesa): what its context's birth and
// end tell the window, and that nothing is told once it is gone.
#include <gtest/gtest.h>

#include <QOpenGLWidget>
#include <QWidget>

#include <memory>

#include "support/esperar_qt.h"
#include "view/gl/malha.h"
#include "view/janelas/contexto_gl.h"
#include "view/quadros/quadros_teste.h"

using namespace tevra;

namespace {

struct Registro {
    int criados = 0;
    int criadosSemListas = 0;
    int perdas = 0;
    int pinturas = 0;
};

std::unique_ptr<ContextoGL> novoContexto(QWidget& janela, Registro& r) {
    ContextoGL::Eventos e;
    e.criado = [&r](bool perdidas) {
        ++r.criados;
        if (perdidas) ++r.criadosSemListas;
    };
    e.perdendo = [&r] { ++r.perdas; };
    e.pintar = [&r] { ++r.pinturas; };
    auto gl = std::make_unique<ContextoGL>(&janela, montarTextura(0, 0, [](int, int) { return 0u; }), std::move(e));
    gl->superficie()->setGeometry(0, 0, 120, 90);
    return gl;
}

// Frame 1 of a 3 x 3 sheet compiled into list 1.
void compilarUm(ContextoGL& gl) {
    NosSuperficie nos;
    nos.alocar(3, 3);
    const std::string texto = textoQuadro(1, 3, 3, folhaSubindo);
    ASSERT_EQ(lerQuadro(std::string_view(texto), true, nos).estado, EstadoQuadro::Completo);
    EXPECT_TRUE(gl.comContexto([&] { gl.compilar(1, nos, false); }));
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

TEST(ContextoGL, SuperficieMovidaParaOutraJanelaGanhaContextoNovoSemAsListas) {
    QWidget janela, outra;
    janela.resize(120, 90);
    outra.resize(120, 90);
    Registro r;
    auto gl = novoContexto(janela, r);
    janela.show();
    ASSERT_TRUE(esperarAte([&] { return gl->pronto() && r.pinturas > 0; }));
    EXPECT_EQ(r.criados, 1);
    EXPECT_EQ(r.criadosSemListas, 0);
    compilarUm(*gl);

    QOpenGLWidget* superficie = gl->superficie();
    superficie->setParent(&outra);
    superficie->show();
    outra.show();
    ASSERT_TRUE(esperarAte([&] { return r.criados == 2; }));
    EXPECT_EQ(r.perdas, 1) << "the workers are told to stop before the old context goes";
    EXPECT_EQ(r.criadosSemListas, 1);
    EXPECT_TRUE(gl->pronto());
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
    compilarUm(*gl);

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
