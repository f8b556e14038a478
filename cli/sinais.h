#pragma once

#include "app/execucao/execucao.h"

namespace tevra {

// SIGINT and SIGTERM for the runner: from instalarSinais() on, the first of them is only
// noted, and interrupts the run bound by VinculoSinais, which stops after its current step
// and leaves only whole files. The handler is then reset, so a second Ctrl+C ends the
// process at once (files on disk are still whole or absent).
void instalarSinais();
// A signal has come since instalarSinais().
bool sinalRecebido();

// While it lives, a signal interrupts `execucao` (also one that came before).
class VinculoSinais {
public:
    explicit VinculoSinais(Execucao& execucao);
    ~VinculoSinais();
    VinculoSinais(const VinculoSinais&) = delete;
    VinculoSinais& operator=(const VinculoSinais&) = delete;
};

}  // namespace tevra
