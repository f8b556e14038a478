// Videos through the ffmpeg program: the formats, what ffprobe reports of the 4:2:0 ones, and
// a video that cannot be made leaving no file and a reason. (A lossless video's frames equal
// to the pictures: tests/render.)
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>

#include "base/erros.h"
#include "support/arquivos_teste.h"
#include "view/render/video.h"

using namespace tevra;

namespace {

namespace fs = std::filesystem;

std::string saidaDe(const std::string& cmd) {
    FILE* p = popen(cmd.c_str(), "r");
    std::string texto;
    char buf[1 << 16];
    while (std::size_t n = fread(buf, 1, sizeof buf, p)) texto.append(buf, n);
    pclose(p);
    return texto;
}

// "frames,width,height" of the first video stream, counted by decoding.
std::string sondar(const fs::path& video) {
    std::string s = saidaDe(
        "ffprobe -v error -count_frames -select_streams v:0 -show_entries "
        "stream=nb_read_frames,width,height -of csv=p=0 '" +
        video.string() + "'");
    while (!s.empty() && (s.back() == '\n' || s.back() == '\r')) s.pop_back();
    return s;
}

Imagem quadro(int l, int a, int semente) {
    Imagem img;
    img.alocar(l, a);
    for (std::size_t k = 0; k < img.rgba.size(); k += 4) {
        const int p = static_cast<int>(k / 4);
        img.rgba[k] = static_cast<std::uint8_t>(p * 3 + semente * 50);
        img.rgba[k + 1] = static_cast<std::uint8_t>(p / l * 7 + semente);
        img.rgba[k + 2] = static_cast<std::uint8_t>(p % l * 5);
        img.rgba[k + 3] = 255;
    }
    return img;
}

std::size_t arquivosEm(const fs::path& pasta) {
    std::size_t n = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(pasta)) ++n;
    return n;
}

TEST(SaidaVideo, FormatoPelaExtensao) {
    EXPECT_EQ(formatoDoVideo("a/b.mp4"), FormatoVideo::Mp4);
    EXPECT_EQ(formatoDoVideo("b.MP4"), FormatoVideo::Mp4);
    EXPECT_EQ(formatoDoVideo("b.webm"), FormatoVideo::Webm);
    EXPECT_EQ(formatoDoVideo("b.mkv"), FormatoVideo::Mkv);
    for (const char* ruim : {"b.avi", "b", "mp4", "b.mp4.gz"}) EXPECT_THROW(formatoDoVideo(ruim), ErroEntrada) << ruim;
}

TEST(SaidaVideo, Mp4EWebmComLadosImparesGanhamUmaLinhaPreta) {
    PastaTemporaria pasta;
    for (const char* nome : {"v.mp4", "v.webm"}) {
        SaidaVideo v(pasta / nome, 25);
        for (int k = 0; k < 4; ++k) v.quadro(quadro(41, 23, k));
        ASSERT_FALSE(v.concluir()) << nome;
        EXPECT_EQ(sondar(pasta / nome), "42,24,4") << nome;
    }
}

TEST(SaidaVideo, FalhaDoFfmpegNaoDeixaArquivoEDizPorque) {
    PastaTemporaria pasta;
    {
        SaidaVideo v(pasta / "a.mp4", 10, pasta / "nao-ha-ffmpeg");
        v.quadro(quadro(8, 8, 0));
        const Escrita f = v.concluir();
        ASSERT_TRUE(f);
        EXPECT_NE(f->texto().find("a.mp4"), std::string::npos);
    }
    {
        const std::string path = getenv("PATH") ? getenv("PATH") : "";
        setenv("PATH", (*pasta).c_str(), 1);
        SaidaVideo v(pasta / "b.mp4", 10);
        setenv("PATH", path.c_str(), 1);
        ASSERT_TRUE(v.falha()) << "told before the first picture";
        EXPECT_NE(v.falha()->motivo.find("ffmpeg was not found"), std::string::npos);
    }
    // An ffmpeg that reads a little, complains and stops: its last line is the reason.
    const fs::path falso = pasta / "ffmpeg-falso";
    escreverArquivo(falso,
                    "#!/bin/sh\nhead -c 100 > /dev/null\necho 'first line' >&2\necho 'Unknown encoder' >&2\nexit 1\n");
    chmod(falso.c_str(), 0755);
    {
        SaidaVideo v(pasta / "c.mp4", 10, falso);
        for (int k = 0; k < 20; ++k) v.quadro(quadro(300, 200, k));  // more than the pipe holds
        const Escrita f = v.concluir();
        ASSERT_TRUE(f);
        EXPECT_NE(f->motivo.find("Unknown encoder"), std::string::npos) << f->motivo;
        EXPECT_NE(f->motivo.find("status 1"), std::string::npos) << f->motivo;
    }
    // A video given up half-way (the program stopped) leaves nothing either.
    {
        SaidaVideo v(pasta / "d.mkv", 10);
        v.quadro(quadro(16, 16, 0));
    }
    // And pictures of another size stop it with a reason.
    {
        SaidaVideo v(pasta / "e.mkv", 10);
        v.quadro(quadro(16, 16, 0));
        v.quadro(quadro(16, 18, 0));
        const Escrita f = v.concluir();
        ASSERT_TRUE(f);
        EXPECT_NE(f->motivo.find("changed size"), std::string::npos);
    }
    EXPECT_EQ(arquivosEm(*pasta), 1u) << "only the fake program";
}

}  // namespace
