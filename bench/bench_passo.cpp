// Node-steps per second of each integrator on the benchmark's sheet (every elastic term, a
// fluid, a held corner) of 64 x 64, 256 x 256 and 1024 x 1024 nodes, on 1 and 2 threads,
// with the scalar kernels and with the widest this processor runs, and the bytes per node
// the surface holds. The label says which kernels ran.
#include <benchmark/benchmark.h>

#include <memory>
#include <optional>
#include <string>

#include "app/cena/configuracao.h"
#include "dynamics/simulacao.h"
#include "model/caminho.h"
#include "model/equipe.h"
#include "model/obj_deformavel.h"
#include "model/solver.h"
#include "support/cenas.h"  // from tests/: bench/CMakeLists.txt adds it to the include path

using namespace tevra;

namespace {

// Built without the set-up's checks, which would refuse a run that never ends.
std::unique_ptr<ObjDeformavel> folha(int n, int solver) {
    auto o = construirObjeto(cenaBenchmark(n, solver));
    o->passoAtual = 1;
    o->inicializar();
    return o;
}

// Arguments: solver, grid side, threads, 1 for the vector kernels (0: scalar).
void BM_Passo(benchmark::State& state) {
    const int solver = static_cast<int>(state.range(0));
    const int n = static_cast<int>(state.range(1));
    const int threads = static_cast<int>(state.range(2));
    const bool simd = state.range(3) != 0;
    definirThreads(threads);
    forcarCaminho(simd ? std::nullopt : std::optional<Caminho>(Caminho::Escalar));
    auto o = folha(n, solver);
    int i = 1;
    for (auto _ : state) {
        avancarPasso(*o, i++);
        benchmark::ClobberMemory();
    }
    state.SetLabel(std::string(nomesSolver[solver - SolverEulerSemiExplicito]) + ", " + nomeCaminho(caminhoAtivo()));
    state.counters["node_steps_per_s"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * n * n, benchmark::Counter::kIsRate);
    state.counters["bytes_per_node"] = static_cast<double>(ObjDeformavel::bytesPorNo(solver));
    definirThreads(0);
    forcarCaminho(std::nullopt);
}

void argumentos(benchmark::internal::Benchmark* b) {
    for (int lado : {64, 256, 1024})
        for (int s = SolverEulerSemiExplicito; s <= SolverVerlet; ++s)
            for (int threads : {1, 2})
                for (int simd : {0, 1}) b->Args({s, lado, threads, simd});
    b->ArgNames({"solver", "n", "threads", "simd"});
}

}  // namespace

BENCHMARK(BM_Passo)->Apply(argumentos)->Unit(benchmark::kMillisecond)->UseRealTime();
