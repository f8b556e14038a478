#include "view/janelas/carga_quadros.h"

#include <QMetaObject>
#include <QTimer>

#include "view/janelas/contexto_gl.h"

using namespace tevra;

namespace {
// A slice of frames on the GUI thread before the window handles its events again.
constexpr std::chrono::milliseconds kFatia{30};
}  // namespace

CargaQuadros::CargaQuadros(SerieQuadros& serie, ContextoGL* gl, QObject* pai)
    : QObject(pai), serie_(serie), gl_(gl), avisoPendente_(std::make_shared<std::atomic<bool>>(false)) {}

CargaQuadros::~CargaQuadros() { parar(); }

void CargaQuadros::parar() {
    fonte_.reset();
    vivo_ = nullptr;
    pendente_ = false;
}

void CargaQuadros::carregar(const std::filesystem::path& pasta, int arquivos) {
    parar();
    pasta_ = pasta;
    arquivos_ = arquivos;
    if (arquivos_ <= 0) {
        concluir();
        return;
    }
    // The workers' contexts share the window's: it has to exist first.
    if (gl_ && !gl_->pronto()) {
        pendente_ = true;
        return;
    }
    iniciarLeitores();
}

void CargaQuadros::iniciarLeitores() {
    pendente_ = false;
    std::weak_ptr<std::atomic<bool>> aviso = avisoPendente_;
    auto carregador = std::make_unique<CarregadorSerie>(
        pasta_, arquivos_, serie_.gradeI(), serie_.gradeJ(),
        [this, aviso] {
            // Worker thread.
            auto a = aviso.lock();
            if (!a || a->exchange(true)) return;
            QMetaObject::invokeMethod(
                this, [this] { processar(); }, Qt::QueuedConnection);
        },
        gl_ ? gl_->trabalhoDosLeitores() : TrabalhoCarga{});
    fonte_ = std::make_unique<FonteSerie>(std::move(carregador));
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
    agendar();
}

void CargaQuadros::contextoPerdido() {
    if (vivo_) return;  // its frames wait in the queue for the next context
    fonte_.reset();
}

void CargaQuadros::contextoCriado() {
    if (pendente_) iniciarLeitores();
    if (vivo_ && vivo_->temPendentes()) agendar();
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
    if (!fonte_) return;
    // The lists need the context: without one yet, contextoCriado resumes.
    if (gl_ && !gl_->pronto()) return;
    bool restam = false;
    auto lote = [&] {
        restam = ingerirQuadros(*fonte_, serie_, kFatia, [this](int n, bool pronta) {
            if (!gl_) return;
            if (pronta)
                gl_->listaFeita(n);
            else
                gl_->compilar(n, serie_.nos(), serie_.superficieFechada());
        });
    };
    if (gl_) {
        if (!gl_->comContexto(lote)) return;
    } else {
        lote();
    }
    const bool fim = !vivo_ && fonte_->acabou();
    if (restam && !fim) agendar();
    emit avancou();
    if (fim) concluir();
}

void CargaQuadros::concluir() {
    fonte_.reset();
    serie_.concluir();
    emit concluida();
}
