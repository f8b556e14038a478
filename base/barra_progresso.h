#pragma once

#include <chrono>

namespace tevra {

// A one-line progress bar on standard error, redrawn at most a few times a second;
// silent when standard error is not a terminal.
class BarraProgresso {
public:
    explicit BarraProgresso(bool ativa) : ativa_(ativa) {}
    void mostrar(int feitos, int total);
    void terminar();

private:
    bool ativa_;
    bool desenhou_ = false;
    std::chrono::steady_clock::time_point ultima_{};
};

}  // namespace tevra
