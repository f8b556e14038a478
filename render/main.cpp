// tevra-render: pictures (and a video) of a recorded series, drawn as the animation window
// draws them, without a screen.
#include <malloc.h>
#include <signal.h>
#include <unistd.h>
#include <CLI/CLI.hpp>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "app/execucao/codigos_saida.h"
#include "base/barra_progresso.h"
#include "base/erros.h"
#include "base/tevra_home.h"
#include "view/gl/malha.h"
#include "view/render/desenhistas.h"
#include "view/render/render_serie.h"
#include "view/render/textura.h"

using namespace tevra;

namespace {

void dizer(const std::string& texto) { std::fprintf(stderr, "tevra-render: %s\n", texto.c_str()); }

// SIGINT or SIGTERM: stop after the current frame, keeping the pictures already written.
std::atomic<bool> interrompido{false};
static_assert(std::atomic<bool>::is_always_lock_free);
void interromper(int) { interrompido.store(true, std::memory_order_relaxed); }

void tratarSinais() {
    struct sigaction sa {};
    sa.sa_handler = interromper;
    sigemptyset(&sa.sa_mask);
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
}

// The texture when asked for; otherwise the window's blank one (texturing is off).
std::vector<std::uint8_t> texels(bool pedida) {
    if (pedida) return lerTextura(localizarTextura());
    return montarTextura(0, 0, [](int, int) { return 0u; });
}

}  // namespace

int main(int argc, char** argv) {
    // Every frame allocates and frees the same large blocks (the frame read, Mesa's vertex
    // upload, the picture): kept in the heap rather than handed back to the system, they
    // are not faulted in afresh each time, which cost a third of the processor time.
    mallopt(M_MMAP_THRESHOLD, 64 << 20);
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
    desenharNoProprioThread();
    CLI::App app{
        "Draws the frames of a recorded Tevra series as PNG pictures quadroNNNN.png, as the animation "
        "window shows them, without a screen; optionally also a video"};
    std::string pasta, saida;
    std::vector<int> grade;
    int quadros = 0;
    TextoOpcoesImagem texto;
    app.add_option("DIR", pasta, "folder of the frame files pontosNNNN.txt (default: the Tevra home's tmp folder)");
    app.add_option("--grid", grade,
                   "grid I J of the series (default: told from frame 1 when it is a run's rest shape; frame files "
                   "hold only the node count)")
        ->expected(2);
    app.add_option("--frames", quadros, "frames 1 to N (default: up to the last frame file in DIR)");
    app.add_option("--out", saida, "folder for the pictures (default: DIR)");
    adicionarOpcoesImagem(app, texto, "the whole series");
    app.footer(
        "Exit status:\n"
        "  0  every picture (and the video) written\n"
        "  2  options or series refused; nothing drawn\n"
        "  3  a picture or the video could not be written (also: no ffmpeg program, after the pictures)\n"
        "  5  interrupted (SIGINT or SIGTERM); the pictures written are complete, no video is left\n"
        "  6  some frames missing, unreadable or of another grid: no picture for them, the others drawn\n"
        "  7  no off-screen OpenGL context could be made\n");
    try {
        app.parse(argc, argv);
    } catch (const CLI::Success& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        dizer(e.what());
        return SaidaEntradaRecusada;
    }

    OpcoesImagem opcoes;
    SerieGravada serie;
    std::vector<std::uint8_t> textura;
    try {
        opcoes = converterOpcoesImagem(texto);
        if (quadros < 0 || (app.count("--frames") > 0 && quadros == 0))
            throw ErroEntrada("--frames " + std::to_string(quadros) + ": at least 1");
        serie = prepararSerie(pasta.empty() ? home::tmp() : std::filesystem::path(pasta), grade.empty() ? 0 : grade[0],
                              grade.empty() ? 0 : grade[1], quadros);
        textura = texels(opcoes.vista.texturaLigada);
    } catch (const ErroEntrada& e) {
        dizer(e.what());
        return SaidaEntradaRecusada;
    }
    const std::filesystem::path destino = saida.empty() ? serie.pasta : std::filesystem::path(saida);
    Escrita pastaRuim = prepararPasta(destino);
    if (!pastaRuim && !opcoes.video.empty()) {
        const std::filesystem::path pastaVideo = opcoes.video.parent_path();
        pastaRuim = prepararPasta(pastaVideo.empty() ? std::filesystem::path(".") : pastaVideo);
    }
    if (pastaRuim) {
        dizer("cannot write to " + pastaRuim->texto());
        return SaidaFalhaEscrita;
    }

    std::string erro;
    auto imagens = SaidaImagens::criar(opcoes, destino, textura, erro);
    if (!imagens) {
        dizer("no off-screen OpenGL: " + erro);
        return SaidaSemOpenGL;
    }
    if (const Escrita& v = imagens->falhaVideo()) dizer("no video: " + v->texto() + "; the pictures are still made");

    tratarSinais();
    const auto inicio = std::chrono::steady_clock::now();
    const bool terminal = isatty(STDERR_FILENO) != 0;
    if (opcoes.enquadrar) {
        BarraProgresso barra(terminal, "frames measured for --fit");
        imagens->enquadrar(caixaDaSerie(serie, [&barra](int f, int t) { barra.mostrar(f, t); }));
        barra.terminar();
    }
    BarraProgresso barra(terminal, "frames");
    const int feitos = renderizarSerie(
        serie, *imagens, [&barra](int f, int t) { barra.mostrar(f, t); }, &interrompido);
    const bool cortada = interrompido.load() && feitos < serie.quadros;
    const ResultadoImagens r = imagens->concluir(!cortada);
    barra.terminar();
    const double segundos = std::chrono::duration<double>(std::chrono::steady_clock::now() - inicio).count();

    std::printf("%d pictures of %dx%d written to %s in %.2f s\n", r.imagens, opcoes.largura, opcoes.altura,
                destino.string().c_str(), segundos);
    if (r.comVideo && !r.falhaVideo)
        std::printf("video %s: %d frames at %g per second\n", opcoes.video.string().c_str(), r.quadrosVideo,
                    opcoes.fps);
    if (!r.faltando.empty())
        dizer("frame(s) " + listaQuadros(r.faltando) + " missing, unreadable or of another grid in " +
              serie.pasta.string() + ": no picture for them");
    if (r.falha) dizer(r.falha->texto());
    if (r.falhaVideo) dizer("no video: " + r.falhaVideo->texto());
    if (r.falha || r.falhaVideo) return SaidaFalhaEscrita;
    if (cortada) {
        dizer("interrupted after frame " + std::to_string(feitos) + " of " + std::to_string(serie.quadros) +
              "; its pictures are complete" + (opcoes.video.empty() ? "" : ", no video was made"));
        return SaidaInterrompida;
    }
    if (!r.faltando.empty()) return SaidaQuadroIgnorado;
    return SaidaConcluida;
}
