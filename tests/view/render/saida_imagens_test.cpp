// Pictures drawn several at a time: every file is its own frame's picture whichever thread
// drew it, and the video gets the frames in the order handed over, a missing frame showing
// the picture before it (an empty scene before any frame).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>

#include "base/nomes_arquivos.h"
#include "support/arquivos_teste.h"
#include "support/png_teste.h"
#include "view/render/renderizador.h"
#include "view/render/saida_imagens.h"
#include "view/gl/malha.h"

using namespace tevra;

namespace {

namespace fs = std::filesystem;

constexpr int kLargura = 48, kAltura = 36;

std::vector<std::uint8_t> semTextura() { return montarTextura(0, 0, [](int, int) { return 0u; }); }

// A 4 x 4 sheet shifted sideways by frame n, so that every frame has a picture of its own.
QuadroCompacto folhaDoQuadro(int n) {
    NosSuperficie nos;
    nos.alocar(4, 4);
    for (int v = 0; v < 16; ++v) {
        nos.x[v] = 0.5 * n - 3 + 2.0 * (v / 4);
        nos.y[v] = 2.0 * (v % 4) - 3;
        nos.nz[v] = 1;
    }
    QuadroCompacto q;
    compactar(nos, q);
    return q;
}

std::string bytesDoVideo(const fs::path& video) {
    FILE* p = popen(("ffmpeg -v error -i '" + video.string() + "' -f rawvideo -pix_fmt rgba -").c_str(), "r");
    std::string bruto;
    char buf[1 << 16];
    while (std::size_t n = fread(buf, 1, sizeof buf, p)) bruto.append(buf, n);
    pclose(p);
    return bruto;
}

TEST(SaidaImagens, VariosDesenhistasGuardamAOrdemDoVideoEOsArquivosDeCadaQuadro) {
    PastaTemporaria pasta;
    OpcoesImagem o;
    o.largura = kLargura;
    o.altura = kAltura;
    o.video = pasta / "v.mkv";  // lossless: the decoded frames are the pictures
    std::string erro;
    auto saida = SaidaImagens::criar(o, *pasta, semTextura(), erro, 3);
    ASSERT_TRUE(saida) << erro;
    const std::vector<int> faltam = {1, 2, 6, 7, 12};
    for (int n = 1; n <= 12; ++n) {
        if (std::find(faltam.begin(), faltam.end(), n) != faltam.end())
            saida->faltando(n);
        else
            saida->quadro(n, folhaDoQuadro(n), false);
    }
    const ResultadoImagens r = saida->concluir();
    EXPECT_EQ(r.imagens, 7);
    EXPECT_EQ(r.faltando, faltam);
    ASSERT_FALSE(r.falhaVideo) << r.falhaVideo->texto();
    EXPECT_EQ(r.quadrosVideo, 12);

    // Each file against the same frame drawn alone.
    std::unique_ptr<Renderizador> sozinho = Renderizador::criar(kLargura, kAltura, semTextura(), erro);
    ASSERT_TRUE(sozinho) << erro;
    const Imagem vazia = sozinho->desenhar(o.vista, nullptr, false);
    for (int n : faltam) EXPECT_FALSE(fs::exists(caminhoImagem(*pasta, n))) << n;

    const std::string bruto = bytesDoVideo(pasta / "v.mkv");
    const std::size_t tamanho = std::size_t{kLargura} * kAltura * 4;
    ASSERT_EQ(bruto.size(), 12 * tamanho);
    auto noVideo = [&](int n, const Imagem& img) {
        return bruto.compare((n - 1) * tamanho, tamanho, reinterpret_cast<const char*>(img.rgba.data()), tamanho) == 0;
    };
    const Imagem* anterior = &vazia;
    Imagem lida[13];
    for (int n = 1; n <= 12; ++n) {
        if (fs::exists(caminhoImagem(*pasta, n))) {
            const QuadroCompacto q = folhaDoQuadro(n);
            const Imagem& so = sozinho->desenhar(o.vista, &q, false);
            lida[n] = lerPng(caminhoImagem(*pasta, n));
            EXPECT_EQ(pixelsDiferentes(lida[n], so), 0) << "file of frame " << n;
            anterior = &lida[n];
        }
        EXPECT_TRUE(noVideo(n, *anterior)) << "video frame " << n;
    }
    EXPECT_FALSE(noVideo(4, lida[3])) << "the frames differ from one another";
}

}  // namespace
