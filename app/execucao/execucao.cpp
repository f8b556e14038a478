#include "app/execucao/execucao.h"

#include <omp.h>

#include <chrono>
#include <cstdio>

#include "app/cena/configuracao.h"
#include "app/execucao/saida_diagnostico.h"
#include "base/limites.h"
#include "base/tevra_home.h"

namespace tevra {

Execucao::Execucao(const Cena& cena, OpcoesExecucao opcoes) : cena_(cena), opcoes_(std::move(opcoes)) {
    obj_ = criarObjeto(cena_);
    obj_->flagDados = opcoes_.gravarDados ? 1 : 0;
    if (opcoes_.pasta.empty()) {
        home::criarPastas();
        opcoes_.pasta = home::tmp();
    }
    // Every run tells how it behaved over time, beside its frames.
    saidas_.push_back(std::make_unique<SaidaDiagnostico>(opcoes_.pasta));
}

Execucao::~Execucao() = default;

int Execucao::passosTotais() const { return passosDaSimulacao(cena_.quadros); }

void Execucao::adicionarSaida(std::unique_ptr<SaidaQuadro> saida) {
    saida->preparar(*obj_);
    saidas_.push_back(std::move(saida));
}

ResultadoExecucao Execucao::executar() {
    // The engine's parallel regions take their thread count from the thread that runs them.
    if (opcoes_.threads > 0) omp_set_num_threads(opcoes_.threads);

    OpcoesSimulacao op;
    op.pasta = opcoes_.pasta;
    op.cancelar = &cancelar_;
    op.progresso = progresso;
    ResultadoExecucao r;
    op.quadroGravado = [this, &r](const ObjDeformavel& o, int n, const std::filesystem::path& arquivo) -> Escrita {
        Escrita primeira;
        for (auto& s : saidas_)
            if (Escrita f = s->quadro(o, n, arquivo); f && !primeira) primeira = std::move(f);
        if (primeira) ++r.falhasExtras;
        if (quadroGravado) quadroGravado(n, arquivo);
        return primeira;
    };

    r.pasta = opcoes_.pasta;
    r.nos = static_cast<long long>(obj_->grade_i) * obj_->grade_j;
    r.passosTotais = passosTotais();
    const auto inicio = std::chrono::steady_clock::now();
    const ResultadoSimulacao s = simular(*obj_, op);
    for (auto& saida : saidas_)
        if (Escrita f = saida->concluir()) {
            if (r.falhas + s.falhas == 0) r.primeiraFalha = f;
            ++r.falhas;
            ++r.falhasExtras;
        }
    r.segundos = std::chrono::duration<double>(std::chrono::steady_clock::now() - inicio).count();
    r.passos = s.passos;
    r.quadros = s.quadros;
    r.falhas += s.falhas;
    if (s.primeiraFalha) r.primeiraFalha = s.primeiraFalha;
    r.cancelado = s.cancelado;
    r.interrompido = s.cancelado && interrompido_.load(std::memory_order_relaxed);
    r.divergencia = s.divergencia;
    return r;
}

std::string resumoExecucao(const ResultadoExecucao& r) {
    const double nosPassos = static_cast<double>(r.passos) * static_cast<double>(r.nos);
    char buf[128];
    std::snprintf(buf, sizeof buf, ", %.3f s wall time, %.3g node-steps per second", r.segundos,
                  r.segundos > 0 ? nosPassos / r.segundos : 0.0);
    return std::to_string(r.passos) + " steps, " + std::to_string(r.quadrosGravados()) + " frames written to " +
           r.pasta.string() + buf;
}

std::string textoCancelamento(const ResultadoExecucao& r) {
    return "The simulation was cancelled after step " + std::to_string(r.passos) + " of " +
           std::to_string(r.passosTotais) + "; frames 1 to " + std::to_string(r.quadros) + " are kept.";
}

std::string textoDivergencia(const ResultadoExecucao& r) {
    if (!r.divergencia) return {};
    const Divergencia& d = *r.divergencia;
    char tempo[32];
    std::snprintf(tempo, sizeof tempo, "%.6g", d.tempo);
    return "The run diverged at step " + std::to_string(d.passo) + " (simulated time " + tempo + "): node (" +
           std::to_string(d.i) + ", " + std::to_string(d.j) + ") has a non-finite " + d.grandeza + "; frames 1 to " +
           std::to_string(r.quadros) + " are kept.";
}

std::string textoFalhas(const ResultadoExecucao& r) {
    return std::to_string(r.falhas) +
           " file(s) could not be written; the first: " + (r.primeiraFalha ? r.primeiraFalha->texto() : std::string());
}

}  // namespace tevra
