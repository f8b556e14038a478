// The plain transcription of the model the tests compare the engine with, on the same sheet:
// the engine's speed-up is the ratio of the two node-step rates in one run.
#include <benchmark/benchmark.h>

#include <string>

#include "dynamics/referencia/referencia.h"
#include "model/solver.h"
#include "support/cenas.h"

using namespace tevra;

namespace {

// Arguments: solver, grid side.
void BM_Referencia(benchmark::State& state) {
    const int solver = static_cast<int>(state.range(0));
    const int n = static_cast<int>(state.range(1));
    referencia::ObjetoRef o = referencia::construirReferencia(cenaBenchmark(n, solver));
    int i = 1;
    for (auto _ : state) {
        o.avancarPasso(i++);
        benchmark::ClobberMemory();
    }
    state.SetLabel(std::string(nomesSolver[solver - SolverEulerSemiExplicito]));
    state.counters["node_steps_per_s"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * n * n, benchmark::Counter::kIsRate);
}

}  // namespace

BENCHMARK(BM_Referencia)
    ->ArgsProduct({{SolverEulerSemiExplicito, SolverRungeKutta}, {64, 256}})
    ->ArgNames({"solver", "n"})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
