// tevra-sim: runs a scene script without windows and writes its frame files.
#include <cstdio>

#include "app/cena/escrita_script.h"
#include "app/execucao/codigos_saida.h"
#include "app/execucao/coleta.h"
#include "app/execucao/execucao.h"
#include "app/execucao/threads.h"
#include "base/erros.h"
#include "cli/montagem.h"
#include "cli/opcoes.h"
#include "cli/rodada.h"
#include "cli/sinais.h"
#include "view/render/desenhistas.h"

using namespace tevra;

namespace {

int coletar(const OpcoesLinha& o) {
    const std::vector<std::filesystem::path> pastas(o.coletar.begin(), o.coletar.end());
    const std::string csv = coletarManifestos(pastas);
    std::fwrite(csv.data(), 1, csv.size(), stdout);
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::fprintf(stderr, "tevra-sim: the table could not be written to standard output\n");
        return SaidaFalhaEscrita;
    }
    return SaidaConcluida;
}

}  // namespace

int main(int argc, char** argv) {
    desenharNoProprioThread();  // for --render; nothing else reads it
    OpcoesLinha o;
    if (const std::optional<int> fim = lerOpcoes(argc, argv, o)) return *fim;
    if (!o.coletar.empty()) return coletar(o);
    instalarSinais();

    Cena cena;
    ThreadsExecucao threads;
    try {
        cena = montarCena(o);
        threads = escolherThreads(o.threads);
        // A huge team crashes the OpenMP runtime before the run could refuse it.
        if (const std::string m = mensagemThreads(threads.numero); !m.empty())
            throw ErroEntrada(std::string(threads.fonte) + ": " + m);
    } catch (const ErroEntrada& e) {
        std::fprintf(stderr, "tevra-sim: %s\n", e.what());
        return SaidaEntradaRecusada;
    }

    if (o.imprimirCena) {
        std::fputs(escreverScript(cena).c_str(), stdout);
        return SaidaConcluida;
    }
    if (o.verificar) return verificarExecucao(o, cena, threads);
    return rodarCena(o, cena, threads);
}
