// The PNG writers on worker threads: every picture handed over ends as its file with the
// same pixels, pictures handed back for reuse never reach a file they were not drawn for,
// and after a failure nothing more is written and no file is left half-made.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "support/arquivos_teste.h"
#include "support/png_teste.h"
#include "view/render/gravador_png.h"

using namespace tevra;

namespace {

// Picture k: its own colour in every pixel but a diagonal, so that pictures differ.
Imagem imagemNumero(int k, int l = 64, int a = 48) {
    Imagem img;
    img.alocar(l, a);
    for (int y = 0; y < a; ++y)
        for (int x = 0; x < l; ++x) {
            auto* p = img.rgba.data() + (static_cast<std::size_t>(y) * l + x) * 4;
            p[0] = static_cast<std::uint8_t>(k * 37);
            p[1] = static_cast<std::uint8_t>(x == y ? 255 : k * 11);
            p[2] = static_cast<std::uint8_t>(y);
            p[3] = 255;
        }
    return img;
}

std::string nome(int k) {
    std::string s("q");
    s.append(std::to_string(k)).append(".png");
    return s;
}

TEST(GravadorPng, CadaImagemEmSeuArquivoMesmoComImagensReaproveitadas) {
    PastaTemporaria pasta;
    constexpr int kImagens = 40;
    int reaproveitadas = 0;
    {
        GravadorPng gravador(3);
        for (int k = 0; k < kImagens; ++k) {
            // Drawn into what the writers hand back, as the renderer does: the picture must
            // be one whose file is written, and is overwritten in full.
            Imagem img = gravador.reciclada();
            if (!img.rgba.empty()) ++reaproveitadas;
            const Imagem nova = imagemNumero(k);
            img.largura = nova.largura;
            img.altura = nova.altura;
            img.rgba.resize(nova.rgba.size());
            std::copy(nova.rgba.begin(), nova.rgba.end(), img.rgba.begin());
            ASSERT_TRUE(gravador.enviar(pasta / nome(k), std::move(img)));
        }
        EXPECT_FALSE(gravador.concluir());
        EXPECT_EQ(gravador.gravados(), kImagens);
    }
    EXPECT_GT(reaproveitadas, 0) << "pictures written come back for reuse";
    for (int k = 0; k < kImagens; ++k)
        EXPECT_EQ(pixelsDiferentes(lerPng(pasta / nome(k)), imagemNumero(k)), 0) << nome(k);
}

TEST(GravadorPng, DepoisDaPrimeiraFalhaNadaMaisENenhumArquivoPelaMetade) {
    PastaTemporaria pasta;
    GravadorPng gravador(2);
    ASSERT_TRUE(gravador.enviar(pasta / "a.png", imagemNumero(1)));
    EXPECT_FALSE(gravador.concluir());
    // Into a folder that is not there: the failure names the file.
    gravador.enviar(pasta / "nao" / "b.png", imagemNumero(2));
    const Escrita f = gravador.concluir();
    ASSERT_TRUE(f);
    EXPECT_NE(f->texto().find("b.png"), std::string::npos);
    EXPECT_FALSE(gravador.enviar(pasta / "c.png", imagemNumero(3)));
    EXPECT_TRUE(gravador.falha());
    EXPECT_EQ(gravador.gravados(), 1);
    std::size_t arquivos = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(*pasta)) ++arquivos;
    EXPECT_EQ(arquivos, 1u) << "only a.png; no temporary file stays";
    EXPECT_FALSE(std::filesystem::exists(pasta / "c.png"));
}

}  // namespace
