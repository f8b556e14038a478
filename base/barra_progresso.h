#pragma once

#include <chrono>

namespace tevra {

// A one-line progress bar on standard error, redrawn at most a few times a second;
// silent when standard error is not a terminal. `unidade` names what is counted.
class BarraProgresso {
public:
    // `unidade`: what is counted ("steps", "frames").
    explicit BarraProgresso(bool ativa, const char* unidade = "steps") : ativa_(ativa), unidade_(unidade) {}
    void mostrar(int feitos, int total);
    void terminar();

private:
    bool ativa_;
    const char* unidade_;
    bool desenhou_ = false;
    std::chrono::steady_clock::time_point ultima_{};
};

}  // namespace tevra
