#pragma once
// Frame files written by hand for the viewer's tests, in the format of the run's writer.

#include <array>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <sstream>
#include <string>

#include "support/arquivos_teste.h"
#include "view/quadros/leitor_quadros.h"

namespace tevra {

// Position and normal of node (i, j) in frame n.
using NoDoQuadro = std::function<std::array<double, 6>(int n, int i, int j)>;

// The text of frame n: the first-frame header for n = 1, then two lines a node.
inline std::string textoQuadro(int n, int gi, int gj, const NoDoQuadro& no, int objeto = 0, const char* quebra = "\n") {
    std::ostringstream s;
    if (n == 1) s << "Objeto: " << objeto << quebra;
    s << "Area: " << 16 << quebra << "Densidade de Massa:  " << 0.0625 << quebra;
    for (int i = 0; i < gi; ++i)
        for (int j = 0; j < gj; ++j) {
            const auto v = no(n, i, j);
            const int idx = i * gj + j;
            s << idx << ": " << v[0] << " " << v[1] << " " << v[2] << quebra;
            s << idx << ": " << v[3] << " " << v[4] << " " << v[5] << quebra;
        }
    return s.str();
}

// Frames 1 .. quadros of a series in `pasta`.
inline void escreverSerie(const std::filesystem::path& pasta, int quadros, int gi, int gj, const NoDoQuadro& no,
                          int objeto = 0) {
    std::filesystem::create_directories(pasta);
    for (int n = 1; n <= quadros; ++n) escreverArquivo(caminhoQuadro(pasta, n), textoQuadro(n, gi, gj, no, objeto));
}

// A flat sheet, 1 apart along i (x) and j (y), raised by n / 10 in frame n; normal +z.
inline std::array<double, 6> folhaSubindo(int n, int i, int j) {
    return {static_cast<double>(i), static_cast<double>(j), n / 10.0, 0, 0, 1};
}

// A frame reader that blocks until released, as a read on a file system that hangs; then
// it reads the file. Shared, so that a reader still stuck outlives the test's own scope.
struct LeitorPreso : std::enable_shared_from_this<LeitorPreso> {
    std::mutex m;
    std::condition_variable cv;
    bool solto = false;
    int presos = 0;      // reads begun
    int terminados = 0;  // reads ended

    LeitorQuadro leitor() {
        return [eu = shared_from_this()](const std::filesystem::path& arquivo, bool primeiro, NosSuperficie& nos) {
            std::unique_lock t(eu->m);
            ++eu->presos;
            eu->cv.notify_all();
            eu->cv.wait(t, [&] { return eu->solto; });
            t.unlock();
            const ResultadoLeitura r = lerQuadro(arquivo, primeiro, nos);
            t.lock();
            ++eu->terminados;
            eu->cv.notify_all();
            return r;
        };
    }
    void soltar() {
        std::lock_guard t(m);
        solto = true;
        cv.notify_all();
    }
    // Waits (10 s at most) until `pronto` holds.
    template <class F>
    bool esperar(F pronto) {
        std::unique_lock t(m);
        return cv.wait_for(t, std::chrono::seconds(10), pronto);
    }
};

}  // namespace tevra
