#include "view/janelas/diagnostico_form.h"

#include <QChart>
#include <QFileInfo>
#include <QLegendMarker>
#include <QLineSeries>
#include <QListWidget>
#include <QPen>
#include <QPixmap>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

#include "base/nomes_arquivos.h"
#include "base/tevra_home.h"
#include "view/janelas/dialogos.h"
#include "view/janelas/render_form.h"

using namespace tevra;

namespace {

// Columns that are not curves: the frame number and the time axis.
constexpr int kPrimeiraCurva = 2;
constexpr int kColunaTempo = 1;

// One colour a column, the same in every file, so that a curve keeps its colour.
QColor corDaCurva(int k) {
    static const QColor cores[] = {QColor(31, 119, 180), QColor(44, 160, 44),   QColor(0, 0, 0),
                                   QColor(255, 127, 14), QColor(148, 103, 189), QColor(140, 86, 75),
                                   QColor(23, 190, 207), QColor(227, 119, 194), QColor(188, 189, 34)};
    return cores[static_cast<std::size_t>(k) % std::size(cores)];
}

QString legendaDaColuna(const std::string& nome) { return QString::fromStdString(nome).replace('_', ' '); }

}  // namespace

TDiagnosticoForm::TDiagnosticoForm(QWidget* parent) : QWidget(parent, Qt::Window) {
    setupUi(this);
    // uic gives a top-level form only its size; the first place is the window's own.
    move(360, 160);
    setAttribute(Qt::WA_DeleteOnClose, false);
    setAttribute(Qt::WA_QuitOnClose, false);

    grafico_ = new QChart;
    grafico_->legend()->setAlignment(Qt::AlignBottom);
    eixoX_ = new QValueAxis;
    eixoX_->setTitleText(QStringLiteral("time"));
    eixoY_ = new QValueAxis;
    grafico_->addAxis(eixoX_, Qt::AlignBottom);
    grafico_->addAxis(eixoY_, Qt::AlignLeft);
    marca_ = new QLineSeries;
    marca_->setName(QStringLiteral("frame"));
    marca_->setPen(QPen(QColor(214, 39, 40), 2));
    grafico_->addSeries(marca_);
    marca_->attachAxis(eixoX_);
    marca_->attachAxis(eixoY_);
    // The view hands back the chart it made for itself; nobody else would free it.
    QChart* vazio = graficoChartView->chart();
    graficoChartView->setChart(grafico_);
    delete vazio;
    escolhidas_ = {QStringLiteral("kinetic energy"), QStringLiteral("potential energy"),
                   QStringLiteral("total energy")};

    connect(curvasListWidget, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        escolhidas_.removeAll(item->text());
        if (item->checkState() == Qt::Checked) escolhidas_ << item->text();
        preencherCurvas();
    });
    connect(salvarPngButton, &QPushButton::clicked, this, &TDiagnosticoForm::salvarPngButtonClick);
    vigia_.setInterval(500);
    connect(&vigia_, &QTimer::timeout, this, &TDiagnosticoForm::vigiar);
}

TDiagnosticoForm::~TDiagnosticoForm() = default;

void TDiagnosticoForm::ligar(TRenderForm* animacao) {
    render_ = animacao;
    if (render_) connect(render_, &TRenderForm::quadroMostrado, this, &TDiagnosticoForm::marcarQuadro);
}

std::filesystem::path TDiagnosticoForm::arquivo() const {
    return (render_ ? render_->pasta() : home::tmp()) / kArquivoDiagnostico;
}

void TDiagnosticoForm::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    if (render_) quadroMarcado_ = render_->quadroAtual();
    recarregar();
    vigia_.start();
}

void TDiagnosticoForm::hideEvent(QHideEvent* e) {
    vigia_.stop();
    QWidget::hideEvent(e);
}

void TDiagnosticoForm::vigiar() {
    const QFileInfo info(QString::fromStdString(arquivo().string()));
    const qint64 tamanho = info.exists() ? info.size() : -1;
    if (tamanho != tamanhoVisto_ || info.lastModified() != mudancaVista_) recarregar();
}

void TDiagnosticoForm::recarregar() {
    const QString caminho = QString::fromStdString(arquivo().string());
    const QFileInfo info(caminho);
    tamanhoVisto_ = info.exists() ? info.size() : -1;
    mudancaVista_ = info.lastModified();
    const std::vector<std::string> colunasAntes = tabela_.colunas;
    tabela_ = lerTabelaCsv(arquivo());
    if (tabela_.colunas.size() <= kPrimeiraCurva) tabela_ = {};
    if (tabela_.colunas != colunasAntes) montarCurvas();
    preencherCurvas();

    if (tabela_.colunas.empty())
        situacaoLabel->setText(QStringLiteral("No diagnostics in %1 yet: every run writes them beside its frames.")
                                   .arg(info.absolutePath()));
    else if (!tabela_.problema.empty())
        situacaoLabel->setText(QStringLiteral("%1: %2 frames; then %3")
                                   .arg(caminho)
                                   .arg(pontos())
                                   .arg(QString::fromStdString(tabela_.problema)));
    else
        situacaoLabel->setText(QStringLiteral("%1: %2 frames").arg(caminho).arg(pontos()));
}

void TDiagnosticoForm::montarCurvas() {
    for (QLineSeries* s : series_) {
        grafico_->removeSeries(s);
        delete s;
    }
    series_.clear();
    const QSignalBlocker bloqueio(curvasListWidget);
    curvasListWidget->clear();
    for (std::size_t k = kPrimeiraCurva; k < tabela_.colunas.size(); ++k) {
        const QString legenda = legendaDaColuna(tabela_.colunas[k]);
        auto* s = new QLineSeries;
        s->setName(legenda);
        s->setPen(QPen(corDaCurva(static_cast<int>(k) - kPrimeiraCurva), 2));
        grafico_->addSeries(s);
        s->attachAxis(eixoX_);
        s->attachAxis(eixoY_);
        series_.push_back(s);
        auto* item = new QListWidgetItem(legenda, curvasListWidget);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(escolhidas_.contains(legenda) ? Qt::Checked : Qt::Unchecked);
        item->setForeground(corDaCurva(static_cast<int>(k) - kPrimeiraCurva));
    }
}

void TDiagnosticoForm::preencherCurvas() {
    for (std::size_t s = 0; s < series_.size(); ++s) {
        const bool visivel = escolhidas_.contains(series_[s]->name());
        QList<QPointF> pontos;
        if (visivel) {
            pontos.reserve(static_cast<qsizetype>(tabela_.linhas.size()));
            for (const auto& linha : tabela_.linhas) pontos.append({linha[kColunaTempo], linha[kPrimeiraCurva + s]});
        }
        series_[s]->replace(pontos);
        series_[s]->setVisible(visivel);
    }
    atualizarEixos();
}

void TDiagnosticoForm::atualizarEixos() {
    double x0 = 0, x1 = 1, y0 = 0, y1 = 1;
    bool algumX = false, algumY = false;
    for (const auto& linha : tabela_.linhas) {
        const double t = linha[kColunaTempo];
        if (std::isfinite(t)) {
            x0 = algumX ? std::min(x0, t) : t;
            x1 = algumX ? std::max(x1, t) : t;
            algumX = true;
        }
        for (std::size_t s = 0; s < series_.size(); ++s) {
            const double v = linha[kPrimeiraCurva + s];
            if (!series_[s]->isVisible() || !std::isfinite(v)) continue;
            y0 = algumY ? std::min(y0, v) : v;
            y1 = algumY ? std::max(y1, v) : v;
            algumY = true;
        }
    }
    if (x1 <= x0) x1 = x0 + 1;
    // A flat curve still gets a band to sit in; others a margin above and below.
    const double margem = (y1 > y0) ? 0.05 * (y1 - y0) : std::max(1.0, std::abs(y0)) * 0.05;
    y0 -= margem;
    y1 += margem;
    eixoX_->setRange(x0, x1);
    eixoY_->setRange(y0, y1);
    // Round time ticks: 0.2, not 0.17. The values keep their own range, which round
    // numbers could double.
    eixoX_->applyNiceNumbers();
    marcarQuadro(quadroMarcado_);
}

void TDiagnosticoForm::marcarQuadro(int n) {
    quadroMarcado_ = n;
    const auto linha = std::find_if(tabela_.linhas.begin(), tabela_.linhas.end(),
                                    [n](const std::vector<double>& l) { return l[0] == n; });
    if (linha == tabela_.linhas.end()) {
        marca_->clear();
        marca_->setVisible(false);
        return;
    }
    const double t = (*linha)[kColunaTempo];
    marca_->replace(QList<QPointF>{{t, eixoY_->min()}, {t, eixoY_->max()}});
    marca_->setVisible(true);
    for (QLegendMarker* m : grafico_->legend()->markers(marca_)) m->setVisible(false);
}

std::optional<double> TDiagnosticoForm::tempoDaMarca() const {
    if (!marca_->isVisible() || marca_->count() == 0) return std::nullopt;
    return marca_->at(0).x();
}

QStringList TDiagnosticoForm::curvas() const {
    QStringList r;
    for (const QLineSeries* s : series_) r << s->name();
    return r;
}

QStringList TDiagnosticoForm::curvasVisiveis() const {
    QStringList r;
    for (const QLineSeries* s : series_)
        if (s->isVisible()) r << s->name();
    return r;
}

void TDiagnosticoForm::mostrarCurva(const QString& legenda, bool visivel) {
    const auto itens = curvasListWidget->findItems(legenda, Qt::MatchExactly);
    for (QListWidgetItem* item : itens) item->setCheckState(visivel ? Qt::Checked : Qt::Unchecked);
}

void TDiagnosticoForm::salvarPngButtonClick() {
    const QString preset = QString::fromStdString((home::raiz() / "diagnostico.png").string());
    const QString destino =
        dialogos().salvarArquivo(this, QStringLiteral("Save as PNG"), preset, QStringLiteral("PNG images (*.png)"));
    if (destino.isEmpty()) return;
    if (!graficoChartView->grab().save(destino, "PNG"))
        dialogos().mensagem(this, QStringLiteral("The picture could not be written to %1").arg(destino));
}
