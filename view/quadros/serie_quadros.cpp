#include "view/quadros/serie_quadros.h"

#include <algorithm>
#include <new>
#include <utility>

namespace tevra {

bool SerieQuadros::iniciar(int numQuadros, int gradeI, int gradeJ, std::size_t orcamento) {
    numQuadros_ = std::max(numQuadros, 0);
    prontos_ = 0;
    falhos_ = 0;
    ultimaImagem_ = 0;
    fechada_ = false;
    outraGrade_.reset();
    const std::size_t indices = static_cast<std::size_t>(std::min(numQuadros_, kMaxQuadros)) + 1;
    imagem_.assign(indices, 0);
    guardados_.assign(indices, nullptr);
    indisponiveis_.assign(indices, false);
    orcamento_ = orcamento;
    bytesGuardados_ = 0;
    referencia_ = 1;
    transmitindo_ = false;
    const long long nos = static_cast<long long>(std::max(gradeI, 0)) * std::max(gradeJ, 0);
    bytesPorQuadro_ = static_cast<std::size_t>(std::max(nos, 1LL)) * kBytesPorNoCompacto;
    if (nos > kMaxNosVisiveis) {
        nos_.alocar(0, 0);
        return false;
    }
    try {
        nos_.alocar(gradeI, gradeJ);
    } catch (const std::bad_alloc&) {
        nos_.alocar(0, 0);
        return false;
    }
    return true;
}

int SerieQuadros::arquivosASerLidos() const { return std::min(numQuadros_, kMaxQuadros); }

bool SerieQuadros::aceitar(int n, NosSuperficie& lido, const ResultadoLeitura& r,
                           std::shared_ptr<const QuadroCompacto> compacto) {
    if (n < 1) return false;
    if (n > numQuadros_) numQuadros_ = n;
    const int indice = std::min(n, kMaxQuadros);
    if (static_cast<std::size_t>(indice) >= imagem_.size()) {
        const std::size_t tamanho = static_cast<std::size_t>(indice) + 1;
        imagem_.resize(tamanho, 0);
        guardados_.resize(tamanho);
        indisponiveis_.resize(tamanho, false);
    }
    // Frames skipped on the way (a live run whose file could not be written) hold the last picture.
    for (int q = prontos_ + 1; q < n && q <= kMaxQuadros; ++q) {
        imagem_[static_cast<std::size_t>(q)] = ultimaImagem_;
        ++falhos_;
    }
    if (n == 1 && r.objeto) fechada_ = *r.objeto != 0.0;
    if (r.estado == EstadoQuadro::GradeDiferente && !outraGrade_)
        outraGrade_ = QuadroDeOutraGrade{n, r.nosNoArquivo, r.maisNos};
    const bool completo =
        r.estado == EstadoQuadro::Completo && lido.numNos() == nos_.numNos() && lido.gradeJ == nos_.gradeJ;
    if (completo) {
        std::swap(nos_, lido);
        imagem_[static_cast<std::size_t>(indice)] = indice;
        if (n >= prontos_) ultimaImagem_ = indice;
        if (compacto) guardar(indice, std::move(compacto));
    } else {
        imagem_[static_cast<std::size_t>(indice)] = ultimaImagem_;
        ++falhos_;
    }
    prontos_ = std::max(prontos_, n);
    return completo;
}

void SerieQuadros::concluir() {
    for (int q = prontos_ + 1; q <= std::min(numQuadros_, kMaxQuadros); ++q) {
        imagem_[static_cast<std::size_t>(q)] = ultimaImagem_;
        ++falhos_;
    }
    prontos_ = numQuadros_;
}

int SerieQuadros::imagemDoQuadro(int q) const {
    if (q < 1 || q > prontos_) return 0;
    const std::size_t i = static_cast<std::size_t>(std::min(q, kMaxQuadros));
    return i < imagem_.size() ? imagem_[i] : 0;
}

std::shared_ptr<const QuadroCompacto> SerieQuadros::quadro(int p) const {
    if (p < 1 || static_cast<std::size_t>(p) >= guardados_.size()) return nullptr;
    return guardados_[static_cast<std::size_t>(p)];
}

void SerieQuadros::posicionar(int q) {
    const int p = imagemDoQuadro(q);
    referencia_ = p > 0 ? p : std::clamp(q, 1, kMaxQuadros);
}

long long SerieQuadros::distancia(int p) const {
    // Ahead of the frame on screen, nearest first; then behind it, nearest first.
    return p >= referencia_ ? p - referencia_ : kMaxQuadros + (referencia_ - p);
}

bool SerieQuadros::guardar(int p, std::shared_ptr<const QuadroCompacto> compacto) {
    if (!compacto || p < 1 || static_cast<std::size_t>(p) >= guardados_.size()) return false;
    auto& lugar = guardados_[static_cast<std::size_t>(p)];
    if (lugar) bytesGuardados_ -= lugar->bytes();
    lugar.reset();
    const std::size_t bytes = compacto->bytes();
    while (bytesGuardados_ + bytes > orcamento_) {
        // Let go of the picture that playback needs last, unless it is this one.
        int longe = 0;
        for (std::size_t k = 1; k < guardados_.size(); ++k)
            if (guardados_[k] && (longe == 0 || distancia(static_cast<int>(k)) > distancia(longe)))
                longe = static_cast<int>(k);
        transmitindo_ = true;
        if (longe == 0 || distancia(longe) <= distancia(p)) return false;
        bytesGuardados_ -= guardados_[static_cast<std::size_t>(longe)]->bytes();
        guardados_[static_cast<std::size_t>(longe)].reset();
    }
    bytesGuardados_ += bytes;
    lugar = std::move(compacto);
    indisponiveis_[static_cast<std::size_t>(p)] = false;
    return true;
}

void SerieQuadros::indisponivel(int p) {
    if (p >= 1 && static_cast<std::size_t>(p) < indisponiveis_.size())
        indisponiveis_[static_cast<std::size_t>(p)] = true;
}

bool SerieQuadros::disponivel(int p) const {
    return p >= 1 && static_cast<std::size_t>(p) < indisponiveis_.size() &&
           !indisponiveis_[static_cast<std::size_t>(p)];
}

std::vector<int> SerieQuadros::aLer(int q) const {
    std::vector<int> faltam;
    if (orcamento_ < bytesPorQuadro_) return faltam;
    std::size_t cabem = orcamento_ / bytesPorQuadro_;
    const int ultimo = std::min(prontos_, kMaxQuadros);
    int anterior = 0;
    for (int f = std::max(q, 1); f <= ultimo && cabem > 0; ++f) {
        const int p = imagem_[static_cast<std::size_t>(f)];
        if (p == 0 || p == anterior) continue;
        anterior = p;
        --cabem;
        if (!guardados_[static_cast<std::size_t>(p)] && disponivel(p)) faltam.push_back(p);
    }
    return faltam;
}

}  // namespace tevra
