#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <vector>

#include "base/erros.h"
#include "view/imagem/imagem.h"

namespace tevra {

// The video formats a name may ask for, by its extension.
enum class FormatoVideo {
    Mp4,   // H.264, 4:2:0, for players and slides
    Webm,  // VP9, 4:2:0, for the web
    Mkv,   // FFV1, lossless RGB, for archives and checks
};

// The format of `arquivo` from its extension; throws ErroEntrada for any other name.
FormatoVideo formatoDoVideo(const std::filesystem::path& arquivo);

// The arguments given to ffmpeg after the program name: raw RGBA frames of largura x altura
// on standard input at `fps`, into `destino` in `formato`. The 4:2:0 formats need even sides:
// an odd width or height gets one black row or column.
std::vector<std::string> argumentosFfmpeg(FormatoVideo formato, int largura, int altura, double fps,
                                          const std::filesystem::path& destino);

// The full path of a program found on PATH; empty when it is not there.
std::filesystem::path procurarPrograma(const std::string& nome);

// A video made by the ffmpeg program from pictures piped to it. The file is complete or
// absent: ffmpeg writes a hidden temporary name that is renamed when it has finished well.
// Once a failure is met (no ffmpeg, ffmpeg stopped, a picture of another size) the pictures
// that follow are ignored and concluir() reports it.
class SaidaVideo {
public:
    // `programa`: the ffmpeg to run (empty: looked for on PATH).
    SaidaVideo(std::filesystem::path arquivo, double fps, std::filesystem::path programa = {});
    ~SaidaVideo();  // a video not concluded is abandoned: ffmpeg is stopped, nothing is left
    SaidaVideo(const SaidaVideo&) = delete;
    SaidaVideo& operator=(const SaidaVideo&) = delete;

    // The next frame; the first one starts ffmpeg at its size.
    void quadro(const Imagem& imagem);
    // Ends the video: waits for ffmpeg and puts the file in place. Empty on success.
    Escrita concluir();

    // The failure met so far (empty: none).
    const Escrita& falha() const { return falha_; }
    const std::filesystem::path& arquivo() const { return arquivo_; }
    int quadros() const { return quadros_; }

private:
    void iniciar(int largura, int altura);
    void falhar(std::string motivo);
    // ffmpeg's exit status and last message, after its input was closed.
    std::string esperarFfmpeg();
    void abandonar();

    std::filesystem::path arquivo_;
    std::filesystem::path temporario_;
    std::filesystem::path registro_;  // ffmpeg's messages
    std::filesystem::path programa_;
    FormatoVideo formato_;
    double fps_;
    int largura_ = 0;
    int altura_ = 0;
    int quadros_ = 0;
    int entrada_ = -1;  // the pipe into ffmpeg
    pid_t pid_ = -1;
    bool concluido_ = false;
    Escrita falha_;
};

}  // namespace tevra
