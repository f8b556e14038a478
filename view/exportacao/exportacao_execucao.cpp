#include "view/exportacao/exportacao_execucao.h"

namespace tevra {

ExportacaoExecucao::ExportacaoExecucao(FormatoExportacao formato, std::filesystem::path pasta, int intervalo,
                                       double passo, bool tensores)
    : serie_(std::move(pasta), formato), intervalo_(intervalo), passo_(passo), tensores_(tensores) {}

Escrita ExportacaoExecucao::quadro(const ObjDeformavel& o, int n, const std::filesystem::path&) {
    const std::size_t nos = static_cast<std::size_t>(o.numNos());
    if (!iniciada_) {
        // The run has made its folder by its first frame; what an earlier run left goes now.
        iniciada_ = true;
        removidos_ = serie_.removerAntigos();
        // The first frame holds the rest shape.
        for (int c = 0; c < 3; ++c) {
            repouso_[c].assign(o.pos[c], o.pos[c] + nos);
            deslocamento_[c].resize(nos);
        }
    }

    SuperficieExportada s;
    s.gradeI = o.grade_i;
    s.gradeJ = o.grade_j;
    s.fechada = o.objeto == ObjetoCilindro;
    for (int c = 0; c < 3; ++c) s.pos[c] = o.pos[c];
    auto campo = [&s](const char* nome, int componentes, double* const* colunas) {
        CampoNos f;
        f.nome = nome;
        f.componentes = componentes;
        for (int k = 0; k < componentes; ++k) f.colunas[k] = colunas[k];
        s.campos.push_back(f);
        return &s.campos.back();
    };
    campo("normal", 3, o.nos.normal)->normais = true;
    campo("velocidade", 3, o.vel);
    double* d[3];
    for (int c = 0; c < 3; ++c) {
        for (std::size_t idx = 0; idx < nos; ++idx) deslocamento_[c][idx] = o.pos[c][idx] - repouso_[c][idx];
        d[c] = deslocamento_[c].data();
    }
    campo("deslocamento", 3, d);
    campo("forcaInterna", 3, o.forcaInterna);
    campo("forcaExterna", 3, o.forcaExterna);
    if (tensores_) {
        campo("G", 4, o.nos.G);
        campo("B", 4, o.nos.B);
        campo("S", 4, o.nos.S);
    }

    // The time after step (n - 1) * intervalo, counted in steps first as the run does.
    const double tempo = static_cast<double>(static_cast<long long>(n - 1) * intervalo_) * passo_;
    return serie_.gravar(n, tempo, s);
}

Escrita ExportacaoExecucao::concluir() { return serie_.concluir(); }

std::unique_ptr<ExportacaoExecucao> criarExportacao(FormatoExportacao formato, const Execucao& e) {
    return std::make_unique<ExportacaoExecucao>(formato, e.pasta(), e.cena().intervalo, e.cena().passo,
                                                e.objeto().flagDados == 1);
}

}  // namespace tevra
