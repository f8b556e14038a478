// Pictures of one series two ways, in the same process and conditions: the animation window
// loading it (every frame read and kept as its compact floats) and tevra-render drawing
// every frame into a PNG file. Needs a display for the window: run under xvfb-run.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <QApplication>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "support/casa_teste.h"  // from tests/: bench/CMakeLists.txt adds it to the include path
#include "support/esperar_qt.h"
#include "view/janelas/render_form.h"
#include "view/quadros/quadros_teste.h"

using namespace tevra;

namespace {

// Processor time of this process (all its threads) or of its finished children: on a busy
// machine it tells more than the wall time.
double cpu(int quem) {
    rusage r{};
    getrusage(quem, &r);
    return static_cast<double>(r.ru_utime.tv_sec + r.ru_stime.tv_sec) +
           static_cast<double>(r.ru_utime.tv_usec + r.ru_stime.tv_usec) * 1e-6;
}

constexpr int kQuadros = 400;
constexpr int kLado = 100;

// A 4 x 4 sheet of 100 x 100 nodes rippling a little more every frame, in the home's tmp.
const CasaTemporaria& serie() {
    static CasaTemporaria casa;
    static const bool escrita = [] {
        escreverSerie(tevra::home::tmp(), kQuadros, kLado, kLado, [](int n, int i, int j) {
            const double x = 4.0 * i / (kLado - 1) - 2, y = 4.0 * j / (kLado - 1) - 2;
            const double z = 0.02 * n * std::sin(3 * x) * std::cos(2 * y) / kQuadros;
            return std::array<double, 6>{x, y, z, 0, 0, 1};
        });
        return true;
    }();
    (void)escrita;
    return casa;
}

void BM_CargaDaJanela(benchmark::State& state) {
    serie();
    for (auto _ : state) {
        TRenderForm form;
        form.numQuadros = kQuadros;
        form.gradeI = kLado;
        form.gradeJ = kLado;
        const double cpu0 = cpu(RUSAGE_SELF);
        const auto inicio = std::chrono::steady_clock::now();
        form.show();
        if (!esperarAte([&] { return form.superficieGL() && form.superficieGL()->isValid() && !form.carregando(); },
                        600000))
            state.SkipWithError("the window did not finish loading");
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - inicio).count());
        state.counters["cpu_s"] = cpu(RUSAGE_SELF) - cpu0;
    }
    state.SetLabel(std::to_string(kQuadros) + " frames of " + std::to_string(kLado) + "x" + std::to_string(kLado));
}

void BM_TevraRender(benchmark::State& state) {
    const CasaTemporaria& casa = serie();
    const std::string cmd = "env -u DISPLAY -u WAYLAND_DISPLAY '" TEVRA_RENDER "' '" + (casa / "tmp").string() +
                            "' --size 600x600 --out '" + (casa / "imagens").string() + "' > /dev/null";
    for (auto _ : state) {
        const double cpu0 = cpu(RUSAGE_CHILDREN);
        const auto inicio = std::chrono::steady_clock::now();
        const int st = std::system(cmd.c_str());
        if (!WIFEXITED(st) || WEXITSTATUS(st) != 0) state.SkipWithError("tevra-render failed");
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - inicio).count());
        state.counters["cpu_s"] = cpu(RUSAGE_CHILDREN) - cpu0;
    }
    state.SetLabel(std::to_string(kQuadros) + " pictures of 600x600");
}

}  // namespace

// Run with --benchmark_enable_random_interleaving=true, so that a busy machine weighs on both alike.
BENCHMARK(BM_CargaDaJanela)->Iterations(1)->Repetitions(5)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TevraRender)->Iterations(1)->Repetitions(5)->UseManualTime()->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
