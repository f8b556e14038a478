// Pictures of the animation window under a real OpenGL context (Xvfb, Mesa's software
// renderer): what a person would see of a known series with each view setting.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QThread>

#include <cmath>
#include <map>
#include <memory>

#include "base/tevra_home.h"
#include "support/casa_teste.h"
#include "support/esperar_qt.h"
#include "view/janelas/render_form.h"
#include "view/quadros/quadros_teste.h"

using namespace tevra;

namespace {

bool esperar(const std::function<bool()>& pronto, int ms = 30000) { return esperarAte(pronto, ms); }

// A flat 11 x 11 sheet from -5 to 5 in x and y at height 0, normals +z.
std::array<double, 6> folha(int, int i, int j) { return {i - 5.0, j - 5.0, 0, 0, 0, 1}; }

// A tube of radius 5 around the z axis from z = -4 to 4: i goes round (24 nodes, the gap
// of an open tube centred on +x), j along the axis (6 nodes); normals outward.
std::array<double, 6> tubo(int, int i, int j) {
    const double a = 2 * M_PI * (i + 0.5) / 24;
    return {5 * std::cos(a), 5 * std::sin(a), -4 + 8.0 * j / 5, std::cos(a), std::sin(a), 0};
}

struct Contagem {
    int acesos = 0;  // not black
    int brancos = 0;
    int azuis = 0;
    int verdes = 0;
    int amarelos = 0;
    int foraDoDegrade = 0;  // neither black nor (c, c, 1): white-to-blue only
    int cinzentos = 0;      // r = g = b (within 3), not black
};

Contagem contar(const QImage& img) {
    Contagem c;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QRgb p = img.pixel(x, y);
            const int r = qRed(p), g = qGreen(p), b = qBlue(p);
            if (r + g + b < 12) continue;
            ++c.acesos;
            if (r > 220 && g > 220 && b > 220) ++c.brancos;
            if (r < 40 && g < 40 && b > 200) ++c.azuis;
            if (g > r + 50 && g > b + 10) ++c.verdes;
            if (r > 120 && g > 100 && b < 40) ++c.amarelos;
            if (std::abs(r - g) > 3 || b < std::max(r, g) - 3) ++c.foraDoDegrade;
            if (std::abs(r - g) <= 3 && std::abs(g - b) <= 3) ++c.cinzentos;
        }
    return c;
}

int diferentes(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) return a.width() * a.height();
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y)) ++n;
    return n;
}

class RenderFormGL : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(casa_.pronta());
        form = std::make_unique<TRenderForm>();
        ASSERT_NE(form->superficieGL(), nullptr)
            << "no OpenGL surface on platform " << qPrintable(QGuiApplication::platformName());
    }
    void TearDown() override { form.reset(); }

    void serie(int quadros, int gi, int gj, const NoDoQuadro& no, int objeto = 0) {
        escreverSerie(tevra::home::tmp(), quadros, gi, gj, no, objeto);
    }
    void abrir(int quadros, int gi, int gj) {
        form->numQuadros = quadros;
        form->gradeI = gi;
        form->gradeJ = gj;
        form->show();
        ASSERT_TRUE(esperar([&] { return form->superficieGL()->isValid() && !form->carregando(); }));
    }
    void tecla(int k, int vezes = 1, Qt::KeyboardModifiers m = Qt::NoModifier) {
        for (int v = 0; v < vezes; ++v) {
            QKeyEvent e(QEvent::KeyPress, k, m);
            QCoreApplication::sendEvent(form.get(), &e);
        }
    }
    // The framebuffer as drawn now; kept as a PNG when TEVRA_FOTOS names a folder.
    QImage foto(const char* nome) {
        QImage img = form->superficieGL()->grabFramebuffer().convertToFormat(QImage::Format_RGB32);
        if (const QByteArray pasta = qgetenv("TEVRA_FOTOS"); !pasta.isEmpty()) {
            const QDir dir(QString::fromLocal8Bit(pasta));
            img.save(dir.absoluteFilePath(QString::fromLatin1(nome) + ".png"));
            // And the whole window, tool bar and status bar with it.
            form->grab().save(dir.absoluteFilePath(QString::fromLatin1(nome) + "-janela.png"));
        }
        return img;
    }
    // Turns the view to look straight down the z axis (the rotation becomes (-1, 1, 0)).
    void deFrente() {
        tecla(Qt::Key_Down, 7);
        tecla(Qt::Key_Right, 7);
    }

    std::unique_ptr<TRenderForm> form;

private:
    CasaTemporaria casa_;
};

TEST_F(RenderFormGL, SuperficieSemLuzNemTexturaEhDegradeDeBrancoAAzulSobrePreto) {
    serie(1, 11, 11, folha);
    abrir(1, 11, 11);
    const QImage img = foto("degrade");
    const Contagem c = contar(img);
    EXPECT_GT(c.acesos, img.width() * img.height() / 20);
    EXPECT_GT(c.brancos, 200);
    EXPECT_GT(c.azuis, 200);
    EXPECT_EQ(c.foraDoDegrade, 0);
    EXPECT_EQ(c.verdes + c.amarelos, 0);
    // The surface lies in the middle; the corners are background.
    for (QPoint p : {QPoint(3, 3), QPoint(img.width() - 4, 3), QPoint(3, img.height() - 4)})
        EXPECT_EQ(img.pixel(p) & 0xFFFFFF, 0u) << p.x() << "," << p.y();
}

TEST_F(RenderFormGL, TexturaMostraAsCoresDaBandeira) {
    serie(1, 11, 11, folha);
    abrir(1, 11, 11);
    tecla(Qt::Key_T);
    const Contagem semLuz = contar(foto("textura"));
    EXPECT_GT(semLuz.verdes, 500);
    EXPECT_GT(semLuz.amarelos, 200);
    // Lit, the white material shows the flag's own colours; the vertex colours no longer count.
    tecla(Qt::Key_L);
    const Contagem comLuz = contar(foto("textura-luz"));
    EXPECT_GT(comLuz.verdes, 500);
    EXPECT_GT(comLuz.amarelos, 500);
    tecla(Qt::Key_T);
    const Contagem soLuz = contar(foto("luz"));
    EXPECT_EQ(soLuz.verdes + soLuz.amarelos, 0);
    EXPECT_GT(soLuz.cinzentos, soLuz.acesos * 95 / 100);  // lit white material: greys, no blue corners
}

TEST_F(RenderFormGL, FAlternaOsContornos) {
    serie(1, 11, 11, folha);
    abrir(1, 11, 11);
    const QImage cheio = foto("cheio");
    tecla(Qt::Key_F);
    const QImage linhas = foto("linhas");
    const int a = contar(cheio).acesos, b = contar(linhas).acesos;
    EXPECT_GT(b, 0);
    EXPECT_LT(b, a / 2);
    // The middle of the sheet: filled there, mostly black between the lines.
    const QPoint meio(cheio.width() / 2, cheio.height() / 2);
    EXPECT_NE(cheio.pixel(meio) & 0xFFFFFF, 0u);
    tecla(Qt::Key_F);
    EXPECT_EQ(diferentes(cheio, foto("cheio-de-novo")), 0);
}

TEST_F(RenderFormGL, TuboFechadoTemSuaFaixaTuboAbertoUmVao) {
    // Looking down the tube's axis the wall is a ring; an open tube misses a wedge on +x.
    deFrente();  // the view is kept from one showing to the next
    auto fenda = [&](int objeto) {
        serie(1, 24, 6, tubo, objeto);
        abrir(1, 24, 6);
        const QImage img = foto(objeto == 0 ? "tubo-aberto" : "tubo-fechado");
        // Ring point at angle 0 (radius ~0.38 of the half-width, between the near and far ends).
        const int x = static_cast<int>((1 + 0.38) / 2 * img.width()), y = img.height() / 2;
        const int xOposto = img.width() - 1 - x;
        int acesos = 0, opostos = 0;
        for (int dy = -2; dy <= 2; ++dy)
            for (int dx = -2; dx <= 2; ++dx) {
                if ((img.pixel(x + dx, y + dy) & 0xFFFFFF) != 0) ++acesos;
                if ((img.pixel(xOposto + dx, y + dy) & 0xFFFFFF) != 0) ++opostos;
            }
        EXPECT_EQ(opostos, 25) << "the ring on the -x side is drawn either way";
        return acesos;
    };
    EXPECT_EQ(fenda(0), 0);
    EXPECT_TRUE(form->superficieFechada() == false);
    EXPECT_EQ(fenda(2), 25);
    EXPECT_TRUE(form->superficieFechada());
}

TEST_F(RenderFormGL, TeclasDeRotacaoGiramAImagem) {
    serie(1, 11, 11, folha);
    abrir(1, 11, 11);
    const QImage antes = foto("rotacao-antes");
    const int total = antes.width() * antes.height();
    for (int k : {Qt::Key_Right, Qt::Key_Up, Qt::Key_PageUp}) {
        tecla(k, 10);
        const QImage depois = foto("rotacao-depois");
        EXPECT_GT(diferentes(antes, depois), total / 50) << k;
        // Back by the same amount: the same picture.
        tecla(k == Qt::Key_Right ? Qt::Key_Left : (k == Qt::Key_Up ? Qt::Key_Down : Qt::Key_PageDown), 10);
        EXPECT_EQ(diferentes(antes, foto("rotacao-volta")), 0) << k;
    }
    // Translation, scale and projection change it too.
    for (auto [k, m] : {std::pair{Qt::Key_W, Qt::NoModifier}, std::pair{Qt::Key_Minus, Qt::KeypadModifier},
                        std::pair{Qt::Key_V, Qt::NoModifier}}) {
        tecla(k, 5, m);
        EXPECT_GT(diferentes(antes, foto("vista")), total / 100) << k;
    }
}

TEST_F(RenderFormGL, MarcaDaLuzSegueAsTeclasDeLuz) {
    serie(1, 11, 11, folha);
    abrir(1, 11, 11);
    tecla(Qt::Key_L);
    // Bring light 0 in front of the sheet: x -20 -> 0.1, y 10 -> 0.1, z 20 -> 11.
    tecla(Qt::Key_U, 67);
    tecla(Qt::Key_H, 33);
    tecla(Qt::Key_N, 30);
    const QImage semMarca = foto("luz-movida");
    tecla(Qt::Key_1);
    const QImage marcada = foto("luz-marcada");
    EXPECT_GT(diferentes(semMarca, marcada), 1000);  // the marker sphere
    tecla(Qt::Key_Y, 10);                            // 3 units along -x
    const QImage deslocada = foto("luz-deslocada");
    EXPECT_GT(diferentes(marcada, deslocada), 500);
    // Without lighting neither marker nor lit material: the plain gradient again.
    tecla(Qt::Key_L);
    EXPECT_EQ(contar(foto("sem-luz")).foraDoDegrade, 0);
    tecla(Qt::Key_U, 10);  // inert now
    tecla(Qt::Key_L);
    EXPECT_EQ(diferentes(deslocada, foto("luz-de-novo")), 0);
}

TEST_F(RenderFormGL, ReproducaoMostraCadaQuadroPorSuaVez) {
    // The sheet rises 2 units a frame: three distinct pictures, then it stops on the last.
    serie(3, 11, 11,
          [](int n, int i, int j) { return std::array<double, 6>{i - 5.0, j - 5.0 + 2 * (n - 1), 0, 0, 0, 1}; });
    abrir(3, 11, 11);
    const QImage q1 = foto("quadro1");
    form->SpeedButton6Click();
    const QImage q2 = foto("quadro2");
    EXPECT_GT(diferentes(q1, q2), 1000);
    form->SpeedButton2Click();
    EXPECT_EQ(diferentes(q1, foto("quadro1-de-novo")), 0);
    form->SpeedButton3Click();
    ASSERT_TRUE(esperar([&] { return !form->tocando(); }));
    EXPECT_EQ(form->quadroAtual(), 3);
    form->SpeedButton5Click();
    EXPECT_EQ(diferentes(q2, foto("quadro2-de-novo")), 0);
}

// The program ends with the window shown, once in the middle of a load and once after it:
// nothing of the window may run once it is gone (sanitizers report such a use here).
TEST_F(RenderFormGL, JanelaDestruidaAindaVisivelNaoDeixaNadaRodando) {
    serie(300, 60, 60,
          [](int n, int i, int j) { return std::array<double, 6>{i / 6.0 - 5, j / 6.0 - 5, n / 100.0, 0, 0, 1}; });
    form->numQuadros = 300;
    form->gradeI = 60;
    form->gradeJ = 60;
    form->show();
    ASSERT_TRUE(esperar([&] { return form->superficieGL()->isValid() && form->serie().quadrosProntos() > 0; }));
    EXPECT_TRUE(form->carregando()) << "the load should still be going on";
    form.reset();
    esperarAte([] { return false; }, 200);  // messages posted to the window meanwhile are dropped

    form = std::make_unique<TRenderForm>();
    serie(2, 11, 11, folha);
    abrir(2, 11, 11);
    form->SpeedButton3Click();
    form.reset();
    esperarAte([] { return false; }, 200);
}

TEST_F(RenderFormGL, SerieTransmitidaDoDiscoMostraAsMesmasImagens) {
    // 30 frames, each a step further on; with memory for a few of them only, a frame read
    // back from disk looks as it does when the whole series is held.
    serie(30, 11, 11,
          [](int n, int i, int j) { return std::array<double, 6>{i - 5.0, j - 8.0 + 0.5 * n, 0.1 * n, 0, 0, 1}; });
    auto irPara = [&](int q) {
        form->SpeedButton2Click();
        for (int k = 1; k < q; ++k) form->SpeedButton6Click();
        ASSERT_EQ(form->quadroAtual(), q);
        ASSERT_TRUE(esperar([&] { return form->serie().quadro(form->serie().imagemDoQuadro(q)) != nullptr; }));
    };
    std::map<int, QImage> inteira;
    abrir(30, 11, 11);
    ASSERT_FALSE(form->transmitindo());
    for (int q : {30, 1, 17}) {
        irPara(q);
        inteira[q] = foto("inteira");
    }
    form->definirOrcamento(170'000);
    abrir(30, 11, 11);
    ASSERT_TRUE(form->transmitindo());
    for (int q : {30, 1, 17}) {
        irPara(q);
        EXPECT_EQ(diferentes(inteira[q], foto("transmitida")), 0) << q;
    }
    tecla(Qt::Key_F);
    const QImage contorno = foto("transmitida-contorno");
    EXPECT_GT(diferentes(inteira[17], contorno), 1000);
}

TEST_F(RenderFormGL, ExecucaoAoVivoDesenhaCadaQuadroQueChega) {
    std::filesystem::create_directories(tevra::home::tmp());
    form->iniciarAoVivo(11, 11);
    ASSERT_TRUE(esperar([&] { return form->superficieGL()->isValid(); }));
    QImage anterior = foto("vivo0");
    EXPECT_EQ(contar(anterior).acesos, 0) << "nothing before the first frame";
    for (int n = 1; n <= 3; ++n) {
        const auto arquivo = caminhoQuadro(tevra::home::tmp(), n);
        escreverArquivo(arquivo, textoQuadro(n, 11, 11, [](int q, int i, int j) {
                            return std::array<double, 6>{i - 5.0, j - 5.0 + 2 * (q - 1), 0, 0, 0, 1};
                        }));
        form->quadroAoVivo(n, arquivo);
        ASSERT_TRUE(esperar([&] { return form->numQuadros == n; }));
        const QImage agora = foto(n == 1 ? "vivo1" : "vivo");
        EXPECT_GT(diferentes(anterior, agora), 1000) << n;
        anterior = agora;
    }
    // After the run, playback of the whole series goes through the ordinary showing.
    abrir(3, 11, 11);
    form->SpeedButton1Click();
    EXPECT_EQ(diferentes(anterior, foto("vivo-depois")), 0);
}

}  // namespace
