#pragma once

#include <condition_variable>
#include <filesystem>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "view/quadros/leitor_quadros.h"

namespace tevra {

// The frames of one showing as the viewer holds them: the node arrays of the frame read
// last, whether the surface is a closed tube (from frame 1), and which picture stands for
// each frame. Frames arrive in order, 1, 2, 3 ...
//
// A frame whose file is missing, ends early or holds a non-number repeats the picture of
// the last frame read completely; before any such frame it is an empty picture. The node
// arrays only ever hold a complete frame.
class SerieQuadros {
public:
    // A new series of numQuadros frames of a gradeI x gradeJ grid; false (and an empty
    // series) when the grid is too large to hold.
    bool iniciar(int numQuadros, int gradeI, int gradeJ);

    // Frame n (the next one: quadrosProntos() + 1) has been read into `lido` with result `r`.
    // True when it was complete: its values are now in nos() (swapped with `lido`) and its
    // picture has to be made from them under number n. Past numQuadros() the series grows.
    bool aceitar(int n, NosSuperficie& lido, const ResultadoLeitura& r);

    // After the last file: frames without a file of their own (beyond 9999) are ready too.
    void concluir();

    // The picture (its number, the frame it was made from) that frame q shows; 0 for none.
    int imagemDoQuadro(int q) const;

    int numQuadros() const { return numQuadros_; }
    int gradeI() const { return nos_.gradeI; }
    int gradeJ() const { return nos_.gradeJ; }
    // Frames 1 .. quadrosProntos() have been taken in.
    int quadrosProntos() const { return prontos_; }
    // Frames whose file was missing or unreadable so far.
    int quadrosFalhos() const { return falhos_; }
    // How many frame files the series reads: frame numbers beyond 9999 have no file.
    int arquivosASerLidos() const;
    bool superficieFechada() const { return fechada_; }
    const NosSuperficie& nos() const { return nos_; }

private:
    int numQuadros_ = 0;
    int prontos_ = 0;
    int falhos_ = 0;
    int ultimaImagem_ = 0;
    bool fechada_ = false;
    NosSuperficie nos_;
    std::vector<int> imagem_;  // index = frame number, up to 9999
};

// What the workers do besides reading. All three run on the worker thread `w`:
// `iniciar` before its first frame (false: this worker prepares nothing), `preparar`
// for each complete frame n once frame 1 has told whether the surface is a closed tube
// (true: done), `terminar` after its last frame.
struct TrabalhoCarga {
    int trabalhadores = 1;
    std::function<bool(int w)> iniciar;
    std::function<bool(int w, int n, const NosSuperficie& nos, bool fechada)> preparar;
    std::function<void(int w)> terminar;
};

// Reads the files of frames 1 .. numArquivos on worker threads and hands them out in order,
// a few frames ahead of whoever takes them. Each worker may also prepare every complete
// frame it read (compile it into a display list of a context of its own) before handing
// it out. `aviso` runs on a worker when the next frame to take becomes available, and
// once when all reading has ended; it must be cheap and thread-safe (post a message).
class CarregadorSerie {
public:
    struct Quadro {
        int n = 0;
        ResultadoLeitura resultado;
        NosSuperficie nos;
        bool preparado = false;  // the worker's `preparar` has done this frame's work
    };

    using Trabalho = TrabalhoCarga;

    CarregadorSerie(std::filesystem::path pasta, int numArquivos, int gradeI, int gradeJ, std::function<void()> aviso,
                    Trabalho trabalho = {}, int adiantados = 4);
    ~CarregadorSerie();  // stops the workers and waits for them
    CarregadorSerie(const CarregadorSerie&) = delete;
    CarregadorSerie& operator=(const CarregadorSerie&) = delete;

    // The next frame (1, 2, 3 ...), when it is ready.
    std::optional<Quadro> pegar();
    // Hands a buffer back for the next frames.
    void devolver(NosSuperficie&& buffer);
    // Every frame has been read and taken.
    bool acabou();

private:
    void trabalhar(int w);

    std::filesystem::path pasta_;
    int numArquivos_;
    int gradeI_;
    int gradeJ_;
    std::function<void()> aviso_;
    Trabalho trabalho_;
    int janela_;  // frames read ahead of the next one taken

    std::mutex mutex_;
    std::condition_variable mudou_;
    int proximo_ = 1;   // next frame a worker claims
    int entregue_ = 1;  // next frame handed out
    std::map<int, Quadro> prontos_;
    std::vector<NosSuperficie> livres_;
    bool fechadaConhecida_ = false;
    bool fechada_ = false;
    int ativos_ = 0;
    bool parar_ = false;
    std::vector<std::thread> trabalhadores_;
};

}  // namespace tevra
