#include "cli/saida_render.h"

#include <CLI/CLI.hpp>

#include <cstdio>
#include <memory>
#include <optional>

#include "app/execucao/codigos_saida.h"
#include "base/pasta_gravavel.h"
#include "dynamics/arquivos.h"
#include "view/gl/malha.h"
#include "view/render/renderizador.h"
#include "view/render/saida_imagens.h"
#include "view/render/textura.h"

namespace tevra {

namespace {

void dizer(const std::string& texto) { std::fprintf(stderr, "tevra-sim: %s\n", texto.c_str()); }

// Each picture is made on the frame writer's thread from the text its frame file got, read
// back: the very numbers tevra-render would read from the file later, and the run steps on
// meanwhile.
class SaidaRender : public SaidaQuadro {
public:
    SaidaRender(std::unique_ptr<SaidaImagens> imagens, std::filesystem::path pasta, int gradeI, int gradeJ)
        : imagens_(std::move(imagens)), pasta_(std::move(pasta)) {
        nos_.alocar(gradeI, gradeJ);
    }

    Escrita quadroEscrito(const VistaQuadro& q, std::string_view texto) override {
        const int n = q.n;
        const ResultadoLeitura r = lerQuadro(texto, n == 1, nos_);
        if (n == 1 && r.objeto) fechada_ = *r.objeto != 0.0;
        if (r.estado != EstadoQuadro::Completo) {
            imagens_->faltando(n);
            return FalhaEscrita{caminhoImagem(pasta_, n), "its frame does not read back as a whole frame"};
        }
        // Compacted into a frame of its own, which the drawing threads share rather than copy.
        auto quadro = std::make_shared<QuadroCompacto>();
        compactar(nos_, *quadro);
        imagens_->quadro(n, std::move(quadro), fechada_);
        // Pictures are written behind the run: a failure is told with the frame after it.
        if (Escrita f = imagens_->falhaImagem(); f && !falhaDita_) {
            falhaDita_ = true;
            return f;
        }
        return std::nullopt;
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

namespace {

struct Preparo {
    OpcoesImagem opcoes;
    std::vector<std::uint8_t> texels;
    std::filesystem::path pasta;
};

bool algumaOpcao(const TextoOpcoesImagem& t) {
    return !t.tamanho.empty() || !t.rotacao.empty() || !t.translacao.empty() || !t.escala.empty() || !t.video.empty() ||
           !t.fps.empty() || t.textura || t.iluminacao || t.contorno || t.ortografica || t.enquadrar;
}

// The options, the texture and the folders; `prontas` makes the folders (a run) or only
// checks them (--check). 0, or the exit status after a one-line message.
int conferir(const OpcoesRender& o, Preparo& p, bool prontas) {
    try {
        p.opcoes = converterOpcoesImagem(o.imagem);
        p.texels = p.opcoes.vista.texturaLigada ? lerTextura(localizarTextura())
                                                : montarTextura(0, 0, [](int, int) { return 0u; });
    } catch (const ErroEntrada& e) {
        dizer(e.what());
        return SaidaEntradaRecusada;
    }
    p.pasta = o.pasta;
    const auto pasta = [prontas](const std::filesystem::path& d) {
        return prontas ? prepararPasta(d) : verificarPastaGravavel(d);
    };
    Escrita ruim = pasta(p.pasta);
    if (!ruim && !p.opcoes.video.empty())
        ruim = pasta(p.opcoes.video.has_parent_path() ? p.opcoes.video.parent_path() : ".");
    if (ruim) {
        dizer("cannot write to " + ruim->texto());
        // --check refuses an unwritable folder as it refuses the run's own.
        return prontas ? SaidaFalhaEscrita : SaidaEntradaRecusada;
    }
    return SaidaConcluida;
}

// Without --render there is nothing to draw, and picture options alone are a slip.
std::optional<int> semPasta(const OpcoesRender& o) {
    if (!o.pasta.empty()) return std::nullopt;
    if (!algumaOpcao(o.imagem)) return SaidaConcluida;
    dizer("the picture options need --render DIR");
    return SaidaEntradaRecusada;
}

}  // namespace

int prepararRender(const OpcoesRender& o, Execucao& execucao) {
    if (const std::optional<int> codigo = semPasta(o)) return *codigo;
    Preparo p;
    if (const int codigo = conferir(o, p, true); codigo != SaidaConcluida) return codigo;
    std::string erro;
    auto imagens = SaidaImagens::criar(p.opcoes, p.pasta, p.texels, erro);
    if (!imagens) {
        dizer("no off-screen OpenGL: " + erro);
        return SaidaSemOpenGL;
    }
    if (const Escrita& v = imagens->falhaVideo()) dizer("no video: " + v->texto() + "; the pictures are still made");
    const Cena& c = execucao.cena();
    execucao.adicionarSaida(std::make_unique<SaidaRender>(std::move(imagens), p.pasta, c.grade_i, c.grade_j));
    return SaidaConcluida;
}

int verificarRender(const OpcoesRender& o) {
    if (const std::optional<int> codigo = semPasta(o)) return *codigo;
    Preparo p;
    if (const int codigo = conferir(o, p, false); codigo != SaidaConcluida) return codigo;
    std::string erro;
    if (!Renderizador::criar(p.opcoes.largura, p.opcoes.altura, p.texels, erro)) {
        dizer("no off-screen OpenGL: " + erro);
        return SaidaSemOpenGL;
    }
    return SaidaConcluida;
}

}  // namespace tevra
