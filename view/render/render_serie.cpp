#include "view/render/render_serie.h"

#include <condition_variable>
#include <mutex>

#include "view/quadros/carregador_serie.h"

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

// Frames 1 .. serie.quadros in order, read ahead; `cada` gets the frame number, the frame
// when it was read completely (else null; the reader keeps no hold on it) and whether
// frame 1 said the surface is a tube; false from `cada` stops.
template <class F>
void percorrer(const SerieGravada& serie, F&& cada) {
    auto sinal = std::make_shared<Sinal>();
    OpcoesCarga opcoes;
    opcoes.trabalhadores = 2;
    opcoes.comNos = false;  // the compact frames are all a picture needs
    const int arquivos = std::min(serie.quadros, kMaxQuadros);
    CarregadorSerie leitor(
        serie.pasta, arquivos, serie.gradeI, serie.gradeJ, [sinal] { sinal->avisar(); }, opcoes);
    bool fechada = false;
    for (int n = 1; n <= arquivos; ++n) {
        std::optional<CarregadorSerie::Quadro> q;
        while (!(q = leitor.pegar())) sinal->esperar();
        if (n == 1 && q->resultado.objeto) fechada = *q->resultado.objeto != 0.0;
        const bool completo = q->resultado.estado == EstadoQuadro::Completo && q->compacto;
        if (!cada(n, completo ? std::move(q->compacto) : nullptr, fechada)) return;
    }
}

}  // namespace

Caixa caixaDaSerie(const SerieGravada& serie, const std::function<void(int, int)>& progresso) {
    Caixa caixa;
    percorrer(serie, [&](int n, std::shared_ptr<const QuadroCompacto> q, bool) {
        if (q) caixa.incluir(*q);
        if (progresso) progresso(n, serie.quadros);
        return true;
    });
    return caixa;
}

int renderizarSerie(const SerieGravada& serie, SaidaImagens& saida, const std::function<void(int, int)>& progresso,
                    const std::atomic<bool>* parar) {
    int feitos = 0;
    percorrer(serie, [&](int n, std::shared_ptr<const QuadroCompacto> q, bool fechada) {
        if (q)
            saida.quadro(n, std::move(q), fechada);
        else
            saida.faltando(n);
        feitos = n;
        if (progresso) progresso(n, serie.quadros);
        return !saida.falhou() && !(parar && parar->load(std::memory_order_relaxed));
    });
    return feitos;
}

}  // namespace tevra
