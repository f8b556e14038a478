#include "dynamics/gravador_quadros.h"

#include <exception>

#include "base/gravacao.h"
#include "base/nomes_arquivos.h"

namespace tevra {

GravadorQuadros::GravadorQuadros(std::filesystem::path pasta, bool dados, AvisoNoDisco noDisco, SaidaDaCopia daCopia)
    : pasta_(std::move(pasta)), dados_(dados), noDisco_(std::move(noDisco)), daCopia_(std::move(daCopia)) {
    livres_ = {&copias_[0], &copias_[1]};
    thread_ = std::thread([this] { trabalhar(); });
}

std::size_t GravadorQuadros::bytesPorNo(bool dados) {
    return 2 * CopiaQuadro::bytesPorNo(dados) + (dados ? bytesTextoDadosPorNo() : bytesTextoQuadroPorNo());
}

GravadorQuadros::~GravadorQuadros() { concluir(); }

CopiaQuadro* GravadorQuadros::reservar() {
    std::unique_lock<std::mutex> l(m_);
    cv_.wait(l, [this] { return !livres_.empty() || falhou(); });
    if (falhou()) return nullptr;
    CopiaQuadro* c = livres_.back();
    livres_.pop_back();
    return c;
}

bool GravadorQuadros::enviar(CopiaQuadro* c, const ObjDeformavel& obj, int n) {
    // Outside the lock: the thread touches only the copies in the queue.
    if (!c->copiar(obj, n, dados_, static_cast<bool>(daCopia_))) return false;
    {
        std::lock_guard<std::mutex> l(m_);
        fila_.push_back(c);
    }
    cv_.notify_all();
    return true;
}

void GravadorQuadros::devolver(CopiaQuadro* c) {
    {
        std::lock_guard<std::mutex> l(m_);
        livres_.push_back(c);
    }
    cv_.notify_all();
}

GravadorQuadros::Balanco GravadorQuadros::concluir() {
    {
        std::lock_guard<std::mutex> l(m_);
        fim_ = true;
    }
    cv_.notify_all();
    if (thread_.joinable()) thread_.join();
    return balanco_;
}

void GravadorQuadros::trabalhar() {
    std::unique_lock<std::mutex> l(m_);
    for (;;) {
        cv_.wait(l, [this] { return !fila_.empty() || fim_; });
        if (fila_.empty()) return;
        CopiaQuadro* c = fila_.front();
        l.unlock();
        Escrita falha;
        try {
            falha = gravar(*c);
        } catch (const std::exception& e) {  // a text buffer that could not grow
            falha = FalhaEscrita{pasta_, e.what()};
        }
        l.lock();
        fila_.pop_front();
        livres_.push_back(c);
        if (falha) {
            balanco_.falha = std::move(falha);
            for (CopiaQuadro* q : fila_) livres_.push_back(q);
            fila_.clear();
            falhou_.store(true, std::memory_order_release);
        }
        cv_.notify_all();
        if (falhou()) return;
    }
}

Escrita GravadorQuadros::gravar(const CopiaQuadro& c) {
    const VistaQuadro& q = c.vista();
    std::string_view textoDoQuadro;
    auto escrever = [&](const char* padrao, bool dump) -> Escrita {
        const std::filesystem::path nome = nomeArquivoQuadro(pasta_ / padrao, q.n);
        if (nome.empty()) return numeroSemNome(q.n);
        if (dump) return gravarArquivoAtomico(nome, textoDados(q, texto_));
        textoDoQuadro = textoQuadro(q, texto_);
        return gravarArquivoAtomico(nome, textoDoQuadro);
    };
    // The dump of frame 1 goes first, those of later frames after their frame file.
    if (dados_ && q.n == 1)
        if (Escrita f = escrever(kPadraoDados, true)) return f;
    if (Escrita f = escrever(kPadraoPontos, false)) return f;
    ++balanco_.quadros;
    if (noDisco_) noDisco_(q.n, nomeArquivoQuadro(pasta_ / kPadraoPontos, q.n));
    if (daCopia_)
        if (Escrita f = daCopia_(q, textoDoQuadro)) return f;
    if (dados_ && q.n > 1)
        if (Escrita f = escrever(kPadraoDedos, true)) return f;
    return std::nullopt;
}

}  // namespace tevra
