// Writing one frame of a 256 x 256 sheet: the text frame file against the exports of the
// same frame, each to a file in a temporary folder.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <random>

#include "app/cena/configuracao.h"
#include "base/limites.h"
#include "base/nomes_arquivos.h"
#include "dynamics/arquivos.h"
#include "dynamics/simulacao.h"
#include "support/cenas.h"  // from tests/: bench/CMakeLists.txt adds it to the include path
#include "view/exportacao/exportacao_execucao.h"

using namespace tevra;

namespace {

namespace fs = std::filesystem;

constexpr int kLado = 256;

// The benchmark's sheet two steps on, so that every value has all its digits.
struct Quadro {
    std::unique_ptr<ObjDeformavel> obj;
    fs::path pasta;

    Quadro() {
        obj = construirObjeto(cenaBenchmark(kLado, SolverEulerSemiExplicito));
        obj->passoAtual = 1;
        obj->inicializar();
        for (int i = 1; i <= 2; ++i) avancarPasso(*obj, i);
        std::random_device rd;
        pasta = fs::temp_directory_path() / ("tevra-bench-" + std::to_string(rd()));
        fs::create_directories(pasta);
    }
    ~Quadro() {
        std::error_code ec;
        fs::remove_all(pasta, ec);
    }
};

Quadro& quadro() {
    static Quadro q;
    return q;
}

void porNo(benchmark::State& state) {
    state.counters["ns_per_node"] = benchmark::Counter(static_cast<double>(state.iterations()) * kLado * kLado,
                                                       benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_QuadroTexto(benchmark::State& state) {
    Quadro& q = quadro();
    const fs::path padrao = q.pasta / kPadraoPontos;
    for (auto _ : state)
        if (gravarQuadro(*q.obj, padrao, 2)) state.SkipWithError("frame not written");
    porNo(state);
}

// A run's export of one frame, as tevra-sim --export writes it (with --data: the tensors too).
void BM_Exportacao(benchmark::State& state) {
    Quadro& q = quadro();
    const auto formato = static_cast<FormatoExportacao>(state.range(0));
    const bool tensores = state.range(1) != 0;
    ExportacaoExecucao x(formato, q.pasta, 25, 2e-4, tensores);
    // The .pvd is written at the end of a run; a frame's cost is its own file.
    x.serie().intervaloPvd = std::chrono::hours(1);
    if (x.quadro(*q.obj, 1, {})) state.SkipWithError("frame 1 not written");
    int n = 2;
    for (auto _ : state) {
        if (x.quadro(*q.obj, n, {})) state.SkipWithError("frame not written");
        n = n < kMaxQuadros ? n + 1 : 2;
    }
    state.SetLabel(std::string(formato == FormatoExportacao::Vtu ? "vtu" : "obj") + (tensores ? " with G, B, S" : ""));
    porNo(state);
}

}  // namespace

BENCHMARK(BM_QuadroTexto)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Exportacao)
    ->Args({static_cast<int>(FormatoExportacao::Vtu), 0})
    ->Args({static_cast<int>(FormatoExportacao::Vtu), 1})
    ->Args({static_cast<int>(FormatoExportacao::Obj), 0})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
