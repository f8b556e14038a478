// The animation window's load: time from showing it to the last frame taken in, and the
// memory the process holds afterwards. Run under a display (xvfb-run on a machine without
// one); the series is the one in the Tevra home's tmp folder, or a synthetic one written
// there first with --gerar (which overwrites that folder's frames: give it a home of its own).
// --orcamento sets the window's memory budget in bytes (a series larger than that streams).
//
//   TEVRA_HOME=$(mktemp -d) xvfb-run -a -s "-screen 0 1280x1024x24"
//       /usr/bin/time -v build/bin/tevra_bench_carga 400 100 100 --gerar --vezes 3   (one line)
#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "base/nomes_arquivos.h"
#include "base/tevra_home.h"
#include "view/janelas/render_form.h"

namespace {

// Resident and peak resident size of this process in KiB, from /proc.
std::pair<long, long> memoriaResidente() {
    std::ifstream in("/proc/self/status");
    long rss = 0, pico = 0;
    for (std::string l; std::getline(in, l);) {
        if (l.rfind("VmRSS:", 0) == 0) rss = std::atol(l.c_str() + 6);
        if (l.rfind("VmHWM:", 0) == 0) pico = std::atol(l.c_str() + 6);
    }
    return {rss, pico};
}

void numero(std::string& s, double v) {
    char tmp[32];
    auto r = std::to_chars(tmp, tmp + sizeof tmp, v, std::chars_format::general, 6);
    s.append(tmp, r.ptr);
}

// A sheet of 4 x 4 units rippling as the frames go, in the run's own text format.
void gerarSerie(int quadros, int gi, int gj) {
    const auto pasta = tevra::home::tmp();
    std::string t;
    for (int n = 1; n <= quadros; ++n) {
        t.clear();
        if (n == 1) t += "Objeto: 0\n";
        t += "Area: 16\nDensidade de Massa:  0.0625\n";
        for (int i = 0; i < gi; ++i)
            for (int j = 0; j < gj; ++j) {
                const double x = -2 + 4.0 * i / std::max(gi - 1, 1), y = -2 + 4.0 * j / std::max(gj - 1, 1);
                const double z = 0.3 * std::sin(2 * x + 0.05 * n) * std::cos(1.5 * y);
                const std::string idx = std::to_string(i * gj + j) + ": ";
                t += idx;
                numero(t, x);
                t += ' ';
                numero(t, y);
                t += ' ';
                numero(t, z);
                t += '\n';
                t += idx;
                numero(t, -0.6 * std::cos(2 * x + 0.05 * n) * std::cos(1.5 * y));
                t += ' ';
                numero(t, 0.45 * std::sin(2 * x + 0.05 * n) * std::sin(1.5 * y));
                t += " 1\n";
            }
        std::ofstream(tevra::caminhoQuadro(pasta, n), std::ios::binary) << t;
    }
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s QUADROS I J [--gerar] [--vezes N] [--orcamento BYTES]\n", argv[0]);
        return 2;
    }
    const int quadros = std::atoi(argv[1]), gi = std::atoi(argv[2]), gj = std::atoi(argv[3]);
    bool gerar = false;
    int vezes = 1;
    long long orcamento = 0;
    for (int k = 4; k < argc; ++k) {
        const std::string a = argv[k];
        if (a == "--gerar") gerar = true;
        if (a == "--vezes" && k + 1 < argc) vezes = std::max(1, std::atoi(argv[++k]));
        if (a == "--orcamento" && k + 1 < argc) orcamento = std::max(0LL, std::atoll(argv[++k]));
    }
    tevra::home::criarPastas();
    if (gerar) gerarSerie(quadros, gi, gj);

    TRenderForm form;
    form.numQuadros = quadros;
    form.gradeI = gi;
    form.gradeJ = gj;
    form.definirOrcamento(static_cast<std::size_t>(orcamento));
    std::vector<double> tempos;
    QElapsedTimer relogio;
    QObject::connect(&form, &TRenderForm::quadrosCarregados, &app, [&] {
        tempos.push_back(static_cast<double>(relogio.nsecsElapsed()) / 1e6);
        const auto [rss, pico] = memoriaResidente();
        std::printf("load %d: %.0f ms, resident %.0f MiB (peak %.0f MiB)%s\n", static_cast<int>(tempos.size()),
                    tempos.back(), rss / 1024.0, pico / 1024.0, form.transmitindo() ? ", streaming" : "");
        if (static_cast<int>(tempos.size()) < vezes) {
            QTimer::singleShot(0, &form, [&] {
                relogio.start();
                form.show();
            });
        } else {
            QTimer::singleShot(0, &app, &QApplication::quit);
        }
    });
    QTimer::singleShot(0, &form, [&] {
        relogio.start();
        form.show();
    });
    app.exec();
    std::sort(tempos.begin(), tempos.end());
    if (!tempos.empty())
        std::printf("%d x %d, %d frames: median load %.0f ms\n", gi, gj, quadros, tempos[tempos.size() / 2]);
    return 0;
}
