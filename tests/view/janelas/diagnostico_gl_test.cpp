// The plot window on a real display (Xvfb): its curves are drawn, and the line of the frame
// on screen moves along as the animation plays.
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>

#include <fstream>
#include <memory>

#include "base/tevra_home.h"
#include "support/casa_teste.h"
#include "support/dialogos_teste.h"
#include "support/esperar_qt.h"
#include "view/janelas/diagnostico_form.h"
#include "view/janelas/render_form.h"
#include "view/quadros/quadros_teste.h"

using namespace tevra;

namespace {

// Pixels near one colour, and the mean column of them.
struct Cor {
    int pixels = 0;
    double colunaMedia = 0;
};

Cor procurar(const QImage& img, int r0, int g0, int b0) {
    Cor c;
    double soma = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QRgb p = img.pixel(x, y);
            if (std::abs(qRed(p) - r0) < 30 && std::abs(qGreen(p) - g0) < 30 && std::abs(qBlue(p) - b0) < 30) {
                ++c.pixels;
                soma += x;
            }
        }
    if (c.pixels > 0) c.colunaMedia = soma / c.pixels;
    return c;
}

class DiagnosticoFormGL : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(casa_.pronta());
        usarDialogos(&dlg);
        animacao = std::make_unique<TRenderForm>();
        grafico = std::make_unique<TDiagnosticoForm>();
        grafico->ligar(animacao.get());
    }
    void TearDown() override {
        grafico.reset();
        animacao.reset();
        usarDialogos(nullptr);
    }
    QImage foto(const char* nome) {
        QCoreApplication::processEvents();
        QImage img = grafico->graficoChartView->grab().toImage().convertToFormat(QImage::Format_RGB32);
        if (const QByteArray pasta = qgetenv("TEVRA_FOTOS"); !pasta.isEmpty())
            img.save(QDir(QString::fromLocal8Bit(pasta)).absoluteFilePath(QString::fromLatin1(nome) + ".png"));
        return img;
    }

    DialogosTeste dlg;
    std::unique_ptr<TRenderForm> animacao;
    std::unique_ptr<TDiagnosticoForm> grafico;

private:
    CasaTemporaria casa_;
};

TEST_F(DiagnosticoFormGL, CurvasDesenhadasEALinhaAndaComAReproducao) {
    // Eight frames: kinetic energy rises, potential falls, their sum stays.
    const int quadros = 8;
    escreverSerie(home::tmp(), quadros, 5, 5, folhaSubindo);
    {
        std::ofstream csv(home::tmp() / "diagnostico.csv", std::ios::binary);
        csv << "frame,time,kinetic_energy,potential_energy,total_energy,area_ratio,max_speed,max_displacement,"
               "centre_x,centre_y,centre_z\n";
        for (int n = 1; n <= quadros; ++n) {
            const double t = 0.1 * (n - 1);
            csv << n << "," << t << "," << 10 * t * t << "," << -10 * t * t << ",0,1,0,0,0,0,0\n";
        }
    }
    animacao->numQuadros = quadros;
    animacao->gradeI = 5;
    animacao->gradeJ = 5;
    animacao->show();
    ASSERT_TRUE(esperarAte([&] { return !animacao->carregando(); }));
    animacao->SpeedButton4Click();
    grafico->resize(820, 520);
    grafico->show();

    const QImage inicio = foto("diagnosticos-quadro1");
    const Cor cinetica = procurar(inicio, 31, 119, 180);
    const Cor potencial = procurar(inicio, 44, 160, 44);
    const Cor total = procurar(inicio, 0, 0, 0);
    EXPECT_GT(cinetica.pixels, 200);
    EXPECT_GT(potencial.pixels, 200);
    EXPECT_GT(total.pixels, 200);
    const Cor marca1 = procurar(inicio, 214, 39, 40);
    ASSERT_GT(marca1.pixels, 100) << "the line of frame 1";

    // Hiding a curve takes it off the picture.
    grafico->mostrarCurva("potential energy", false);
    EXPECT_LT(procurar(foto("sem-potencial"), 44, 160, 44).pixels, potencial.pixels / 4);
    grafico->mostrarCurva("potential energy", true);

    // Playing: the line follows the frames to the right, to the end.
    std::vector<double> colunas;
    QObject::connect(animacao.get(), &TRenderForm::quadroMostrado, grafico.get(), [&](int) {
        const Cor m = procurar(grafico->graficoChartView->grab().toImage(), 214, 39, 40);
        if (m.pixels > 0 && (colunas.empty() || m.colunaMedia != colunas.back())) colunas.push_back(m.colunaMedia);
    });
    animacao->SpeedButton3Click();
    ASSERT_TRUE(esperarAte([&] { return !animacao->tocando(); }, 30000));
    ASSERT_EQ(animacao->quadroAtual(), quadros);
    const Cor marcaFim = procurar(foto("diagnosticos-fim"), 214, 39, 40);
    EXPECT_GT(marcaFim.colunaMedia, marca1.colunaMedia + 300) << "from the left edge to the right one";
    ASSERT_GE(colunas.size(), 4u) << "the line moved frame after frame";
    for (std::size_t k = 1; k < colunas.size(); ++k) EXPECT_GT(colunas[k], colunas[k - 1]);
}

}  // namespace
