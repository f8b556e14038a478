#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/erros.h"
#include "view/imagem/imagem.h"
#include "view/render/enquadramento.h"
#include "view/render/opcoes_imagem.h"

namespace tevra {

class GravadorPng;
class Renderizador;
class SaidaVideo;

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
// per frame in `pasta`, and the video when the options ask for one.
class SaidaImagens {
public:
    // Null when no OpenGL context can be made, with the reason in `erro`. `texels`: the
    // 256 x 256 RGBA texture.
    static std::unique_ptr<SaidaImagens> criar(const OpcoesImagem& opcoes, std::filesystem::path pasta,
                                               const std::vector<std::uint8_t>& texels, std::string& erro);
    ~SaidaImagens();

    // --fit by this box; without it, --fit takes the box of the first frame drawn.
    void enquadrar(const Caixa& caixa);
    const EstadoVista& vista() const { return vista_; }
    // The video's failure so far (ffmpeg missing, stopped): for telling the user early.
    const Escrita& falhaVideo() const;

    // Frame n was read completely: its picture.
    void quadro(int n, const QuadroCompacto& quadro, bool fechada);
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
    void paraVideo(const Imagem& imagem);

    OpcoesImagem opcoes_;
    std::filesystem::path pasta_;
    EstadoVista vista_;
    bool enquadrada_ = false;
    std::unique_ptr<Renderizador> renderizador_;
    std::unique_ptr<GravadorPng> png_;
    std::unique_ptr<SaidaVideo> video_;
    std::optional<Imagem> ultima_;  // for the video's frames without a picture of their own
    ResultadoImagens resultado_;
    bool falhou_ = false;
    bool concluida_ = false;
};

}  // namespace tevra
