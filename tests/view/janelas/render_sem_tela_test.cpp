// The same series and view drawn twice, by the animation window under Xvfb and by
// tevra-render with no display at all: both are Mesa's software renderer, so the pictures
// must agree pixel by pixel. Ctrl+S saves exactly the picture the window shows.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <QCoreApplication>
#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>

#include <cmath>
#include <cstdio>
#include <memory>

#include "base/tevra_home.h"
#include "support/casa_teste.h"
#include "support/dialogos_teste.h"
#include "support/esperar_qt.h"
#include "support/png_teste.h"
#include "view/janelas/render_form.h"
#include "view/quadros/quadros_teste.h"

using namespace tevra;

namespace {

// A wavy 21 x 17 sheet, so that shading, texture and outlines have something to show.
std::array<double, 6> onda(int, int i, int j) {
    const double x = i * 0.5 - 5, y = j * 0.6 - 4.8;
    const double z = std::sin(x) * std::cos(y * 0.7);
    const double nx = -std::cos(x) * std::cos(y * 0.7), ny = 0.7 * std::sin(x) * std::sin(y * 0.7);
    const double n = std::sqrt(nx * nx + ny * ny + 1);
    return {x, y, z, nx / n, ny / n, 1 / n};
}

// A closed tube of radius 5 around the z axis, 24 nodes round, 6 along.
std::array<double, 6> tubo(int, int i, int j) {
    const double a = 2 * M_PI * (i + 0.5) / 24;
    return {5 * std::cos(a), 5 * std::sin(a), -4 + 8.0 * j / 5, std::cos(a), std::sin(a), 0};
}

Imagem deQImage(const QImage& q) {
    const QImage c = q.convertToFormat(QImage::Format_RGBA8888);
    Imagem img;
    img.alocar(c.width(), c.height());
    for (int y = 0; y < c.height(); ++y)
        std::copy_n(c.constScanLine(y), c.width() * 4, img.rgba.data() + static_cast<std::size_t>(y) * c.width() * 4);
    return img;
}

class RenderSemTela : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(casa_.pronta());
        usarDialogos(&dlg);
        form = std::make_unique<TRenderForm>();
        ASSERT_NE(form->superficieGL(), nullptr)
            << "no OpenGL surface on platform " << qPrintable(QGuiApplication::platformName());
    }
    void TearDown() override {
        form.reset();
        usarDialogos(nullptr);
    }

    void abrir(int gi, int gj, const NoDoQuadro& no, int objeto) {
        escreverSerie(tevra::home::tmp(), 1, gi, gj, no, objeto);
        form->numQuadros = 1;
        form->gradeI = gi;
        form->gradeJ = gj;
        form->show();
        ASSERT_TRUE(esperarAte([&] { return form->superficieGL()->isValid() && !form->carregando(); }, 30000));
    }
    void tecla(int k, int vezes = 1) {
        for (int v = 0; v < vezes; ++v) {
            QKeyEvent e(QEvent::KeyPress, k, Qt::NoModifier);
            QCoreApplication::sendEvent(form.get(), &e);
        }
    }
    Imagem janela() { return deQImage(form->superficieGL()->grabFramebuffer()); }

    // tevra-render on the same series, at the window's drawing area size by default.
    Imagem semTela(const std::string& opcoes, int gi, int gj) {
        const std::filesystem::path out = tevra::home::raiz() / "render";
        const std::string cmd = "env -u DISPLAY -u WAYLAND_DISPLAY '" TEVRA_RENDER "' '" + tevra::home::tmp().string() +
                                "' --grid " + std::to_string(gi) + " " + std::to_string(gj) + " --out '" +
                                out.string() + "' " + opcoes + " > /dev/null";
        const int st = std::system(cmd.c_str());
        EXPECT_TRUE(WIFEXITED(st) && WEXITSTATUS(st) == 0) << cmd;
        return lerPng(caminhoImagem(out, 1));
    }

    // Equal, but for a few pixels off by a unit or two of rounding.
    void iguais(const Imagem& a, const Imagem& b, const char* caso) {
        ASSERT_EQ(a.largura, b.largura) << caso;
        ASSERT_EQ(a.altura, b.altura) << caso;
        long long acesos = 0;
        for (std::size_t k = 0; k < a.rgba.size(); k += 4) acesos += a.rgba[k] + a.rgba[k + 1] + a.rgba[k + 2] > 0;
        EXPECT_GT(acesos, 1000) << caso << ": something is drawn";
        EXPECT_LE(pixelsDiferentes(a, b, 2), a.largura * a.altura / 1000) << caso;
        EXPECT_EQ(pixelsDiferentes(a, b, 8), 0) << caso;
    }

    DialogosTeste dlg;
    std::unique_ptr<TRenderForm> form;

private:
    CasaTemporaria casa_;
};

TEST_F(RenderSemTela, MesmasImagensQueAJanelaEmCadaModo) {
    abrir(21, 17, onda, 0);
    const QSize area = form->superficieGL()->size();
    EXPECT_EQ(area, QSize(599, 507)) << "tevra-render's default size is the window's drawing area";
    iguais(janela(), semTela("", 21, 17), "plain gradient");
    tecla(Qt::Key_T);
    iguais(janela(), semTela("--texture", 21, 17), "texture");
    tecla(Qt::Key_L);
    iguais(janela(), semTela("--texture --lighting", 21, 17), "lighting with texture");
    tecla(Qt::Key_T);
    tecla(Qt::Key_L);
    tecla(Qt::Key_F);
    iguais(janela(), semTela("--outline", 21, 17), "outline");
    tecla(Qt::Key_F);
    tecla(Qt::Key_V);
    tecla(Qt::Key_Up, 5);
    tecla(Qt::Key_W, 2);
    tecla(Qt::Key_Plus);  // not the numeric pad: no change
    iguais(janela(), semTela("--ortho --rotate 35,-20,0 --translate 2,0,0", 21, 17), "orthographic");
}

TEST_F(RenderSemTela, TuboFechadoVistoDeFrente) {
    tecla(Qt::Key_Down, 7);
    tecla(Qt::Key_Right, 7);
    tecla(Qt::Key_L);
    abrir(24, 6, tubo, 2);
    iguais(janela(), semTela("--rotate -1,1,0 --lighting", 24, 6), "tube");
}

TEST_F(RenderSemTela, CtrlSSalvaExatamenteAImagemDaJanela) {
    abrir(21, 17, onda, 0);
    tecla(Qt::Key_T);
    const std::filesystem::path foto = tevra::home::raiz() / "foto.png";
    dlg.respostasImagem.push_back(QString::fromStdString(foto.string()));
    QKeyEvent ctrlS(QEvent::KeyPress, Qt::Key_S, Qt::ControlModifier);
    QCoreApplication::sendEvent(form.get(), &ctrlS);
    const Imagem salva = lerPng(foto);
    EXPECT_EQ(pixelsDiferentes(salva, janela()), 0);
    iguais(salva, semTela("--texture", 21, 17), "saved picture");
}

}  // namespace
