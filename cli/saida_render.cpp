#include "cli/saida_render.h"

#include <CLI/CLI.hpp>

#include <cstdio>

#include "app/execucao/codigos_saida.h"
#include "view/gl/malha.h"
#include "view/render/saida_imagens.h"
#include "view/render/textura.h"

namespace tevra {

namespace {

void dizer(const std::string& texto) { std::fprintf(stderr, "tevra-sim: %s\n", texto.c_str()); }

// The file the run has just written is read back, so that the picture is made of the very
// numbers tevra-render would read from it later.
class SaidaRender : public SaidaQuadro {
public:
    SaidaRender(std::unique_ptr<SaidaImagens> imagens, std::filesystem::path pasta, int gradeI, int gradeJ)
        : imagens_(std::move(imagens)), pasta_(std::move(pasta)) {
        nos_.alocar(gradeI, gradeJ);
    }

    Escrita quadro(const ObjDeformavel&, int n, const std::filesystem::path& arquivo) override {
        const ResultadoLeitura r = lerQuadro(arquivo, n == 1, nos_);
        if (n == 1 && r.objeto) fechada_ = *r.objeto != 0.0;
        if (r.estado == EstadoQuadro::Completo) {
            imagens_->quadro(n, nos_, fechada_);
            // Pictures are written behind the run: a failure is told with the frame after it.
            if (Escrita f = imagens_->falhaImagem(); f && !falhaDita_) {
                falhaDita_ = true;
                return f;
            }
            return std::nullopt;
        }
        imagens_->faltando(n);
        // A frame the run could not write is already reported as such.
        if (r.estado == EstadoQuadro::Ausente) return std::nullopt;
        return FalhaEscrita{caminhoImagem(pasta_, n), "its frame file " + arquivo.string() + " could not be read back"};
    }

    Escrita concluir() override {
        const ResultadoImagens r = imagens_->concluir();
        std::printf("%d pictures written to %s\n", r.imagens, pasta_.string().c_str());
        if (r.comVideo && !r.falhaVideo) std::printf("video: %d frames\n", r.quadrosVideo);
        if (r.falha && !falhaDita_) return r.falha;
        return r.falhaVideo;
    }

private:
    std::unique_ptr<SaidaImagens> imagens_;
    std::filesystem::path pasta_;
    NosSuperficie nos_;
    bool fechada_ = false;
    bool falhaDita_ = false;
};

}  // namespace

void adicionarOpcoesRender(CLI::App& app, OpcoesRender& o) {
    app.add_option("--render", o.pasta,
                   "also draw every frame as it is written, as tevra-render does, into DIR/quadroNNNN.png");
    adicionarOpcoesImagem(app, o.imagem, "the run's first frame (the later ones are not known yet)");
}

int prepararRender(const OpcoesRender& o, Execucao& execucao) {
    if (o.pasta.empty()) {
        const TextoOpcoesImagem& t = o.imagem;
        const bool algumaOpcao = !t.tamanho.empty() || !t.rotacao.empty() || !t.translacao.empty() ||
                                 !t.escala.empty() || !t.video.empty() || !t.fps.empty() || t.textura || t.iluminacao ||
                                 t.contorno || t.ortografica || t.enquadrar;
        if (!algumaOpcao) return SaidaConcluida;
        dizer("the picture options need --render DIR");
        return SaidaEntradaRecusada;
    }
    OpcoesImagem opcoes;
    std::vector<std::uint8_t> texels;
    try {
        opcoes = converterOpcoesImagem(o.imagem);
        texels = opcoes.vista.texturaLigada ? lerTextura(localizarTextura())
                                            : montarTextura(0, 0, [](int, int) { return 0u; });
    } catch (const ErroEntrada& e) {
        dizer(e.what());
        return SaidaEntradaRecusada;
    }
    const std::filesystem::path pasta(o.pasta);
    Escrita ruim = verificarPasta(pasta);
    if (!ruim && !opcoes.video.empty())
        ruim = verificarPasta(opcoes.video.has_parent_path() ? opcoes.video.parent_path() : ".");
    if (ruim) {
        dizer("cannot write to " + ruim->texto());
        return SaidaFalhaEscrita;
    }
    std::string erro;
    auto imagens = SaidaImagens::criar(opcoes, pasta, texels, erro);
    if (!imagens) {
        dizer("no off-screen OpenGL: " + erro);
        return SaidaSemOpenGL;
    }
    if (const Escrita& v = imagens->falhaVideo()) dizer("no video: " + v->texto() + "; the pictures are still made");
    const Cena& c = execucao.cena();
    execucao.adicionarSaida(std::make_unique<SaidaRender>(std::move(imagens), pasta, c.grade_i, c.grade_j));
    return SaidaConcluida;
}

}  // namespace tevra
