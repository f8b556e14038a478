#pragma once

#include <condition_variable>
#include <deque>
#include <filesystem>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "base/erros.h"
#include "view/imagem/imagem.h"

namespace tevra {

// Writes pictures as PNG files on worker threads, so that the next picture is drawn while
// the last ones are compressed. Every file is complete or absent; after the first failure
// nothing more is written.
class GravadorPng {
public:
    explicit GravadorPng(int trabalhadores);
    ~GravadorPng();  // finishes what was handed over
    GravadorPng(const GravadorPng&) = delete;
    GravadorPng& operator=(const GravadorPng&) = delete;

    // Hands a picture over; waits while the workers are a few pictures behind. False once a
    // write has failed.
    bool enviar(std::filesystem::path arquivo, Imagem imagem);
    // Waits for everything handed over; the first failure, if any.
    Escrita concluir();
    // The first failure so far, without waiting.
    Escrita falha();
    int gravados();

private:
    void trabalhar();

    std::mutex mutex_;
    std::condition_variable mudou_;
    std::deque<std::pair<std::filesystem::path, Imagem>> fila_;
    std::size_t limite_;
    int ocupados_ = 0;
    int gravados_ = 0;
    bool parar_ = false;
    Escrita falha_;
    std::vector<std::thread> trabalhadores_;
};

}  // namespace tevra
