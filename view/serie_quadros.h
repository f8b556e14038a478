#pragma once

#include <atomic>
#include <condition_variable>
#include <deque>
#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "view/leitor_quadros.h"

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

// Reads the files of frames 1 .. numArquivos on a worker thread, in order, a few frames
// ahead of whoever takes them. `aviso` runs on the worker when a frame becomes available
// after the queue was empty, and once when reading has ended; it must be cheap and
// thread-safe (post a message, set a flag).
class CarregadorSerie {
public:
    struct Quadro {
        int n = 0;
        ResultadoLeitura resultado;
        NosSuperficie nos;
    };

    CarregadorSerie(std::filesystem::path pasta, int numArquivos, int gradeI, int gradeJ,
                    std::function<void()> aviso, int adiantados = 4);
    ~CarregadorSerie();  // stops reading and waits for the worker
    CarregadorSerie(const CarregadorSerie&) = delete;
    CarregadorSerie& operator=(const CarregadorSerie&) = delete;

    // The next frame, when it has been read.
    std::optional<Quadro> pegar();
    // Hands a buffer back for the next frames.
    void devolver(NosSuperficie&& buffer);
    // Every frame has been read and taken.
    bool acabou();

private:
    void trabalhar();

    std::filesystem::path pasta_;
    int numArquivos_;
    int gradeI_;
    int gradeJ_;
    std::function<void()> aviso_;
    std::size_t adiantados_;

    std::mutex mutex_;
    std::condition_variable espaco_;
    std::deque<Quadro> fila_;
    std::vector<NosSuperficie> livres_;
    bool terminou_ = false;
    std::atomic<bool> parar_{false};
    std::thread trabalhador_;
};
