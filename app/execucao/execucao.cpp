#include "app/execucao/execucao.h"

#include <omp.h>

#include <chrono>

#include "app/cena/configuracao.h"
#include "base/limites.h"
#include "base/tevra_home.h"

namespace tevra {

std::string mensagemThreads(int threads) {
    if (threads <= limiteThreads()) return {};
    return "At most " + std::to_string(limiteThreads()) + " threads (4 per hardware thread of this machine); " +
           std::to_string(threads) + " were asked for";
}

Execucao::Execucao(const Cena& cena, OpcoesExecucao opcoes) : cena_(cena), opcoes_(std::move(opcoes)) {
    // The OpenMP runtime crashes on a huge team, and a large one only waits on itself.
    if (std::string m = mensagemThreads(opcoes_.threads); !m.empty()) throw ErroEntrada(m);
    if (opcoes_.gravarDados) verificarGrade(cena_.grade_i, cena_.grade_j, cena_.solver, true);
    obj_ = criarObjeto(cena_);
    obj_->flagDados = opcoes_.gravarDados ? 1 : 0;
    if (opcoes_.pasta.empty()) {
        home::criarPastas();
        opcoes_.pasta = home::tmp();
    }
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
    op.quadroGravado = [this](const ObjDeformavel& o, int n, const std::filesystem::path& arquivo) -> Escrita {
        for (auto& s : saidas_)
            if (Escrita f = s->quadro(o, n, arquivo)) return f;
        return std::nullopt;
    };
    op.quadroNoDisco = [this](int n, const std::filesystem::path& arquivo) {
        if (quadroGravado) quadroGravado(n, arquivo);
    };
    // Every run tells how it behaved over time, beside its frames.
    op.inicio = [this](const ObjDeformavel& o) { diagnostico_ = std::make_unique<SaidaDiagnostico>(opcoes_.pasta, o); };
    op.quadroCopiado = [this](const VistaQuadro& q, std::string_view texto) -> Escrita {
        if (Escrita f = diagnostico_->quadro(q)) return f;
        for (auto& s : saidas_)
            if (Escrita f = s->quadroEscrito(q, texto)) return f;
        return std::nullopt;
    };

    r.pasta = opcoes_.pasta;
    r.nos = static_cast<long long>(obj_->grade_i) * obj_->grade_j;
    r.passosTotais = passosTotais();
    const auto inicio = std::chrono::steady_clock::now();
    ResultadoSimulacao s = simular(*obj_, op);
    r.falhas = s.falhas;
    r.primeiraFalha = std::move(s.primeiraFalha);
    for (auto& saida : saidas_)
        if (Escrita f = saida->concluir())
            if (r.falhas++ == 0) r.primeiraFalha = std::move(f);
    if (diagnostico_) diagnostico_->concluir();
    r.segundos = std::chrono::duration<double>(std::chrono::steady_clock::now() - inicio).count();
    r.passos = s.passos;
    r.quadros = s.quadros;
    r.removidos = s.removidos;
    r.cancelado = s.cancelado;
    r.interrompido = s.cancelado && interrompido_.load(std::memory_order_relaxed);
    r.divergencia = s.divergencia;
    return r;
}

}  // namespace tevra
