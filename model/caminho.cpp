#include "model/caminho.h"

#include <atomic>
#include <cstdlib>
#include <cstring>

namespace tevra {

namespace nucleo {
#define TEVRA_DECLARAR_VARIANTE(v)                                \
    namespace v {                                                 \
    void metricaLinha(const Grade&, const LinhaMetrica&);         \
    void normaisLinha(const Grade&, const LinhaNormais&);         \
    void curvaturaLinha(const Grade&, const LinhaCurvatura&);     \
    void divergenciaLinha(const Grade&, const LinhaDivergencia&); \
    }
TEVRA_DECLARAR_VARIANTE(escalar)
TEVRA_DECLARAR_VARIANTE(sse2)
TEVRA_DECLARAR_VARIANTE(avx2)
#undef TEVRA_DECLARAR_VARIANTE

namespace {
const TabelaModelo kTabelas[3] = {
    {escalar::metricaLinha, escalar::normaisLinha, escalar::curvaturaLinha, escalar::divergenciaLinha},
    {sse2::metricaLinha, sse2::normaisLinha, sse2::curvaturaLinha, sse2::divergenciaLinha},
    {avx2::metricaLinha, avx2::normaisLinha, avx2::curvaturaLinha, avx2::divergenciaLinha},
};
}  // namespace

const TabelaModelo& tabelaModelo(Caminho c) { return kTabelas[static_cast<int>(c)]; }
}  // namespace nucleo

namespace {

// -1: automatic; otherwise the forced Caminho.
std::atomic<int> forcado{-1};

Caminho automatico() {
    static const Caminho escolhido = [] {
        const Caminho melhor = processadorTemAvx2() ? Caminho::AVX2 : Caminho::SSE2;
        const char* pedido = std::getenv("TEVRA_SIMD");
        if (!pedido) return melhor;
        if (std::strcmp(pedido, "escalar") == 0) return Caminho::Escalar;
        if (std::strcmp(pedido, "sse2") == 0) return Caminho::SSE2;
        return melhor;  // "avx2" when the processor lacks it, or a name that means nothing
    }();
    return escolhido;
}

}  // namespace

bool processadorTemAvx2() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2");
}

Caminho caminhoAtivo() {
    const int f = forcado.load(std::memory_order_relaxed);
    return f < 0 ? automatico() : static_cast<Caminho>(f);
}

bool forcarCaminho(std::optional<Caminho> c) {
    if (c == Caminho::AVX2 && !processadorTemAvx2()) return false;
    forcado.store(c ? static_cast<int>(*c) : -1, std::memory_order_relaxed);
    return true;
}

const char* nomeCaminho(Caminho c) {
    switch (c) {
        case Caminho::Escalar: return "escalar";
        case Caminho::SSE2: return "sse2";
        case Caminho::AVX2: return "avx2";
    }
    return "?";
}

}  // namespace tevra
