#include "view/render/opcoes_imagem.h"

#include <CLI/CLI.hpp>

#include <cmath>
#include <vector>

#include "base/conversao.h"
#include "base/erros.h"
#include "view/render/video.h"

namespace tevra {

void adicionarOpcoesImagem(CLI::App& app, TextoOpcoesImagem& t, const std::string& fit) {
    app.add_option("--size", t.tamanho,
                   "picture size WxH in pixels (default " + std::to_string(kLarguraJanela) + "x" +
                       std::to_string(kAlturaJanela) + ", the animation window's drawing area)");
    app.add_flag("--texture", t.textura, "texture on (the window's T key)");
    app.add_flag("--lighting", t.iluminacao, "lighting on (L)");
    app.add_flag("--outline", t.contorno, "outlined polygons instead of filled ones (F)");
    app.add_flag("--ortho", t.ortografica, "orthographic view instead of perspective (V)");
    app.add_option("--rotate", t.rotacao, "rotation X,Y,Z in degrees about x, y, z (default 20,-20,0)");
    app.add_option("--translate", t.translacao, "translation X,Y,Z (default 0,0,0)");
    app.add_option("--scale", t.escala, "scale factor (default 1)");
    app.add_flag("--fit", t.enquadrar,
                 "set the translation and scale so that the surface's bounding box over " + fit +
                     ", turned by the rotation, fills 95% of the picture; the rotation, projection and light "
                     "positions (relative to the surface) are kept; not with --translate or --scale");
    app.add_option("--video", t.video,
                   "also make a video with the ffmpeg program: FILE.mp4 (H.264), FILE.webm (VP9) or FILE.mkv "
                   "(lossless FFV1); an odd width or height gets one black line in .mp4 and .webm");
    app.add_option("--fps", t.fps, "frames per second of the video (default 10, the window's pace)");
}

namespace {

double real(const std::string& opcao, const std::string& texto) {
    const auto v = paraReal(texto, '.');
    if (!v || !std::isfinite(*v)) throw ErroEntrada(opcao + " " + texto + ": " + mensagemRealInvalido(texto));
    return *v;
}

Vetor3 vetor(const std::string& opcao, const std::string& texto) {
    std::vector<std::string> partes;
    std::size_t ini = 0;
    for (;;) {
        const std::size_t fim = texto.find(',', ini);
        partes.push_back(texto.substr(ini, fim == std::string::npos ? std::string::npos : fim - ini));
        if (fim == std::string::npos) break;
        ini = fim + 1;
    }
    if (partes.size() != 3) throw ErroEntrada(opcao + " " + texto + ": three numbers X,Y,Z separated by commas");
    return {real(opcao, partes[0]), real(opcao, partes[1]), real(opcao, partes[2])};
}

}  // namespace

OpcoesImagem converterOpcoesImagem(const TextoOpcoesImagem& t) {
    OpcoesImagem o;
    if (!t.tamanho.empty()) {
        const std::size_t x = t.tamanho.find_first_of("xX");
        const auto l = x == std::string::npos ? std::nullopt : paraInteiro(t.tamanho.substr(0, x));
        const auto a = x == std::string::npos ? std::nullopt : paraInteiro(t.tamanho.substr(x + 1));
        if (!l || !a) throw ErroEntrada("--size " + t.tamanho + ": width and height in pixels as WxH, e.g. 600x600");
        if (*l < 1 || *a < 1 || *l > kMaxLadoImagem || *a > kMaxLadoImagem ||
            static_cast<long long>(*l) * *a > kMaxPixelsImagem)
            throw ErroEntrada("--size " + t.tamanho + ": each side must be 1 to " + std::to_string(kMaxLadoImagem) +
                              " pixels, and the picture at most " + std::to_string(kMaxPixelsImagem) + " pixels");
        o.largura = *l;
        o.altura = *a;
    }
    o.vista.texturaLigada = t.textura;
    o.vista.iluminacaoLigada = t.iluminacao;
    o.vista.preenchido = !t.contorno;
    o.vista.perspectiva = !t.ortografica;
    if (!t.rotacao.empty()) o.vista.rotacao = vetor("--rotate", t.rotacao);
    if (!t.translacao.empty()) o.vista.translacao = vetor("--translate", t.translacao);
    if (!t.escala.empty()) {
        const double s = real("--scale", t.escala);
        o.vista.escala = {s, s, s};
    }
    o.enquadrar = t.enquadrar;
    if (o.enquadrar && (!t.translacao.empty() || !t.escala.empty()))
        throw ErroEntrada("--fit sets the translation and scale itself: leave out --translate and --scale");
    if (!t.fps.empty()) {
        o.fps = real("--fps", t.fps);
        if (o.fps <= 0 || o.fps > 1000)
            throw ErroEntrada("--fps " + t.fps + ": more than 0 and at most 1000 frames per second");
    }
    if (!t.video.empty()) {
        o.video = t.video;
        formatoDoVideo(o.video);  // refuses another extension now, before any picture
    } else if (!t.fps.empty()) {
        throw ErroEntrada("--fps " + t.fps + " is the pace of a video: give --video FILE too");
    }
    return o;
}

}  // namespace tevra
