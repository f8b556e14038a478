#include "view/render/saida_imagens.h"

#include <algorithm>
#include <thread>

#include "base/nomes_arquivos.h"
#include "base/pasta_gravavel.h"
#include "view/render/gravador_png.h"
#include "view/render/renderizador.h"
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
                                                  const std::vector<std::uint8_t>& texels, std::string& erro) {
    std::unique_ptr<SaidaImagens> s(new SaidaImagens);
    s->opcoes_ = opcoes;
    s->pasta_ = std::move(pasta);
    s->vista_ = opcoes.vista;
    s->renderizador_ = Renderizador::criar(opcoes.largura, opcoes.altura, texels, erro);
    if (!s->renderizador_) return nullptr;
    // Compressing a picture takes longer than drawing it.
    s->png_ = std::make_unique<GravadorPng>(static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u, 4u)));
    if (!opcoes.video.empty()) {
        s->video_ = std::make_unique<SaidaVideo>(opcoes.video, opcoes.fps);
        s->resultado_.comVideo = true;
    }
    return s;
}

SaidaImagens::~SaidaImagens() = default;

void SaidaImagens::enquadrar(const Caixa& caixa) {
    if (!opcoes_.enquadrar) return;
    tevra::enquadrar(caixa, vista_);
    enquadrada_ = true;
}

const Escrita& SaidaImagens::falhaVideo() const {
    static const Escrita nenhuma;
    return video_ ? video_->falha() : nenhuma;
}

bool SaidaImagens::falhou() const { return falhou_; }

Escrita SaidaImagens::falhaImagem() { return png_->falha(); }

void SaidaImagens::paraVideo(const Imagem& imagem) {
    if (video_) video_->quadro(imagem);
}

void SaidaImagens::quadro(int n, const QuadroCompacto& quadro, bool fechada) {
    if (concluida_) return;
    if (opcoes_.enquadrar && !enquadrada_) {
        Caixa c;
        c.incluir(quadro);
        enquadrar(c);
    }
    const Imagem& imagem = renderizador_->desenhar(vista_, &quadro, fechada);
    paraVideo(imagem);
    if (video_) ultima_ = imagem;
    if (!falhou_ && !png_->enviar(caminhoImagem(pasta_, n), imagem)) falhou_ = true;
}

void SaidaImagens::faltando(int n) {
    if (concluida_) return;
    resultado_.faltando.push_back(n);
    if (!video_) return;
    // Before any frame was read the window shows an empty scene.
    if (!ultima_) ultima_ = renderizador_->desenhar(vista_, nullptr, false);
    paraVideo(*ultima_);
}

ResultadoImagens SaidaImagens::concluir(bool completa) {
    if (concluida_) return resultado_;
    concluida_ = true;
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
