#include "cli/rodada.h"

#include <unistd.h>

#include <cstdio>
#include <memory>
#include <optional>

#include "app/execucao/codigos_saida.h"
#include "app/execucao/execucao.h"
#include "app/execucao/manifesto.h"
#include "base/barra_progresso.h"
#include "base/limites.h"
#include "base/pasta_gravavel.h"
#include "base/progresso_log.h"
#include "base/texto_imprimivel.h"
#include "cli/montagem.h"
#include "cli/saida_render.h"
#include "cli/sinais.h"
#include "view/exportacao/exportacao_execucao.h"

namespace tevra {

namespace {

void relatar(const ResultadoExecucao& r) {
    if (const std::string t = textoRemovidos(r); !t.empty()) std::printf("%s\n", t.c_str());
    std::printf("%s\n", resumoExecucao(r).c_str());
    std::fflush(stdout);
    if (r.falhas > 0) std::fprintf(stderr, "tevra-sim: %s\n", textoFalhas(r).c_str());
    if (r.divergencia) std::fprintf(stderr, "tevra-sim: %s\n", textoDivergencia(r).c_str());
    if (r.interrompido) std::fprintf(stderr, "tevra-sim: %s\n", textoInterrupcao(r).c_str());
}

}  // namespace

int rodarCena(const OpcoesLinha& o, const Cena& cena, const ThreadsExecucao& threads) {
    std::unique_ptr<Execucao> execucao;
    try {
        execucao = std::make_unique<Execucao>(cena, OpcoesExecucao{o.pasta, o.dados, threads.numero});
    } catch (const ErroEntrada& e) {
        std::fprintf(stderr, "tevra-sim: %s: %s\n", textoImprimivel(o.script).c_str(), e.what());
        return SaidaEntradaRecusada;
    }
    // From here on SIGINT and SIGTERM stop the run after a step; one that came while the
    // scene was being read stops it before anything is written.
    const VinculoSinais sinais(*execucao);
    if (sinalRecebido()) {
        std::fprintf(stderr, "tevra-sim: interrupted before the run started; nothing was written\n");
        return SaidaInterrompida;
    }

    if (const int codigo = prepararRender(o.render, *execucao); codigo != SaidaConcluida) return codigo;

    const ExportacaoExecucao* exportacao = nullptr;
    if (const std::optional<FormatoExportacao> f = formatoExportacao(o.exportar)) {
        auto x = criarExportacao(*f, *execucao);
        exportacao = x.get();
        execucao->adicionarSaida(std::move(x));
    }

    // A start that cannot be written is not yet a lost file: the end replaces it.
    Manifesto manifesto(*execucao, OrigemExecucao{"tevra-sim", o.script, o.sobreposicoes, threads});
    manifesto.gravarInicio();

    // A terminal gets the bar; a log (GNU parallel, a batch job) one line per tenth.
    const bool terminal = isatty(STDERR_FILENO) != 0;
    BarraProgresso barra(!o.silencioso && terminal);
    std::optional<ProgressoLog> log;
    if (!o.silencioso && !terminal) log.emplace(static_cast<long long>(cena.grade_i) * cena.grade_j);
    execucao->progresso = [&](int feitos, int total) {
        barra.mostrar(feitos, total);
        if (log) log->mostrar(feitos, total);
    };

    ResultadoExecucao res;
    try {
        res = execucao->executar();
    } catch (const ObjetoInvalido& e) {
        std::printf("%s\n", e.what());
        manifesto.gravarFim(res, SaidaObjetoInvalido);
        return SaidaObjetoInvalido;
    }
    barra.terminar();

    const int codigo = codigoSaida(res);
    const Escrita falhaManifesto = manifesto.gravarFim(res, codigo);
    relatar(res);
    if (exportacao && exportacao->removidos() > 0)
        std::printf("%d file(s) of an earlier export removed from %s\n", exportacao->removidos(),
                    textoImprimivel(execucao->pasta().string()).c_str());
    // Kept apart from the run's own failures, which count frames and dumps; a lost manifest
    // is a file that could not be written all the same. After a failure of the run's own
    // (a folder that takes no file at all, a full disk) it is the same cause: one line says it.
    if (!falhaManifesto) return codigo;
    if (res.falhas == 0)
        std::fprintf(stderr, "tevra-sim: the run's manifest could not be written: %s\n",
                     textoImprimivel(falhaManifesto->texto()).c_str());
    return SaidaFalhaEscrita;
}

int verificarExecucao(const OpcoesLinha& o, const Cena& cena, const ThreadsExecucao& threads) {
    const std::filesystem::path pasta = pastaDeSaida(o);
    if (const Escrita f = verificarPastaGravavel(pasta)) {
        std::fprintf(stderr, "tevra-sim: the output folder cannot be written: %s\n",
                     textoImprimivel(f->texto()).c_str());
        return SaidaEntradaRecusada;
    }
    if (const int codigo = verificarRender(o.render); codigo != SaidaConcluida) return codigo;
    std::printf("%s: ready: %d x %d nodes, %d steps, %lld frames to %s, %d threads\n",
                textoImprimivel(o.script).c_str(), cena.grade_i, cena.grade_j, passosDaSimulacao(cena.quadros),
                quadrosDaSimulacao(cena.quadros, cena.intervalo), textoImprimivel(pasta.string()).c_str(),
                threads.numero);
    return SaidaConcluida;
}

}  // namespace tevra
