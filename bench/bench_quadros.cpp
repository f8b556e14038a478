// Writing one 100 x 100 frame file (gravarQuadro) and reading it back (lerQuadro), from the
// file and from its text in memory; and its numbers alone, by lerReal and by the short readers
// the frame reader uses.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/cena/configuracao.h"
#include "base/leitura_real.h"
#include "base/leitura_real_curta.h"
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

// The frame's text, with room after it for the readers' reach.
std::string textoDoQuadro(Quadro& q) {
    gravarQuadro(*q.obj, q.pasta / kPadraoPontos, 2);
    std::ifstream in(nomeArquivoQuadro(q.pasta / kPadraoPontos, 2), std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void BM_LerQuadroTexto(benchmark::State& state) {
    Quadro q;
    const std::string texto = textoDoQuadro(q);
    NosSuperficie nos;
    nos.alocar(kLado, kLado);
    for (auto _ : state) {
        const ResultadoLeitura r = lerQuadro(std::string_view(texto), false, nos);
        if (r.estado != EstadoQuadro::Completo) state.SkipWithError("the frame did not read back whole");
        benchmark::DoNotOptimize(nos.x.data());
    }
}

// Every number of the frame (the items after a label), by lerReal (0) or lerRealCurto (1).
void BM_NumerosDoQuadro(benchmark::State& state) {
    Quadro q;
    std::string texto = textoDoQuadro(q);
    std::vector<std::pair<std::size_t, std::size_t>> numeros;
    for (std::size_t p = texto.find(':'); p != std::string::npos && p + 1 < texto.size(); p = texto.find(':', p + 1))
        for (std::size_t ini = p + 2, k = 0; k < 3; ++k) {
            const std::size_t fim = texto.find_first_of(" \n", ini);
            numeros.emplace_back(ini, fim);
            ini = fim + 1;
        }
    texto.append(kAlcanceRealCurto, ' ');
    const bool curto = state.range(0) == 1;
    double soma = 0;
    for (auto _ : state) {
        for (const auto& [ini, fim] : numeros) {
            double v = 0;
            if (curto ? lerRealCurto(texto.data() + ini, texto.data() + fim, v) : lerReal(texto.data() + ini, texto.data() + fim, v))
                soma += v;
        }
        benchmark::DoNotOptimize(soma);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * numeros.size()));
}

}  // namespace

BENCHMARK(BM_LerQuadroTexto)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_NumerosDoQuadro)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_GravarQuadro)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LerQuadro)->Unit(benchmark::kMillisecond)->UseRealTime();
