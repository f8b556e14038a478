#include "view/quadros/memoria_visor.h"

#include <algorithm>
#include <limits>

#include "base/memoria.h"
#include "view/quadros/quadro_compacto.h"

namespace tevra {

std::size_t orcamentoPadraoVisor() {
    // The same measure as the set-up's memory check (base/memoria.h).
    const unsigned long long d = memoriaDisponivel();
    if (d == 0) return std::size_t{1} << 30;
    return static_cast<std::size_t>(std::min<unsigned long long>(d / 4, std::numeric_limits<std::size_t>::max()));
}

PlanoCarga planejarCarga(std::size_t orcamento, long long nos, std::size_t bytesFixosPorNo, int trabalhadoresMax) {
    PlanoCarga p;
    const auto n = static_cast<unsigned long long>(std::max(nos, 0LL));
    const unsigned long long quadro = n * kBytesPorNoCompacto;
    // Node arrays in doubles and the compact frame made from them.
    const unsigned long long emVoo = n * (6 * sizeof(double)) + quadro;
    p.trabalhadores = std::max(trabalhadoresMax, 1);
    p.adiantados = 4;
    // The frame on screen may outlive its place in memory until the next is drawn; and a
    // second reader brings frames back from disk while streaming (one thread, two ahead).
    const unsigned long long fixo = n * bytesFixosPorNo + quadro + 3 * emVoo;
    auto leitura = [&] { return static_cast<unsigned long long>(p.trabalhadores + p.adiantados) * emVoo; };
    while (fixo + leitura() + quadro > orcamento && (p.adiantados > 1 || p.trabalhadores > 1)) {
        if (p.adiantados > 1)
            --p.adiantados;
        else
            --p.trabalhadores;
    }
    p.cabe = fixo + leitura() + quadro <= orcamento;
    if (p.cabe) p.orcamentoQuadros = static_cast<std::size_t>(orcamento - fixo - leitura());
    return p;
}

}  // namespace tevra
