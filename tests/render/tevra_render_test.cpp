// tevra-render driven as a user drives it on a machine without a display (DISPLAY and
// WAYLAND_DISPLAY unset): pictures of every frame, the video, and one line and a non-zero
// status for everything it cannot do.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>

#include "app/execucao/codigos_saida.h"
#include "app/execucao/execucao.h"
#include "support/arquivos_teste.h"
#include "support/cenas.h"
#include "support/png_teste.h"
#include "view/quadros/quadros_teste.h"

using namespace tevra;

namespace {

namespace fs = std::filesystem;

struct Saida {
    int status = -1;
    std::string saida;
    std::string erros;
    int linhasDeErro() const { return static_cast<int>(std::count(erros.begin(), erros.end(), '\n')); }
};

// `prefixo` goes before the program (environment settings of the shell).
Saida rodar(const std::string& argumentos, const std::string& prefixo = "") {
    PastaTemporaria tmp;
    const std::string cmd = "env -u DISPLAY -u WAYLAND_DISPLAY " + prefixo + " '" TEVRA_RENDER "' " + argumentos +
                            " 2> '" + (tmp / "erros").string() + "'";
    Saida s;
    FILE* p = popen(cmd.c_str(), "r");
    char buf[4096];
    while (std::size_t n = fread(buf, 1, sizeof buf, p)) s.saida.append(buf, n);
    const int st = pclose(p);
    s.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    s.erros = lerArquivo(tmp / "erros");
    return s;
}

// Quoted for the shell; appended piece by piece, as GCC 12 warns falsely about "'" + s + "'".
std::string q(const fs::path& p) {
    std::string s(1, '\'');
    s += p.string();
    s += '\'';
    return s;
}

// A 6 x 5 sheet falling for 5 frames, as a run writes it.
void serieDoMotor(const fs::path& pasta) {
    Cena c = cenaFolha(6, 5, 4, 3, 0);
    c.acel = {0, 0, -9.8};
    c.quadros = 41;
    c.intervalo = 10;
    Execucao(c, OpcoesExecucao{pasta}).executar();
}

class TevraRender : public ::testing::Test {
protected:
    void SetUp() override { serieDoMotor(serie); }
    PastaTemporaria pasta;
    fs::path serie = pasta / "serie";
    fs::path out = pasta / "out";
};

TEST_F(TevraRender, SemTelaDesenhaCadaQuadroComAGradeAchadaNosArquivos) {
    const Saida s = rodar(q(serie) + " --out " + q(out) + " --size 64x48");
    ASSERT_EQ(s.status, 0) << s.erros;
    EXPECT_EQ(s.erros, "");
    EXPECT_NE(s.saida.find("5 pictures of 64x48 written to"), std::string::npos) << s.saida;
    for (int n = 1; n <= 5; ++n) {
        const Imagem img = lerPng(caminhoImagem(out, n));
        EXPECT_EQ(img.largura, 64) << n;
        EXPECT_EQ(img.altura, 48) << n;
    }
    EXPECT_FALSE(fs::exists(caminhoImagem(out, 6)));
    // By default the pictures go next to the frames, at the window's size.
    ASSERT_EQ(rodar(q(serie) + " --frames 2").status, 0);
    EXPECT_EQ(lerPng(caminhoImagem(serie, 2)).largura, 599);
    EXPECT_EQ(lerPng(caminhoImagem(serie, 2)).altura, 507);
    EXPECT_FALSE(fs::exists(caminhoImagem(serie, 3)));
}

TEST_F(TevraRender, EntradaRuimDaUmaLinhaENadaEscreve) {
    fs::create_directories(pasta / "vazia");
    escreverArquivo(pasta / "arquivo", "x");
    const std::pair<std::string, std::string> casos[] = {
        {q(pasta / "vazia"), "no frame files"},
        {q(pasta / "nada"), "is not a folder"},
        {q(serie) + " --grid 20 20", "has 400 nodes, but"},
        {q(serie) + " --grid 3", "--grid"},
        {q(serie) + " --size 0x600", "each side must be 1 to 16384"},
        {q(serie) + " --size 100000x600", "each side must be 1 to 16384"},
        {q(serie) + " --size 600", "WxH"},
        {q(serie) + " --video v.avi", ".mp4 (H.264), .webm (VP9) or .mkv"},
        {q(serie) + " --fps 5", "give --video FILE too"},
        {q(serie) + " --fit --scale 2", "leave out --translate and --scale"},
        {q(serie) + " --rotate 1,2", "three numbers"},
        {q(serie) + " --rotate 1,2,x", "'x' is not a valid floating point value"},
        {q(serie) + " --frames 0", "--frames 0"},
        {q(serie) + " --frames 10000", "1 to 9999"},
        {q(serie) + " --nada", "--nada"},
    };
    for (const auto& [args, mensagem] : casos) {
        const Saida s = rodar(args + " --out " + q(out));
        EXPECT_EQ(s.status, 2) << args;
        EXPECT_NE(s.erros.find(mensagem), std::string::npos) << args << ": " << s.erros;
        EXPECT_EQ(s.linhasDeErro(), 1) << s.erros;
        EXPECT_FALSE(fs::exists(out)) << args;
    }
    // An output that cannot be written is found before anything is drawn.
    const Saida ruim = rodar(q(serie) + " --out " + q(pasta / "arquivo" / "sub"));
    EXPECT_EQ(ruim.status, 3);
    EXPECT_NE(ruim.erros.find("cannot write to"), std::string::npos) << ruim.erros;
    EXPECT_EQ(ruim.linhasDeErro(), 1) << ruim.erros;
    const Saida videoRuim = rodar(q(serie) + " --out " + q(out) + " --video " + q(pasta / "arquivo" / "v.mkv"));
    EXPECT_EQ(videoRuim.status, 3);
    EXPECT_FALSE(fs::exists(caminhoImagem(out, 1)));
}

TEST_F(TevraRender, QuadroFaltandoEhRelatadoESuaImagemNaoEscrita) {
    fs::remove(caminhoQuadro(serie, 3));
    const std::string quarto = lerArquivo(caminhoQuadro(serie, 4));
    escreverArquivo(caminhoQuadro(serie, 4), quarto.substr(0, quarto.size() / 2));
    const Saida s = rodar(q(serie) + " --out " + q(out) + " --size 40x30 --video " + q(out / "v.mkv"));
    EXPECT_EQ(s.status, 6) << s.erros;
    EXPECT_NE(s.erros.find("frame(s) 3 to 4 missing, unreadable or of another grid"), std::string::npos) << s.erros;
    EXPECT_EQ(s.linhasDeErro(), 1) << s.erros;
    for (int n : {1, 2, 5}) EXPECT_TRUE(fs::exists(caminhoImagem(out, n))) << n;
    for (int n : {3, 4}) EXPECT_FALSE(fs::exists(caminhoImagem(out, n))) << n;
    for (const auto& e : fs::directory_iterator(out))
        EXPECT_NE(e.path().filename().string().front(), '.') << "no temporary file: " << e.path();
    // The video keeps the pace: the missing frames show the last picture, as the window does.
    const Imagem q2 = lerPng(caminhoImagem(out, 2));
    FILE* p = popen(("ffmpeg -v error -i " + q(out / "v.mkv") + " -f rawvideo -pix_fmt rgba -").c_str(), "r");
    std::string bruto;
    char buf[1 << 16];
    while (std::size_t n = fread(buf, 1, sizeof buf, p)) bruto.append(buf, n);
    pclose(p);
    const std::size_t tamanho = 40 * 30 * 4;
    ASSERT_EQ(bruto.size(), 5 * tamanho);
    for (int k : {1, 2, 3})
        EXPECT_EQ(bruto.compare(k * tamanho, tamanho, reinterpret_cast<const char*>(q2.rgba.data()), tamanho), 0)
            << "video frame " << k + 1;
}

TEST_F(TevraRender, VideoSemPerdaTemOsQuadrosPedidosIguaisAsImagens) {
    const Saida s = rodar(q(serie) + " --out " + q(out) + " --size 61x47 --lighting --video " + q(out / "v.mkv"));
    ASSERT_EQ(s.status, 0) << s.erros;
    EXPECT_NE(s.saida.find("5 frames at 10 per second"), std::string::npos) << s.saida;
    FILE* p = popen(("ffprobe -v error -count_frames -select_streams v:0 -show_entries "
                     "stream=nb_read_frames,width,height,r_frame_rate -of csv=p=0 " +
                     q(out / "v.mkv"))
                        .c_str(),
                    "r");
    char linha[256] = {};
    fgets(linha, sizeof linha, p);
    pclose(p);
    EXPECT_STREQ(linha, "61,47,10/1,5\n");
    p = popen(("ffmpeg -v error -i " + q(out / "v.mkv") + " -f rawvideo -pix_fmt rgba -").c_str(), "r");
    std::string bruto;
    char buf[1 << 16];
    while (std::size_t n = fread(buf, 1, sizeof buf, p)) bruto.append(buf, n);
    pclose(p);
    const std::size_t tamanho = 61 * 47 * 4;
    ASSERT_EQ(bruto.size(), 5 * tamanho);
    for (int n = 1; n <= 5; ++n) {
        const Imagem img = lerPng(caminhoImagem(out, n));
        EXPECT_EQ(bruto.compare((n - 1) * tamanho, tamanho, reinterpret_cast<const char*>(img.rgba.data()), tamanho), 0)
            << "frame " << n;
    }
}

TEST_F(TevraRender, SemFfmpegAsImagensSaemMesmoAssim) {
    const Saida s = rodar(q(serie) + " --out " + q(out) + " --size 40x30 --video " + q(out / "v.mp4"),
                          "PATH=" + q(pasta / "vazia"));
    EXPECT_EQ(s.status, 3);
    EXPECT_NE(s.erros.find("ffmpeg was not found"), std::string::npos) << s.erros;
    for (int n = 1; n <= 5; ++n) EXPECT_TRUE(fs::exists(caminhoImagem(out, n))) << n;
    EXPECT_FALSE(fs::exists(out / "v.mp4"));
}

TEST_F(TevraRender, EnquadrarUsaACaixaDaSerieInteira) {
    // A sheet that travels 60 units along x from the first frame to the third.
    const fs::path viagem = pasta / "viagem";
    escreverSerie(viagem, 3, 5, 5, [](int n, int i, int j) {
        return std::array<double, 6>{i * 0.5 + 30.0 * (n - 1), j * 0.5, 0, 0, 0, 1};
    });
    ASSERT_EQ(rodar(q(viagem) + " --grid 5 5 --fit --rotate 0,0,0 --size 200x100 --out " + q(out)).status, 0);
    int primeiro = -1, ultimo = -1;
    for (int n = 1; n <= 3; ++n) {
        const Imagem img = lerPng(caminhoImagem(out, n));
        int x0 = 1 << 30, x1 = -1;
        for (int y = 0; y < img.altura; ++y)
            for (int x = 0; x < img.largura; ++x)
                if (img.pixel(x, y)[0] + img.pixel(x, y)[1] + img.pixel(x, y)[2] > 0) {
                    x0 = std::min(x0, x);
                    x1 = std::max(x1, x);
                }
        ASSERT_GE(x1, 0) << "frame " << n << " is in the picture";
        EXPECT_GT(x0, 0);
        EXPECT_LT(x1, 199);
        if (n == 1) primeiro = x0;
        if (n == 3) ultimo = x1;
    }
    // The first frame at the left edge of the picture, the last at the right.
    EXPECT_LT(primeiro, 20);
    EXPECT_GT(ultimo, 180);
}

TEST_F(TevraRender, InterrompidoDeixaSoImagensCompletasESemVideo) {
    const fs::path longa = pasta / "longa";
    escreverSerie(longa, 300, 30, 30, folhaSubindo);
    const std::string cmd = "cd " + q(*pasta) + " && (env -u DISPLAY '" TEVRA_RENDER "' " + q(longa) +
                            " --grid 30 30 --size 300x300 --out " + q(out) + " --video " + q(out / "v.mkv") +
                            " > /dev/null 2> erros & p=$!; while [ ! -e " + q(caminhoImagem(out, 3)) +
                            " ]; do sleep 0.01; done; kill -TERM $p; wait $p; echo $?)";
    FILE* p = popen(cmd.c_str(), "r");
    char linha[64] = {};
    fgets(linha, sizeof linha, p);
    pclose(p);
    EXPECT_EQ(std::atoi(linha), 5) << lerArquivo(pasta / "erros");
    EXPECT_NE(lerArquivo(pasta / "erros").find("interrupted after frame"), std::string::npos);
    int imagens = 0;
    for (const auto& e : fs::directory_iterator(out)) {
        const std::string nome = e.path().filename().string();
        EXPECT_EQ(nome.rfind("quadro", 0), 0u) << "only pictures under their final names: " << nome;
        EXPECT_EQ(lerPng(e.path()).largura, 300) << nome;
        ++imagens;
    }
    EXPECT_GE(imagens, 3);
    EXPECT_LT(imagens, 300);
}

TEST(TevraRenderAjuda, DizOQueFitMudaEOsCodigosDeSaida) {
    const Saida s = rodar("--help");
    EXPECT_EQ(s.status, 0);
    EXPECT_NE(s.saida.find("translation and scale"), std::string::npos) << s.saida;
    // Each status the program uses, numbered as the shared table numbers it.
    for (int codigo : {SaidaConcluida, SaidaEntradaRecusada, SaidaFalhaEscrita, SaidaInterrompida, SaidaQuadroIgnorado,
                       SaidaSemOpenGL})
        EXPECT_NE(s.saida.find("\n  " + std::to_string(codigo) + "  "), std::string::npos) << codigo;
    EXPECT_NE(s.saida.find("  7  no off-screen OpenGL"), std::string::npos) << s.saida;
}

}  // namespace
