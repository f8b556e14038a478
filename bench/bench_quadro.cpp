// The frame writer: the text of one 100 x 100 frame, alone and written to disk, and the copy
// a run hands its writer thread.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <vector>

#include "app/cena/configuracao.h"
#include "base/numero_texto.h"
#include "dynamics/arquivos.h"
#include "dynamics/simulacao.h"
#include "support/cenas.h"  // from tests/: bench/CMakeLists.txt adds it to the include path

using namespace tevra;

namespace {

// The benchmark sheet after a few steps, so that no coordinate is a round number.
std::unique_ptr<ObjDeformavel> folhaEmMovimento(int n) {
    auto o = construirObjeto(cenaBenchmark(n, SolverEulerSemiExplicito));
    o->passoAtual = 1;
    o->inicializar();
    for (int i = 1; i <= 20; ++i) avancarPasso(*o, i);
    return o;
}

void BM_TextoQuadro(benchmark::State& state) {
    auto o = folhaEmMovimento(100);
    const VistaQuadro q = vistaDoObjeto(*o, 2, false);
    std::vector<char> buffer;
    std::size_t bytes = 0;
    for (auto _ : state) {
        bytes = textoQuadro(q, buffer).size();
        benchmark::DoNotOptimize(buffer.data());
    }
    state.counters["bytes"] = static_cast<double>(bytes);
}


// The lines alone, by each build of the number writer (argument 1: the four-lane one, where
// the processor has AVX2).
void BM_LinhasQuadro(benchmark::State& state) {
    const bool avx2 = state.range(0) != 0;
    if (avx2 && !linhasAvx2Disponivel()) {
        state.SkipWithError("no AVX2 here");
        return;
    }
    auto o = folhaEmMovimento(100);
    const VistaQuadro q = vistaDoObjeto(*o, 2, false);
    const double* colunas[6] = {q.pos[0], q.pos[1], q.pos[2], q.normal[0], q.normal[1], q.normal[2]};
    std::vector<char> buffer(static_cast<std::size_t>(q.nos) * bytesTextoQuadroPorNo() + 256);
    for (auto _ : state) {
        benchmark::DoNotOptimize((avx2 ? escreverLinhasAvx2 : escreverLinhasEscalar)(buffer.data(), colunas, 2, q.nos));
        benchmark::ClobberMemory();
    }
    state.SetLabel(avx2 ? "avx2" : "escalar");
}

void BM_GravarQuadro(benchmark::State& state) {
    auto o = folhaEmMovimento(100);
    const std::filesystem::path pasta = std::filesystem::temp_directory_path() / "tevra-bench-quadro";
    std::filesystem::create_directories(pasta);
    for (auto _ : state) benchmark::DoNotOptimize(gravarQuadro(*o, pasta / kPadraoPontos, 2));
    std::filesystem::remove_all(pasta);
}

void BM_CopiaQuadro(benchmark::State& state) {
    auto o = folhaEmMovimento(100);
    CopiaQuadro c;
    for (auto _ : state) {
        c.copiar(*o, 2, false);
        benchmark::ClobberMemory();
    }
}

}  // namespace

BENCHMARK(BM_TextoQuadro)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LinhasQuadro)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GravarQuadro)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CopiaQuadro)->Unit(benchmark::kMicrosecond);
