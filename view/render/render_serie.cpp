#include "view/render/render_serie.h"

#include <condition_variable>
#include <mutex>

#include "view/quadros/serie_quadros.h"

namespace tevra {

namespace {

// The readers' "a frame is ready" for a thread that waits instead of polling.
struct Sinal {
    std::mutex mutex;
    std::condition_variable cv;
    bool pronto = false;

    void avisar() {
        {
            std::lock_guard t(mutex);
            pronto = true;
        }
        cv.notify_one();
    }
    void esperar() {
        std::unique_lock t(mutex);
        cv.wait(t, [this] { return pronto; });
        pronto = false;
    }
};

// Frames 1 .. serie.quadros in order, read ahead; `cada` gets the frame number, the frame as
// the series took it (complete or not) and the series; false from `cada` stops.
template <class F>
void percorrer(const SerieGravada& serie, F&& cada) {
    auto sinal = std::make_shared<Sinal>();
    TrabalhoCarga trabalho;
    trabalho.trabalhadores = 2;
    const int arquivos = std::min(serie.quadros, kMaxQuadros);
    CarregadorSerie leitor(
        serie.pasta, arquivos, serie.gradeI, serie.gradeJ, [sinal] { sinal->avisar(); }, trabalho);
    SerieQuadros quadros;
    quadros.iniciar(serie.quadros, serie.gradeI, serie.gradeJ);
    for (int n = 1; n <= arquivos; ++n) {
        std::optional<CarregadorSerie::Quadro> q;
        while (!(q = leitor.pegar())) sinal->esperar();
        const bool completo = quadros.aceitar(q->n, q->nos, q->resultado);
        leitor.devolver(std::move(q->nos));
        if (!cada(n, completo, quadros)) return;
    }
}

}  // namespace

Caixa caixaDaSerie(const SerieGravada& serie, const std::function<void(int, int)>& progresso) {
    Caixa caixa;
    percorrer(serie, [&](int n, bool completo, const SerieQuadros& q) {
        if (completo) caixa.incluir(q.nos());
        if (progresso) progresso(n, serie.quadros);
        return true;
    });
    return caixa;
}

int renderizarSerie(const SerieGravada& serie, SaidaImagens& saida, const std::function<void(int, int)>& progresso,
                    const std::atomic<bool>* parar) {
    int feitos = 0;
    percorrer(serie, [&](int n, bool completo, const SerieQuadros& q) {
        if (completo)
            saida.quadro(n, q.nos(), q.superficieFechada());
        else
            saida.faltando(n);
        feitos = n;
        if (progresso) progresso(n, serie.quadros);
        return !saida.falhou() && !(parar && parar->load(std::memory_order_relaxed));
    });
    return feitos;
}

}  // namespace tevra
