#pragma once

#include <string>

#include "app/execucao/execucao.h"
#include "view/render/opcoes_imagem.h"

namespace CLI {
class App;
}

namespace tevra {

// tevra-sim SCRIPT --render DIR [picture options]: the run's pictures (and video), drawn as
// tevra-render draws them, each from its frame file right after the run wrote it.
struct OpcoesRender {
    std::string pasta;  // empty: no pictures
    TextoOpcoesImagem imagem;
};

void adicionarOpcoesRender(CLI::App& app, OpcoesRender& opcoes);

// Before the run: checks the options, the folders and the off-screen context, and adds the
// pictures to the run's outputs. Returns 0, or the exit status after a one-line message.
int prepararRender(const OpcoesRender& opcoes, Execucao& execucao);

// --check: the same checks, writing nothing (an unwritable folder is refused with 2).
int verificarRender(const OpcoesRender& opcoes);

}  // namespace tevra
