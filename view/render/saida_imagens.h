#pragma once

#include <atomic>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "base/erros.h"
#include "view/imagem/imagem.h"
#include "view/render/enquadramento.h"
#include "view/render/opcoes_imagem.h"

namespace tevra {

class Desenhistas;
class GravadorPng;
class SaidaVideo;
struct TrabalhoDesenho;

// Checks that files can be written into `pasta` (verificarPastaGravavel), then makes it when
// missing. Empty when it is ready.
Escrita prepararPasta(const std::filesystem::path& pasta);

struct ResultadoImagens {
    int imagens = 0;            // picture files written
    std::vector<int> faltando;  // frames that could not be read: no picture file
    Escrita falha;              // the first picture file that could not be written
    bool comVideo = false;
    int quadrosVideo = 0;
    Escrita falhaVideo;  // the video could not be made
};

// "7, 9 to 12, 15": frame numbers in ascending order, runs joined.
std::string listaQuadros(const std::vector<int>& quadros);

// The pictures of a series, frame by frame, as the animation window draws them: one PNG file
// per frame in `pasta`, and the video when the options ask for one. Frames are drawn a few
// at a time on threads of their own (Desenhistas) and compressed on others (GravadorPng);
// the video still gets them in the order they were handed over.
class SaidaImagens {
public:
    // Null when no OpenGL context can be made, with the reason in `erro`. `texels`: the
    // 256 x 256 RGBA texture. `desenhistas`: frames drawn at once (0: desenhistasPadrao()).
    static std::unique_ptr<SaidaImagens> criar(const OpcoesImagem& opcoes, std::filesystem::path pasta,
                                               const std::vector<std::uint8_t>& texels, std::string& erro,
                                               int desenhistas = 0);
    ~SaidaImagens();

    // --fit by this box; without it, --fit takes the box of the first frame drawn.
    void enquadrar(const Caixa& caixa);
    const EstadoVista& vista() const { return vista_; }
    // The video's failure so far (ffmpeg missing, stopped): for telling the user early.
    Escrita falhaVideo() const;

    // Frame n was read completely: its picture. The frame is copied.
    void quadro(int n, const QuadroCompacto& quadro, bool fechada);
    // The same for a frame that nobody changes any more: it is shared, not copied.
    void quadro(int n, std::shared_ptr<const QuadroCompacto> quadro, bool fechada);
    // Frame n could not be read: it gets no picture file, and the video shows the last
    // picture again (the window shows the last frame read).
    void faltando(int n);
    // Waits for every file; after this nothing more is taken. `completa` false: the series
    // was cut short, its video is given up (no file) rather than made of part of it.
    ResultadoImagens concluir(bool completa = true);
    // A picture file failed: the caller may stop early.
    bool falhou() const;
    // The first picture file that could not be written so far.
    Escrita falhaImagem();

private:
    SaidaImagens() = default;
    // On a drawing thread: the picture to its file and, in order, to the video.
    void pronta(const TrabalhoDesenho& trabalho, Imagem&& imagem);
    // With videoMutex_ held: the pictures that are next in order, to the video.
    void descarregarVideo();

    OpcoesImagem opcoes_;
    std::filesystem::path pasta_;
    EstadoVista vista_;
    bool enquadrada_ = false;
    std::unique_ptr<GravadorPng> png_;
    std::unique_ptr<SaidaVideo> video_;
    std::unique_ptr<Desenhistas> desenhistas_;  // after png_ and video_: its threads go first

    // The video's order: every frame handed over takes the next place; a missing frame's
    // place holds nothing, and shows the last picture again.
    mutable std::mutex videoMutex_;
    std::map<int, std::optional<Imagem>> esperaVideo_;
    int proximoVideo_ = 0;
    std::optional<Imagem> ultima_;
    int proximaOrdem_ = 0;
    bool enviouAlgum_ = false;

    ResultadoImagens resultado_;
    std::atomic<bool> falhou_{false};
    bool concluida_ = false;
};

}  // namespace tevra
