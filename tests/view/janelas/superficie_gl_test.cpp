// A frame drawn from vertex arrays against the same frame compiled into a display list in
// immediate mode, as the window used to draw it: the same pixels for every view setting
// (Xvfb, Mesa's software renderer, a framebuffer object of the window's size).
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <QImage>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>

#include <cmath>
#include <functional>
#include <memory>
#include <string>

#include "view/gl/cena_gl.h"
#include "view/gl/malha.h"
#include "view/gl/superficie_gl.h"
#include "view/quadros/quadro_compacto.h"

using namespace tevra;

namespace {

constexpr int kLargura = 599, kAltura = 507;

// A rippled sheet over [-5, 5]^2 with its true normals, so that the lit pictures vary.
NosSuperficie ondulada(int gi, int gj, double fase) {
    NosSuperficie n;
    n.alocar(gi, gj);
    for (int i = 0; i < gi; ++i)
        for (int j = 0; j < gj; ++j) {
            const std::size_t v = static_cast<std::size_t>(i * gj + j);
            const double x = -5 + 10.0 * i / (gi - 1), y = -5 + 10.0 * j / (gj - 1);
            n.x[v] = x;
            n.y[v] = y;
            n.z[v] = 1.3 * std::sin(0.9 * x + fase) * std::cos(0.7 * y);
            const double dx = 1.3 * 0.9 * std::cos(0.9 * x + fase) * std::cos(0.7 * y);
            const double dy = -1.3 * 0.7 * std::sin(0.9 * x + fase) * std::sin(0.7 * y);
            const double l = std::sqrt(dx * dx + dy * dy + 1);
            n.nx[v] = -dx / l;
            n.ny[v] = -dy / l;
            n.nz[v] = 1 / l;
        }
    return n;
}

// A tube of radius 4 round the z axis, i going round, j along it; normals outward.
NosSuperficie tubo(int gi, int gj) {
    NosSuperficie n;
    n.alocar(gi, gj);
    for (int i = 0; i < gi; ++i)
        for (int j = 0; j < gj; ++j) {
            const std::size_t v = static_cast<std::size_t>(i * gj + j);
            const double a = 2 * M_PI * (i + 0.5) / gi;
            n.x[v] = 4 * std::cos(a);
            n.y[v] = 4 * std::sin(a);
            n.z[v] = -5 + 10.0 * j / (gj - 1);
            n.nx[v] = std::cos(a);
            n.ny[v] = std::sin(a);
            n.nz[v] = 0;
        }
    return n;
}

// A checker texture with the window's texture settings.
std::vector<std::uint8_t> xadrez() {
    return montarTextura(200, 256, [](int x, int y) {
        return ((x / 16 + y / 16) % 2) ? 0x0020C040u : (0x00FFFFFFu - static_cast<std::uint32_t>(x * 256 + y));
    });
}

class SuperficieGL : public ::testing::Test {
protected:
    void SetUp() override {
        superficie_.setFormat(QSurfaceFormat::defaultFormat());
        superficie_.create();
        ASSERT_TRUE(contexto_.create());
        ASSERT_TRUE(contexto_.makeCurrent(&superficie_));
        QOpenGLFramebufferObjectFormat f;
        f.setAttachment(QOpenGLFramebufferObject::Depth);
        fbo_ = std::make_unique<QOpenGLFramebufferObject>(kLargura, kAltura, f);
        ASSERT_TRUE(fbo_->isValid());
        ASSERT_TRUE(fbo_->bind());
        glViewport(0, 0, kLargura, kAltura);
        configurarEstadoFixo();
        configurarLuzes();
        textura_ = carregarTextura(xadrez());
    }
    void TearDown() override {
        glDeleteTextures(1, &textura_);
        fbo_.reset();
        contexto_.doneCurrent();
    }

    // Two pictures in a row (what the first leaves current shows in the second), the second read back.
    QImage duasImagens(const EstadoVista& vista, const std::function<void()>& desenho) {
        for (int k = 0; k < 2; ++k) {
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            desenharCena(vista, textura_, desenho);
            glFinish();
        }
        return fbo_->toImage().convertToFormat(QImage::Format_RGB32);
    }

    // The frame through a display list, as the window drew it, and as it draws it now
    // (with `desenho`, when given, having drawn other frames before); pixels that differ.
    int comparar(const NosSuperficie& nos, bool fechada, const EstadoVista& vista, const std::string& nome,
                 DesenhoSuperficie* desenho = nullptr) {
        glNewList(1, GL_COMPILE);
        desenharSuperficie(nos, fechada);
        glEndList();
        const QImage lista = duasImagens(vista, [] { glCallList(1); });
        glDeleteLists(1, 1);

        QuadroCompacto q;
        compactar(nos, q);
        DesenhoSuperficie proprio;
        DesenhoSuperficie& d = desenho ? *desenho : proprio;
        const QImage arrays = duasImagens(vista, [&] { d.desenhar(q, fechada, vista.preenchido); });
        proprio.liberar();

        int acesos = 0, diferentes = 0;
        for (int y = 0; y < kAltura; ++y)
            for (int x = 0; x < kLargura; ++x) {
                if ((lista.pixel(x, y) & 0xFFFFFF) != 0) ++acesos;
                if (lista.pixel(x, y) != arrays.pixel(x, y)) ++diferentes;
            }
        EXPECT_GT(acesos, 2000) << nome << ": the surface should fill part of the picture";
        if (diferentes != 0 && !qEnvironmentVariableIsEmpty("TEVRA_FOTOS")) {
            const QString pasta = QString::fromLocal8Bit(qgetenv("TEVRA_FOTOS"));
            lista.save(pasta + "/" + QString::fromStdString(nome) + "-lista.png");
            arrays.save(pasta + "/" + QString::fromStdString(nome) + "-arrays.png");
        }
        return diferentes;
    }

private:
    QOffscreenSurface superficie_;
    QOpenGLContext contexto_;
    std::unique_ptr<QOpenGLFramebufferObject> fbo_;
    unsigned textura_ = 0;
};

TEST_F(SuperficieGL, DegradeTexturaLuzEContornoIguaisAosDaListaPixelAPixel) {
    const NosSuperficie folha = ondulada(23, 17, 0.4);
    EstadoVista v;
    EXPECT_EQ(comparar(folha, false, v, "degrade"), 0);
    v.texturaLigada = true;
    EXPECT_EQ(comparar(folha, false, v, "textura"), 0);
    v.iluminacaoLigada = true;
    EXPECT_EQ(comparar(folha, false, v, "textura-luz"), 0);
    v.texturaLigada = false;
    EXPECT_EQ(comparar(folha, false, v, "luz"), 0);
    // The markers' spheres take the texture coordinate the surface left current.
    v.texturaLigada = true;
    v.marcaLuz0 = v.marcaLuz1 = true;
    v.posLuz0 = {-3, 2, 6};
    v.posLuz1 = {4, -1, 5};
    EXPECT_EQ(comparar(folha, false, v, "marcas"), 0);
    EstadoVista contorno;
    contorno.preenchido = false;
    EXPECT_EQ(comparar(folha, false, contorno, "contorno"), 0);
    contorno.iluminacaoLigada = contorno.texturaLigada = true;
    EXPECT_EQ(comparar(folha, false, contorno, "contorno-luz"), 0);
}

TEST_F(SuperficieGL, VistaOrtograficaGiradaEEscaladaIgualAListaPixelAPixel) {
    const NosSuperficie folha = ondulada(31, 40, 1.7);
    EstadoVista v;
    v.perspectiva = false;
    EXPECT_EQ(comparar(folha, false, v, "ortografica"), 0);
    v.rotacao = {-61, 33, 17};
    v.escala = {1.4, 0.8, 2.1};
    v.translacao = {1, -2, 3};
    v.iluminacaoLigada = true;
    EXPECT_EQ(comparar(folha, false, v, "ortografica-girada"), 0);
    // A mirrored scale turns the faces round.
    v.escala = {-0.7, 0.9, -1.2};
    v.perspectiva = true;
    EXPECT_EQ(comparar(folha, false, v, "espelhada"), 0);
}

TEST_F(SuperficieGL, TuboFechadoEAbertoIguaisAosDaListaPixelAPixel) {
    const NosSuperficie t = tubo(24, 7);
    EstadoVista v;
    v.rotacao = {-50, 20, 0};
    for (bool fechada : {false, true}) {
        const std::string nome = fechada ? "tubo-fechado" : "tubo-aberto";
        EXPECT_EQ(comparar(t, fechada, v, nome), 0);
        EstadoVista luz = v;
        luz.iluminacaoLigada = luz.texturaLigada = true;
        EXPECT_EQ(comparar(t, fechada, luz, nome + "-luz"), 0);
        EstadoVista contorno = v;
        contorno.preenchido = false;
        EXPECT_EQ(comparar(t, fechada, contorno, nome + "-contorno"), 0);
    }
}

TEST_F(SuperficieGL, GradeGrandeIgualAListaPixelAPixel) {
    const NosSuperficie folha = ondulada(150, 130, 0.9);
    EstadoVista v;
    EXPECT_EQ(comparar(folha, false, v, "grande"), 0);
    v.iluminacaoLigada = v.texturaLigada = true;
    EXPECT_EQ(comparar(folha, true, v, "grande-luz"), 0);
    v.preenchido = false;
    EXPECT_EQ(comparar(folha, true, v, "grande-contorno"), 0);
}

TEST_F(SuperficieGL, ContornoDeOutroQuadroNaoReusaALista) {
    // One drawing goes from frame to frame, as the window plays: each outline is its own.
    DesenhoSuperficie desenho;
    EstadoVista v;
    v.preenchido = false;
    for (int n = 0; n < 3; ++n) EXPECT_EQ(comparar(ondulada(12, 14, 0.8 * n), false, v, "quadro", &desenho), 0) << n;
    const NosSuperficie t = tubo(10, 5);
    EXPECT_EQ(comparar(t, false, v, "tubo", &desenho), 0);
    EXPECT_EQ(comparar(t, true, v, "tubo-fechado", &desenho), 0);
    v.preenchido = true;
    EXPECT_EQ(comparar(t, true, v, "tubo-cheio", &desenho), 0);
    desenho.liberar();
}

TEST_F(SuperficieGL, GradesSemQuadsNaoDesenhamNadaNemDeixamArraysLigados) {
    EstadoVista v;
    for (auto [gi, gj] : {std::pair{1, 5}, std::pair{5, 1}, std::pair{0, 0}}) {
        QuadroCompacto q;
        compactar(ondulada(std::max(gi, 2), std::max(gj, 2), 0), q);
        q.gradeI = gi;
        q.gradeJ = gj;
        q.pos.resize(static_cast<std::size_t>(3 * gi * gj));
        q.normal.resize(q.pos.size());
        MalhaSuperficie malha;
        const QImage img = duasImagens(v, [&] { malha.desenhar(q, true); });
        EXPECT_EQ(img.pixel(kLargura / 2, kAltura / 2) & 0xFFFFFF, 0u) << gi << " x " << gj;
    }
    // A frame whose arrays do not match its grid is not drawn.
    QuadroCompacto torto;
    compactar(ondulada(4, 4, 0), torto);
    torto.gradeJ = 5;
    MalhaSuperficie malha;
    const QImage img = duasImagens(v, [&] { malha.desenhar(torto, false); });
    EXPECT_EQ(img.pixel(kLargura / 2, kAltura / 2) & 0xFFFFFF, 0u);
    EXPECT_FALSE(glIsEnabled(GL_VERTEX_ARRAY));
    EXPECT_FALSE(glIsEnabled(GL_COLOR_ARRAY));
}

}  // namespace
