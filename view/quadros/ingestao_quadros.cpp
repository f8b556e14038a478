#include "view/quadros/ingestao_quadros.h"

namespace tevra {

std::optional<FonteQuadros::Quadro> FonteAoVivo::pegar() {
    if (pendentes_.empty()) return std::nullopt;
    auto [n, arquivo] = std::move(pendentes_.front());
    pendentes_.pop_front();
    if (lido_.gradeI != gradeI_ || lido_.gradeJ != gradeJ_ || lido_.numNos() == 0) lido_.alocar(gradeI_, gradeJ_);
    Quadro q;
    q.n = n;
    q.resultado = lerQuadro(arquivo, n == 1, lido_);
    if (q.resultado.estado == EstadoQuadro::Completo) {
        auto compacto = std::make_shared<QuadroCompacto>();
        compactar(lido_, *compacto);
        q.compacto = std::move(compacto);
    }
    q.nos = std::move(lido_);
    return q;
}

bool ingerirQuadros(FonteQuadros& fonte, SerieQuadros& serie, std::chrono::milliseconds fatia) {
    const auto fim = std::chrono::steady_clock::now() + fatia;
    while (auto q = fonte.pegar()) {
        serie.aceitar(q->n, q->nos, q->resultado, std::move(q->compacto));
        fonte.devolver(std::move(q->nos));
        if (std::chrono::steady_clock::now() >= fim) return true;
    }
    return false;
}

}  // namespace tevra
