#pragma once

#include <filesystem>
#include <string>

#include "view/gl/estado_vista.h"

namespace CLI {
class App;
}

namespace tevra {

// The animation window's OpenGL area: the window is 599 x 560, less its 34-pixel tool bar
// and 19-pixel status bar.
inline constexpr int kLarguraJanela = 599;
inline constexpr int kAlturaJanela = 507;
// Largest picture side, and largest picture, drawn off-screen.
inline constexpr int kMaxLadoImagem = 16384;
inline constexpr long long kMaxPixelsImagem = 1LL << 26;
// The window plays at most 10 frames a second.
inline constexpr double kQuadrosPorSegundo = 10;

// How pictures of a series are made: their size, the view, and whether a video goes with them.
struct OpcoesImagem {
    int largura = kLarguraJanela;
    int altura = kAlturaJanela;
    EstadoVista vista;            // the window's start view unless the options change it
    bool enquadrar = false;       // --fit: translation and scale from the surface's box
    std::filesystem::path video;  // empty: no video
    double fps = kQuadrosPorSegundo;
};

// The same options as typed on a command line.
struct TextoOpcoesImagem {
    std::string tamanho;
    std::string rotacao;
    std::string translacao;
    std::string escala;
    std::string video;
    std::string fps;
    bool textura = false;
    bool iluminacao = false;
    bool contorno = false;
    bool ortografica = false;
    bool enquadrar = false;
};

// The picture options of tevra-render and tevra-sim --render: --size, --texture, --lighting,
// --outline, --ortho, --rotate, --translate, --scale, --fit, --video, --fps. `fit` says what
// --fit places the surface by (the whole series, or the first frame of a run).
void adicionarOpcoesImagem(CLI::App& app, TextoOpcoesImagem& texto, const std::string& fit);

// Checks and converts them; throws ErroEntrada with a one-line reason naming the option.
OpcoesImagem converterOpcoesImagem(const TextoOpcoesImagem& texto);

}  // namespace tevra
