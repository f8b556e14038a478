// Writing one 100 x 100 frame file (gravarQuadro) and reading it back (lerQuadro).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>

#include "app/cena/configuracao.h"
#include "base/nomes_arquivos.h"
#include "dynamics/arquivos.h"
#include "dynamics/simulacao.h"
#include "support/cenas.h"
#include "view/quadros/leitor_quadros.h"

using namespace tevra;

namespace {

constexpr int kLado = 100;

// A sheet after a few steps, so that the numbers have their usual lengths.
struct Quadro {
    Quadro() : pasta(std::filesystem::temp_directory_path() / ("tevra-bench-" + std::to_string(getpid()))) {
        std::filesystem::create_directories(pasta);
        Cena c = cenaBenchmark(kLado, SolverEulerSemiExplicito);
        c.passo = 1e-3;
        obj = construirObjeto(c);
        obj->passoAtual = 1;
        obj->inicializar();
        for (int i = 1; i <= 5; ++i) avancarPasso(*obj, i);
    }
    ~Quadro() { std::filesystem::remove_all(pasta); }
    std::filesystem::path pasta;
    std::unique_ptr<ObjDeformavel> obj;
};

void BM_GravarQuadro(benchmark::State& state) {
    Quadro q;
    for (auto _ : state) benchmark::DoNotOptimize(gravarQuadro(*q.obj, q.pasta / kPadraoPontos, 2));
}

void BM_LerQuadro(benchmark::State& state) {
    Quadro q;
    gravarQuadro(*q.obj, q.pasta / kPadraoPontos, 2);
    const std::filesystem::path arquivo = nomeArquivoQuadro(q.pasta / kPadraoPontos, 2);
    NosSuperficie nos;
    nos.alocar(kLado, kLado);
    for (auto _ : state) {
        const ResultadoLeitura r = lerQuadro(arquivo, false, nos);
        if (r.estado != EstadoQuadro::Completo) state.SkipWithError("the frame did not read back whole");
        benchmark::DoNotOptimize(nos.x.data());
    }
}

}  // namespace

BENCHMARK(BM_GravarQuadro)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LerQuadro)->Unit(benchmark::kMillisecond)->UseRealTime();
