#include "view/render/saida_imagens.h"

#include <algorithm>

#include "base/nomes_arquivos.h"
#include "base/pasta_gravavel.h"
#include "model/equipe.h"
#include "view/render/desenhistas.h"
#include "view/render/gravador_png.h"
#include "view/render/video.h"

namespace tevra {

Escrita prepararPasta(const std::filesystem::path& pasta) {
    if (Escrita f = verificarPastaGravavel(pasta)) return f;
    std::error_code ec;
    std::filesystem::create_directories(pasta, ec);
    if (ec) return FalhaEscrita{pasta, ec.message()};
    return std::nullopt;
}

std::string listaQuadros(const std::vector<int>& quadros) {
    std::string s;
    for (std::size_t k = 0; k < quadros.size();) {
        std::size_t fim = k;
        while (fim + 1 < quadros.size() && quadros[fim + 1] == quadros[fim] + 1) ++fim;
        if (!s.empty()) s += ", ";
        s += std::to_string(quadros[k]);
        if (fim > k) s += " to " + std::to_string(quadros[fim]);
        k = fim + 1;
    }
    return s;
}

std::unique_ptr<SaidaImagens> SaidaImagens::criar(const OpcoesImagem& opcoes, std::filesystem::path pasta,
                                                  const std::vector<std::uint8_t>& texels, std::string& erro,
                                                  int desenhistas) {
    std::unique_ptr<SaidaImagens> s(new SaidaImagens);
    s->opcoes_ = opcoes;
    s->pasta_ = std::move(pasta);
    s->vista_ = opcoes.vista;
    // Compressing a picture takes about as long as drawing it.
    s->png_ = std::make_unique<GravadorPng>(std::clamp(threadsDisponiveis(), 1, 4));
    SaidaImagens* self = s.get();
    s->desenhistas_ = Desenhistas::criar(
        desenhistas > 0 ? desenhistas : desenhistasPadrao(), opcoes.largura, opcoes.altura, texels,
        [self](const TrabalhoDesenho& t, Imagem&& imagem) { self->pronta(t, std::move(imagem)); },
        [self] { return self->png_->reciclada(); }, erro);
    if (!s->desenhistas_) return nullptr;
    if (!opcoes.video.empty()) {
        s->video_ = std::make_unique<SaidaVideo>(opcoes.video, opcoes.fps);
        s->resultado_.comVideo = true;
    }
    return s;
}

SaidaImagens::~SaidaImagens() { desenhistas_.reset(); }

void SaidaImagens::enquadrar(const Caixa& caixa) {
    if (!opcoes_.enquadrar) return;
    tevra::enquadrar(caixa, vista_);
    enquadrada_ = true;
}

Escrita SaidaImagens::falhaVideo() const {
    std::lock_guard trava(videoMutex_);
    return video_ ? video_->falha() : Escrita{};
}

bool SaidaImagens::falhou() const { return falhou_.load(std::memory_order_relaxed); }

Escrita SaidaImagens::falhaImagem() { return png_->falha(); }

void SaidaImagens::quadro(int n, const QuadroCompacto& quadro, bool fechada) {
    if (concluida_) return;
    this->quadro(n, std::make_shared<const QuadroCompacto>(quadro), fechada);
}

void SaidaImagens::quadro(int n, std::shared_ptr<const QuadroCompacto> quadro, bool fechada) {
    if (concluida_ || !quadro) return;
    if (opcoes_.enquadrar && !enquadrada_) {
        Caixa c;
        c.incluir(*quadro);
        enquadrar(c);
    }
    enviouAlgum_ = true;
    desenhistas_->enviar({n, std::move(quadro), fechada, vista_, proximaOrdem_++});
}

void SaidaImagens::faltando(int n) {
    if (concluida_) return;
    resultado_.faltando.push_back(n);
    if (!video_) return;
    const int ordem = proximaOrdem_++;
    if (!enviouAlgum_) {
        // Before any frame was read the window shows an empty scene: drawn, but given no file.
        enviouAlgum_ = true;
        desenhistas_->enviar({n, nullptr, false, vista_, ordem});
        return;
    }
    std::lock_guard trava(videoMutex_);
    esperaVideo_.emplace(ordem, std::nullopt);
    descarregarVideo();
}

void SaidaImagens::pronta(const TrabalhoDesenho& t, Imagem&& imagem) {
    if (video_) {
        std::lock_guard trava(videoMutex_);
        // The file takes the picture; the video waits for its turn with a copy.
        esperaVideo_.emplace(t.ordem, t.quadro ? Imagem(imagem) : std::move(imagem));
        descarregarVideo();
    }
    if (!t.quadro || falhou_.load(std::memory_order_relaxed)) return;
    if (!png_->enviar(caminhoImagem(pasta_, t.n), std::move(imagem))) falhou_.store(true, std::memory_order_relaxed);
}

void SaidaImagens::descarregarVideo() {
    for (auto it = esperaVideo_.begin(); it != esperaVideo_.end() && it->first == proximoVideo_;
         it = esperaVideo_.erase(it), ++proximoVideo_) {
        if (it->second) ultima_ = std::move(*it->second);
        // A missing frame's place comes after the first picture: something was sent before it.
        if (ultima_) video_->quadro(*ultima_);
    }
}

ResultadoImagens SaidaImagens::concluir(bool completa) {
    if (concluida_) return resultado_;
    concluida_ = true;
    desenhistas_->esperar();
    desenhistas_.reset();  // every picture is drawn and handed over: the contexts go
    resultado_.falha = png_->concluir();
    resultado_.imagens = png_->gravados();
    if (video_ && !completa) {
        video_.reset();
        resultado_.comVideo = false;
    } else if (video_) {
        resultado_.falhaVideo = video_->concluir();
        resultado_.quadrosVideo = video_->quadros();
    }
    std::sort(resultado_.faltando.begin(), resultado_.faltando.end());
    return resultado_;
}

}  // namespace tevra
