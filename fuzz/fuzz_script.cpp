// libFuzzer harness: one input is a scene script. It goes through the loader and the
// set-up as a user's file would; a script the set-up accepts is written back and loaded
// again (it must give the same scene), then run for a few steps on a small grid into a
// private temporary folder, and every frame the run wrote must read back complete.
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <string_view>

#include "app/cena/conversao_cena.h"
#include "app/cena/escrita_script.h"
#include "app/cena/script_cena.h"
#include "app/execucao/execucao.h"
#include "base/erros.h"
#include "base/nomes_arquivos.h"
#include "view/quadros/leitor_quadros.h"

namespace {

// Small enough that one input runs in about a millisecond, large enough for interior
// nodes, edges and every restriction kind.
constexpr int kMaxGrade = 6;
constexpr int kMaxIteracoes = 6;

[[noreturn]] void falhar(const char* oque, const std::string& detalhe) {
    std::fprintf(stderr, "fuzz_script: %s\n%s\n", oque, detalhe.c_str());
    std::abort();
}

// The run's files go to one folder of this process, created on first use and removed at
// exit, so that nothing is written anywhere else whatever the script says.
class PastaDoProcesso {
public:
    PastaDoProcesso() {
        std::string modelo = (std::filesystem::temp_directory_path() / "tevra-fuzz-XXXXXX").string();
        if (!::mkdtemp(modelo.data())) falhar("cannot create a temporary folder", modelo);
        caminho_ = modelo;
    }
    ~PastaDoProcesso() {
        std::error_code ec;
        std::filesystem::remove_all(caminho_, ec);
    }
    const std::filesystem::path& caminho() const { return caminho_; }
    // Emptied after each input: files written over existing ones make the file system flush
    // them to disk at close, which would slow the fuzzer down a hundredfold.
    void esvaziar() const {
        std::error_code ec;
        for (const auto& e : std::filesystem::directory_iterator(caminho_, ec)) std::filesystem::remove(e.path(), ec);
    }

private:
    std::filesystem::path caminho_;
};

const PastaDoProcesso& pastaDaExecucao() {
    static const PastaDoProcesso pasta;
    return pasta;
}

// Loader and set-up as a front door drives them; nothing when the script is refused.
std::optional<tevra::Cena> cenaDoScript(std::string_view texto) {
    std::istringstream in{std::string(texto)};
    tevra::FormularioCena form;
    try {
        tevra::carregarScript(in, form);
        return tevra::converterCena(form, '.');
    } catch (const tevra::ErroEntrada&) {
        return std::nullopt;
    }
}

void executarPoucosPassos(tevra::Cena cena) {
    cena.grade_i = std::min(cena.grade_i, kMaxGrade);
    cena.grade_j = std::min(cena.grade_j, kMaxGrade);
    cena.quadros = std::min(cena.quadros, kMaxIteracoes);

    tevra::OpcoesExecucao opcoes;
    opcoes.pasta = pastaDaExecucao().caminho();
    opcoes.gravarDados = true;
    opcoes.threads = 1;
    std::optional<tevra::Execucao> execucao;
    try {
        execucao.emplace(cena, opcoes);
    } catch (const tevra::ErroEntrada&) {
        return;  // a check of the run itself (values the engine cannot use)
    }
    const tevra::ResultadoExecucao r = execucao->executar();

    if (r.falhas != 0) falhar("a run into a private folder could not write", tevra::textoFalhas(r));
    if (!r.divergencia && r.passos != r.passosTotais)
        falhar("the run stopped early without a reason", tevra::resumoExecucao(r));

    // Every frame the run wrote is complete: the reader takes it whole, unless the run blew
    // up and the file holds a non-finite value the reader refuses by design.
    tevra::NosSuperficie nos;
    nos.alocar(cena.grade_i, cena.grade_j);
    for (int n = 1; n <= r.quadros; ++n) {
        const std::filesystem::path arquivo = tevra::caminhoQuadro(r.pasta, n);
        if (tevra::lerQuadro(arquivo, n == 1, nos).estado == tevra::EstadoQuadro::Completo) continue;
        std::FILE* f = std::fopen(arquivo.c_str(), "rb");
        std::string texto;
        if (f) {
            char bloco[4096];
            for (std::size_t k; (k = std::fread(bloco, 1, sizeof bloco, f)) > 0;) texto.append(bloco, k);
            std::fclose(f);
        }
        if (texto.find("nan") == std::string::npos && texto.find("inf") == std::string::npos)
            falhar("a frame the run wrote does not read back complete", arquivo.string() + "\n" + texto);
    }
    pastaDaExecucao().esvaziar();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dados, std::size_t tamanho) {
    const std::string_view texto(reinterpret_cast<const char*>(dados), tamanho);
    const std::optional<tevra::Cena> cena = cenaDoScript(texto);
    if (!cena) return 0;

    // What the windows save loads back to the same scene.
    const std::string escrito = tevra::escreverScript(*cena);
    const std::optional<tevra::Cena> relida = cenaDoScript(escrito);
    if (!relida) falhar("the script written for an accepted scene is refused", escrito);
    if (!(*relida == *cena)) falhar("the script written for a scene loads back to another scene", escrito);

    executarPoucosPassos(*cena);
    return 0;
}
