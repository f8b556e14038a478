#include "base/barra_progresso.h"

#include <cstdio>

namespace tevra {

void BarraProgresso::mostrar(int feitos, int total) {
    if (!ativa_ || total <= 0) return;
    const auto agora = std::chrono::steady_clock::now();
    if (feitos < total && desenhou_ && agora - ultima_ < std::chrono::milliseconds(200)) return;
    ultima_ = agora;
    desenhou_ = true;
    constexpr int largura = 40;
    const int cheio = static_cast<int>(static_cast<long long>(feitos) * largura / total);
    char barra[largura + 1];
    for (int k = 0; k < largura; ++k) barra[k] = k < cheio ? '#' : '.';
    barra[largura] = '\0';
    std::fprintf(stderr, "\r[%s] %d/%d %s (%3d%%)", barra, feitos, total, unidade_,
                 static_cast<int>(static_cast<long long>(feitos) * 100 / total));
    std::fflush(stderr);
}

void BarraProgresso::terminar() {
    if (ativa_ && desenhou_) std::fprintf(stderr, "\n");
}

}  // namespace tevra
