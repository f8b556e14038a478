#include "view/quadros/serie_quadros.h"

#include <algorithm>
#include <new>
#include <utility>

namespace tevra {

bool SerieQuadros::iniciar(int numQuadros, int gradeI, int gradeJ) {
    numQuadros_ = std::max(numQuadros, 0);
    prontos_ = 0;
    falhos_ = 0;
    ultimaImagem_ = 0;
    fechada_ = false;
    imagem_.assign(static_cast<std::size_t>(std::min(numQuadros_, kMaxQuadros)) + 1, 0);
    const long long nos = static_cast<long long>(std::max(gradeI, 0)) * std::max(gradeJ, 0);
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

bool SerieQuadros::aceitar(int n, NosSuperficie& lido, const ResultadoLeitura& r) {
    if (n < 1) return false;
    if (n > numQuadros_) numQuadros_ = n;
    const int indice = std::min(n, kMaxQuadros);
    if (static_cast<std::size_t>(indice) >= imagem_.size()) imagem_.resize(static_cast<std::size_t>(indice) + 1, 0);
    // Frames skipped on the way (a live run whose file could not be written) hold the last picture.
    for (int q = prontos_ + 1; q < n && q <= kMaxQuadros; ++q) {
        imagem_[static_cast<std::size_t>(q)] = ultimaImagem_;
        ++falhos_;
    }
    if (n == 1 && r.objeto) fechada_ = *r.objeto != 0.0;
    const bool completo =
        r.estado == EstadoQuadro::Completo && lido.numNos() == nos_.numNos() && lido.gradeJ == nos_.gradeJ;
    if (completo) {
        std::swap(nos_, lido);
        imagem_[static_cast<std::size_t>(indice)] = indice;
        if (n >= prontos_) ultimaImagem_ = indice;
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

CarregadorSerie::CarregadorSerie(std::filesystem::path pasta, int numArquivos, int gradeI, int gradeJ,
                                 std::function<void()> aviso, Trabalho trabalho, int adiantados)
    : pasta_(std::move(pasta)),
      numArquivos_(std::clamp(numArquivos, 0, kMaxQuadros)),
      gradeI_(gradeI),
      gradeJ_(gradeJ),
      aviso_(std::move(aviso)),
      trabalho_(std::move(trabalho)) {
    const int n = std::max(trabalho_.trabalhadores, 1);
    // Room for every worker to hold a frame while the next one to hand out is still being read.
    janela_ = std::max(adiantados, 1) + n;
    ativos_ = n;
    trabalhadores_.reserve(static_cast<std::size_t>(n));
    for (int w = 0; w < n; ++w) trabalhadores_.emplace_back([this, w] { trabalhar(w); });
}

CarregadorSerie::~CarregadorSerie() {
    {
        std::lock_guard trava(mutex_);
        parar_ = true;
    }
    mudou_.notify_all();
    for (auto& t : trabalhadores_) t.join();
}

void CarregadorSerie::trabalhar(int w) {
    const bool prepara = trabalho_.preparar && (!trabalho_.iniciar || trabalho_.iniciar(w));
    for (;;) {
        Quadro q;
        {
            std::unique_lock trava(mutex_);
            mudou_.wait(trava, [this] { return parar_ || proximo_ > numArquivos_ || proximo_ < entregue_ + janela_; });
            if (parar_ || proximo_ > numArquivos_) break;
            q.n = proximo_++;
            if (!livres_.empty()) {
                q.nos = std::move(livres_.back());
                livres_.pop_back();
            }
        }
        try {
            if (q.nos.gradeI != gradeI_ || q.nos.gradeJ != gradeJ_ || q.nos.numNos() == 0)
                q.nos.alocar(gradeI_, gradeJ_);
            q.resultado = lerQuadro(caminhoQuadro(pasta_, q.n), q.n == 1, q.nos);
        } catch (const std::bad_alloc&) {
            q.nos = NosSuperficie{};
            q.resultado = ResultadoLeitura{};
        }
        bool fechada = false;
        {
            std::unique_lock trava(mutex_);
            if (q.n == 1) {
                fechadaConhecida_ = true;
                fechada_ = q.resultado.objeto && *q.resultado.objeto != 0.0;
                mudou_.notify_all();
            }
            if (prepara && q.resultado.estado == EstadoQuadro::Completo) {
                mudou_.wait(trava, [this] { return parar_ || fechadaConhecida_; });
                if (parar_) break;
            }
            fechada = fechada_;
        }
        if (prepara && q.resultado.estado == EstadoQuadro::Completo)
            q.preparado = trabalho_.preparar(w, q.n, q.nos, fechada);
        bool avisar;
        {
            std::lock_guard trava(mutex_);
            avisar = q.n == entregue_;
            prontos_.emplace(q.n, std::move(q));
        }
        if (avisar && aviso_) aviso_();
    }
    if (trabalho_.terminar) trabalho_.terminar(w);
    bool ultimo;
    {
        std::lock_guard trava(mutex_);
        ultimo = --ativos_ == 0;
    }
    mudou_.notify_all();
    if (ultimo && aviso_) aviso_();
}

std::optional<CarregadorSerie::Quadro> CarregadorSerie::pegar() {
    std::optional<Quadro> q;
    {
        std::lock_guard trava(mutex_);
        auto it = prontos_.begin();
        if (it == prontos_.end() || it->first != entregue_) return q;
        q = std::move(it->second);
        prontos_.erase(it);
        ++entregue_;
    }
    mudou_.notify_all();
    return q;
}

void CarregadorSerie::devolver(NosSuperficie&& buffer) {
    std::lock_guard trava(mutex_);
    if (static_cast<int>(livres_.size()) < janela_) livres_.push_back(std::move(buffer));
}

bool CarregadorSerie::acabou() {
    std::lock_guard trava(mutex_);
    return ativos_ == 0 && entregue_ > numArquivos_;
}

}  // namespace tevra
