// Node-steps per second of each integrator on a 256 x 256 sheet with all three tensors
// non-zero, and the memory the object holds per node.
#include <benchmark/benchmark.h>

#include <memory>

#include "dynamics/simulacao.h"
#include "model/obj_deformavel.h"
#include "model/solver.h"

using namespace tevra;

namespace {

std::unique_ptr<ObjDeformavel> folha(int n, int solver) {
    auto o = std::make_unique<ObjDeformavel>(n, n, solver);
    o->massa = 1.0;
    const double eta[2][2] = {{20.0, 1.0}, {1.0, 20.0}};
    const double qsi[2][2] = {{0.01, 0.001}, {0.001, 0.01}};
    const double psi[2][2] = {{0.1, 0.01}, {0.01, 0.1}};
    for (int k = 0; k < 2; ++k)
        for (int l = 0; l < 2; ++l) {
            o->eta[k][l] = eta[k][l];
            o->qsi[k][l] = qsi[k][l];
            o->psi[k][l] = psi[k][l];
        }
    o->objeto = ObjetoPlano;
    o->comp[0] = 2.0;
    o->comp[1] = 2.0;
    o->comp[2] = 0.5;
    o->gama = 0.1;
    o->acel = {0.0, 0.0, -9.8};
    o->fluidoAtivo = 1;
    o->fluido = {0.0, 0.5, 1.0};
    o->fluido_cte = 0.05;
    o->passo = 1e-5;
    o->quadros = 1 << 30;
    o->intervalo = 1 << 30;
    Restricao canto;
    canto.u = 0;
    canto.v = 0;
    canto.inicio = 0;
    canto.fim = 1 << 30;
    o->restricoes.push_back(canto);
    o->nRestricoes = 1;
    o->passoAtual = 1;
    o->inicializar();
    return o;
}

void BM_Passo(benchmark::State& state) {
    const int solver = static_cast<int>(state.range(0));
    const int n = 256;
    auto o = folha(n, solver);
    int i = 1;
    for (auto _ : state) {
        avancarPasso(*o, i++);
        benchmark::ClobberMemory();
    }
    state.SetLabel(std::string(nomesSolver[solver - SolverEulerSemiExplicito]));
    state.counters["node_steps_per_s"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * n * n, benchmark::Counter::kIsRate);
    state.counters["bytes_per_node"] = static_cast<double>(ObjDeformavel::bytesPorNo(solver));
}

}  // namespace

BENCHMARK(BM_Passo)->DenseRange(SolverEulerSemiExplicito, SolverVerlet)->Unit(benchmark::kMillisecond)->UseRealTime();
