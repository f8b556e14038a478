// The headless renderer reads the texture without the toolkit: it must give the very texels
// the animation window builds with Qt's image reader from the same file.
#include <gtest/gtest.h>

#include <QImage>

#include <random>

#include "support/arquivos_teste.h"
#include "view/janelas/imagens.h"
#include "view/render/textura.h"

namespace {

std::vector<std::uint8_t> daJanela(const std::filesystem::path& arquivo) {
    QString erro;
    const QImage img = imagens::lerImagem(QString::fromStdString(arquivo.string()), erro);
    EXPECT_FALSE(img.isNull()) << erro.toStdString();
    return imagens::texelsDaImagem(img);
}

TEST(TexturaSemToolkit, MesmosTexelsQueOsDaJanelaParaATexturaDistribuida) {
    const std::filesystem::path flag = std::filesystem::path(TEVRA_SOURCE_DIR) / "assets" / "flag_brasil_hi_4.bmp";
    const std::vector<std::uint8_t> janela = daJanela(flag);
    ASSERT_EQ(janela.size(), 256u * 256u * 4u);
    EXPECT_EQ(tevra::lerTextura(flag), janela);
}

TEST(TexturaSemToolkit, MesmosTexelsParaOsBitmapsQueOQtEscreve) {
    PastaTemporaria pasta;
    std::mt19937 g(7);
    // Larger than the texture along one side and smaller along the other; true colour,
    // a palette of 256 and of 2 colours.
    QImage rgb(300, 131, QImage::Format_RGB32);
    for (int y = 0; y < rgb.height(); ++y)
        for (int x = 0; x < rgb.width(); ++x) rgb.setPixel(x, y, qRgb(g() % 256, g() % 256, g() % 256));
    QImage paleta(77, 260, QImage::Format_Indexed8);
    paleta.setColorCount(256);
    for (int k = 0; k < 256; ++k) paleta.setColor(k, qRgb(g() % 256, g() % 256, g() % 256));
    for (int y = 0; y < paleta.height(); ++y)
        for (int x = 0; x < paleta.width(); ++x) paleta.setPixel(x, y, g() % 256);
    QImage mono(45, 33, QImage::Format_Mono);
    mono.setColor(0, qRgb(200, 30, 10));
    mono.setColor(1, qRgb(5, 90, 250));
    for (int y = 0; y < mono.height(); ++y)
        for (int x = 0; x < mono.width(); ++x) mono.setPixel(x, y, g() % 2);
    int k = 0;
    for (const QImage* img : {&rgb, &paleta, &mono}) {
        const std::filesystem::path arquivo = pasta / ("t" + std::to_string(k++) + ".bmp");
        ASSERT_TRUE(img->save(QString::fromStdString(arquivo.string()), "BMP"));
        EXPECT_EQ(tevra::lerTextura(arquivo), daJanela(arquivo)) << arquivo;
    }
}

}  // namespace
