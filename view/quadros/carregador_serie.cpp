#include "view/quadros/carregador_serie.h"

#include <algorithm>
#include <condition_variable>
#include <map>
#include <mutex>
#include <new>
#include <system_error>
#include <thread>

#include "base/limites.h"
#include "base/nomes_arquivos.h"

namespace tevra {

// Everything the workers touch: shared with them, so that it lives as long as the last one.
struct CarregadorSerie::Estado {
    std::vector<int> numeros;
    std::function<std::filesystem::path(int)> caminho;
    int gradeI = 0;
    int gradeJ = 0;
    Opcoes opcoes;
    int janela = 1;  // frames read ahead of the next one taken

    std::mutex mutex;
    std::condition_variable mudou;
    std::function<void()> aviso;  // cleared when the loader is dropped
    std::size_t proximo = 0;      // position in `numeros` the next worker claims
    std::size_t entregue = 0;     // position of the next frame handed out
    std::map<std::size_t, Quadro> prontos;
    std::vector<NosSuperficie> livres;
    int ativos = 0;
    bool parar = false;

    void trabalhar();
    Quadro ler(int n, NosSuperficie buffer);
};

CarregadorSerie::Quadro CarregadorSerie::Estado::ler(int n, NosSuperficie buffer) {
    Quadro q;
    q.n = n;
    const std::filesystem::path arquivo = caminho(n);
    try {
        // A missing file costs no node arrays: a large grid over an empty folder stays small.
        if (!opcoes.leitor && !arquivoRegular(arquivo)) return q;
        if (buffer.gradeI != gradeI || buffer.gradeJ != gradeJ || buffer.numNos() == 0) buffer.alocar(gradeI, gradeJ);
        q.resultado = opcoes.leitor ? opcoes.leitor(arquivo, n == 1, buffer) : lerQuadro(arquivo, n == 1, buffer);
        if (q.resultado.estado == EstadoQuadro::Completo) {
            auto compacto = std::make_shared<QuadroCompacto>();
            compactar(buffer, *compacto);
            q.compacto = std::move(compacto);
        }
    } catch (const std::bad_alloc&) {
        q.resultado = ResultadoLeitura{};
        q.compacto.reset();
        buffer = NosSuperficie{};
    }
    if (opcoes.comNos) {
        q.nos = std::move(buffer);
    } else if (buffer.numNos() > 0) {
        std::lock_guard trava(mutex);
        if (static_cast<int>(livres.size()) < janela) livres.push_back(std::move(buffer));
    }
    return q;
}

void CarregadorSerie::Estado::trabalhar() {
    for (;;) {
        std::size_t pos;
        NosSuperficie buffer;
        {
            std::unique_lock trava(mutex);
            mudou.wait(trava, [this] {
                return parar || proximo >= numeros.size() || proximo < entregue + static_cast<std::size_t>(janela);
            });
            if (parar || proximo >= numeros.size()) break;
            pos = proximo++;
            if (!livres.empty()) {
                buffer = std::move(livres.back());
                livres.pop_back();
            }
        }
        Quadro q = ler(numeros[pos], std::move(buffer));
        std::lock_guard trava(mutex);
        if (parar) break;
        prontos.emplace(pos, std::move(q));
        // Under the lock: once the loader is dropped no notice is on its way any more.
        if (pos == entregue && aviso) aviso();
    }
    std::lock_guard trava(mutex);
    if (--ativos == 0 && aviso) aviso();
    mudou.notify_all();
}

CarregadorSerie::CarregadorSerie(const std::filesystem::path& pasta, int numArquivos, int gradeI, int gradeJ,
                                 std::function<void()> aviso, Opcoes opcoes)
    : CarregadorSerie(
          [&] {
              std::vector<int> v(static_cast<std::size_t>(std::clamp(numArquivos, 0, kMaxQuadros)));
              for (std::size_t k = 0; k < v.size(); ++k) v[k] = static_cast<int>(k) + 1;
              return v;
          }(),
          [pasta](int n) { return caminhoQuadro(pasta, n); }, gradeI, gradeJ, std::move(aviso), std::move(opcoes)) {}

CarregadorSerie::CarregadorSerie(std::vector<int> numeros, std::function<std::filesystem::path(int)> caminho,
                                 int gradeI, int gradeJ, std::function<void()> aviso, Opcoes opcoes)
    : estado_(std::make_shared<Estado>()) {
    Estado& e = *estado_;
    e.numeros = std::move(numeros);
    e.caminho = std::move(caminho);
    e.gradeI = gradeI;
    e.gradeJ = gradeJ;
    e.opcoes = std::move(opcoes);
    e.aviso = std::move(aviso);
    const int n = std::max(e.opcoes.trabalhadores, 1);
    // Room for every worker to hold a frame while the next one to hand out is still being read.
    e.janela = std::max(e.opcoes.adiantados, 1) + n;
    e.ativos = n;
    for (int w = 0; w < n; ++w) {
        try {
            std::thread([estado = estado_] { estado->trabalhar(); }).detach();
        } catch (const std::system_error&) {
            // No more threads to be had: those started read everything.
            std::lock_guard trava(e.mutex);
            e.ativos -= n - w;
            if (w == 0) e.numeros.clear();
            break;
        }
    }
}

CarregadorSerie::~CarregadorSerie() {
    {
        std::lock_guard trava(estado_->mutex);
        estado_->parar = true;
        estado_->aviso = nullptr;
        estado_->prontos.clear();
        estado_->livres.clear();
    }
    estado_->mudou.notify_all();
}

std::optional<CarregadorSerie::Quadro> CarregadorSerie::pegar() {
    std::optional<Quadro> q;
    {
        std::lock_guard trava(estado_->mutex);
        auto it = estado_->prontos.begin();
        if (it == estado_->prontos.end() || it->first != estado_->entregue) return q;
        q = std::move(it->second);
        estado_->prontos.erase(it);
        ++estado_->entregue;
    }
    estado_->mudou.notify_all();
    return q;
}

void CarregadorSerie::devolver(NosSuperficie&& buffer) {
    std::lock_guard trava(estado_->mutex);
    if (buffer.numNos() > 0 && static_cast<int>(estado_->livres.size()) < estado_->janela)
        estado_->livres.push_back(std::move(buffer));
}

bool CarregadorSerie::acabou() {
    std::lock_guard trava(estado_->mutex);
    return estado_->ativos == 0 && estado_->entregue >= estado_->numeros.size();
}

std::vector<int> CarregadorSerie::pendentes() {
    std::lock_guard trava(estado_->mutex);
    return {estado_->numeros.begin() + static_cast<std::ptrdiff_t>(estado_->entregue), estado_->numeros.end()};
}

}  // namespace tevra
