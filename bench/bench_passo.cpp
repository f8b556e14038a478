// Node-steps per second of each integrator on a 256 x 256 sheet with all three tensors
// non-zero, and the memory the object holds per node.
#include <benchmark/benchmark.h>

#include <memory>

#include "app/cena/configuracao.h"
#include "dynamics/simulacao.h"
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
