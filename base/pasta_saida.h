#pragma once

#include <filesystem>
#include <string_view>

#include "base/erros.h"

namespace tevra {

// The folder a run writes into, made ready before its first step: proved writable by the
// probe of verificarPastaGravavel (base/pasta_gravavel.h), then created when missing, so that
// a folder that cannot take the files is found before anything is computed. Empty when it is
// ready; else the folder and the reason.
Escrita prepararPastaSaida(const std::filesystem::path& pasta);

// True when `nome` is a name of `padrao` ("pontosXXXX.txt"): the same characters, with a
// decimal digit in place of each X.
bool nomeDoPadrao(std::string_view nome, std::string_view padrao);

// Removes the files of the run's own name patterns (pontosNNNN.txt, dadosNNNN.txt,
// dedosNNNN.txt) that an earlier run left in `pasta`, so that a series on disk is always
// one run's; nothing else in the folder is touched. Returns how many went, or the first one
// that could not be removed.
struct Limpeza {
    int removidos = 0;
    Escrita falha;
};
Limpeza removerSerieAnterior(const std::filesystem::path& pasta);

}  // namespace tevra
