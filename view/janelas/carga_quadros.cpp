#include "view/janelas/carga_quadros.h"

#include <QMetaObject>
#include <QTimer>

#include <algorithm>

using namespace tevra;

namespace {
// A slice of frames on the GUI thread before the window handles its events again.
constexpr std::chrono::milliseconds kFatia{30};
}  // namespace

CargaQuadros::CargaQuadros(SerieQuadros& serie, QObject* pai)
    : QObject(pai), serie_(serie), avisoPendente_(std::make_shared<std::atomic<bool>>(false)) {}

CargaQuadros::~CargaQuadros() { parar(); }

void CargaQuadros::parar() {
    fonte_.reset();
    releitura_.reset();
    vivo_ = nullptr;
    arquivosVivos_.clear();
}

std::function<void()> CargaQuadros::avisoDosTrabalhadores() {
    std::weak_ptr<std::atomic<bool>> aviso = avisoPendente_;
    // Runs on a worker, and never after the loader that calls it is gone; a message
    // posted to this object is dropped if the object goes first.
    return [this, aviso] {
        auto a = aviso.lock();
        if (!a || a->exchange(true)) return;
        QMetaObject::invokeMethod(
            this, [this] { processar(); }, Qt::QueuedConnection);
    };
}

void CargaQuadros::carregar(const std::filesystem::path& pasta, int arquivos, int trabalhadores, int adiantados) {
    parar();
    pasta_ = pasta;
    if (arquivos <= 0) {
        concluir();
        return;
    }
    OpcoesCarga opcoes;
    opcoes.trabalhadores = trabalhadores;
    opcoes.adiantados = adiantados;
    opcoes.leitor = leitor_;
    fonte_ = std::make_unique<FonteSerie>(std::make_unique<CarregadorSerie>(
        pasta_, arquivos, serie_.gradeI(), serie_.gradeJ(), avisoDosTrabalhadores(), opcoes));
}

void CargaQuadros::aoVivo() {
    parar();
    auto fonte = std::make_unique<FonteAoVivo>(serie_.gradeI(), serie_.gradeJ());
    vivo_ = fonte.get();
    fonte_ = std::move(fonte);
}

void CargaQuadros::gravado(int n, const std::filesystem::path& arquivo) {
    if (!vivo_ || n < 1) return;
    vivo_->gravado(n, arquivo);
    arquivosVivos_[n] = arquivo;
    agendar();
}

std::filesystem::path CargaQuadros::arquivoDoQuadro(int n) const {
    if (auto it = arquivosVivos_.find(n); it != arquivosVivos_.end()) return it->second;
    return caminhoQuadro(pasta_, n);
}

void CargaQuadros::pedir(const std::vector<int>& imagens) {
    if (imagens.empty()) return;
    if (releitura_) {
        const std::vector<int> pendentes = releitura_->pendentes();
        if (std::find(pendentes.begin(), pendentes.end(), imagens.front()) != pendentes.end()) return;
    }
    OpcoesCarga opcoes;
    opcoes.trabalhadores = 1;
    opcoes.adiantados = 2;
    opcoes.comNos = false;
    opcoes.leitor = leitor_;
    // Every path is fixed now: a live run's later frames do not change these.
    std::map<int, std::filesystem::path> arquivos;
    for (int p : imagens) arquivos[p] = arquivoDoQuadro(p);
    releitura_ = std::make_unique<CarregadorSerie>(
        imagens, [arquivos](int n) { return arquivos.at(n); }, serie_.gradeI(), serie_.gradeJ(),
        avisoDosTrabalhadores(), opcoes);
}

void CargaQuadros::agendar() {
    if (agendada_) return;
    agendada_ = true;
    QTimer::singleShot(0, this, [this] {
        agendada_ = false;
        processar();
    });
}

void CargaQuadros::processar() {
    avisoPendente_->store(false);
    bool mudou = false;
    if (releitura_) {
        while (auto q = releitura_->pegar()) {
            if (q->compacto)
                serie_.guardar(q->n, std::move(q->compacto));
            else
                serie_.indisponivel(q->n);
            mudou = true;
        }
        if (releitura_->acabou()) releitura_.reset();
    }
    bool fim = false;
    if (fonte_) {
        const bool restam = ingerirQuadros(*fonte_, serie_, kFatia);
        fim = !vivo_ && fonte_->acabou();
        if (restam && !fim) agendar();
        mudou = true;
    }
    if (mudou) emit avancou();
    if (fim) concluir();
}

void CargaQuadros::concluir() {
    fonte_.reset();
    serie_.concluir();
    emit concluida();
}
