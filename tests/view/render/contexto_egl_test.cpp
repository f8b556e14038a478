// Reading the off-screen framebuffer: rows from the top, the same bytes whether Mesa turns
// them over as it packs them or the reader turns them over itself.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cstdlib>

#include "view/render/contexto_egl.h"

using namespace tevra;

namespace {

// Odd sizes, so that a row length or a middle row taken wrongly shows.
constexpr int kL = 7, kA = 5;

// Red top row, green left column below it, the rest dark grey.
void pintar() {
    glDisable(GL_SCISSOR_TEST);
    glClearColor(0.25f, 0.25f, 0.25f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, kA - 1, kL, 1);  // OpenGL counts rows from the bottom
    glClearColor(1, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glScissor(0, 0, 1, kA - 1);
    glClearColor(0, 1, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);
    glFinish();
}

}  // namespace

TEST(ContextoEGL_, LeAsLinhasDeCimaParaBaixoComOuSemAInversaoDoMesa) {
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    std::string erro;
    auto c = ContextoEGL::criar(kL, kA, erro);
    ASSERT_TRUE(c) << erro;
    EXPECT_TRUE(c->invertendoAoLer()) << "Mesa's EGL offers GL_MESA_pack_invert";
    pintar();
    Imagem invertida, virada;
    c->ler(invertida);
    c->inverterAoLer(false);
    ASSERT_FALSE(c->invertendoAoLer());
    virada.largura = 3;  // a picture of another size is made anew
    c->ler(virada);

    for (const Imagem* img : {&invertida, &virada}) {
        ASSERT_EQ(img->largura, kL);
        ASSERT_EQ(img->altura, kA);
        ASSERT_EQ(img->rgba.size(), static_cast<std::size_t>(kL * kA * 4));
        for (int x = 0; x < kL; ++x) EXPECT_EQ(img->pixel(x, 0)[0], 255) << x;
        for (int y = 1; y < kA; ++y) {
            EXPECT_EQ(img->pixel(0, y)[1], 255) << y;
            EXPECT_EQ(img->pixel(kL - 1, y)[0], 64) << y;
        }
    }
    EXPECT_EQ(invertida.rgba, virada.rgba);

    c->inverterAoLer(true);
    Imagem denovo;
    c->ler(denovo);
    EXPECT_EQ(denovo.rgba, invertida.rgba);
}
