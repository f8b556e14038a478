#include "dynamics/varredura.h"

#include <algorithm>
#include <atomic>
#include <utility>
#include <vector>

#include "model/equipe.h"
#include "model/linhas.h"

namespace tevra {

namespace {

using nucleo::Etapa;

// The per-row quantities of one row, in the object's arrays (a row of the thread's own band
// on a detailed object) or in the thread's buffers.
struct Tensoes {
    double *t0[3], *t1[3], *dG[3], *Ginv[3], *raiz;  // the metric
    double *beta[4], *alfa[4], *psiG[4], *psiB[4], *S[4], *chr[6], *divBetaNo[4], *psiDiv[4];
    double *qb[4], *qg[4];      // beta and psiG over the spacing: always the thread's
    double *B[3], *divBeta[4];  // detailed only
};

// Copies the row pointers of one quantity.
template <class D, class O, std::size_t N>
void mesmasLinhas(D (&destino)[N], O* const (&origem)[N]) {
    std::copy(origem, origem + N, destino);
}

// Points a kernel's metric rows (the tangents, G - G0, the inverse metric) at those of t.
template <class Linha>
void comMetrica(Linha& L, const Tensoes& t) {
    mesmasLinhas(L.t0, t.t0);
    mesmasLinhas(L.t1, t.t1);
    mesmasLinhas(L.dG, t.dG);
    mesmasLinhas(L.Ginv, t.Ginv);
}

// Rows of the thread's buffers: the second differences, two rows of metric and stress terms,
// three of quotients, the two force sums. Within the object's per-thread allowance
// (kLinhasPorThread in model/obj_deformavel.cpp).
constexpr int kLinhasTensoes = 13 + 42;
constexpr int kLinhasBuffer = 9 + 2 * kLinhasTensoes + 3 * nucleo::kLinhasQuociente + 6;

// A band is swept in blocks of this many columns: the rows of buffers a block touches stay in
// the core's own cache whatever the grid's width. Each block takes again the two or three
// columns beside it that its differences read.
constexpr int kColunasPorBloco = 64;
std::atomic<int> colunasPorBloco{0};

// Buffer rows a cache line longer than the grid's row, so that the same column of successive
// rows falls in different cache sets.
int passoDosBuffers(int gj) { return (gj + 7) / 8 * 8 + 8; }

class Faixa {
public:
    Faixa(ObjDeformavel& o, const nucleo::Grade& g, const OpcoesVarredura& op, int a, int b, double* const novo[3])
        : o_(o),
          g_(g),
          op_(op),
          a_(a),
          b_(b),
          gj_(o.grade_j),
          passo_(passoDosBuffers(o.grade_j)),
          novo_(novo),
          km_(nucleo::tabelaModelo(caminhoAtivo())),
          kf_(tabelaForcas(caminhoAtivo())),
          p_(parametrosEtapa(o, op.etapa)),
          guardar_(op.guardarDados || o.detalhado()) {
        thread_local std::vector<double> buffer;
        const std::size_t precisa = static_cast<std::size_t>(kLinhasBuffer) * passo_;
        if (buffer.size() < precisa) buffer.assign(precisa, 0.0);
        buf_ = buffer.data();
    }

    // The band's rows through forces and the stage; true when a new value is not finite.
    bool percorrer() {
        // A detailed object's rows are written whole, by one block: a block's neighbour columns
        // would leave their membrane stress uncorrected there.
        const int pedido = colunasPorBloco.load(std::memory_order_relaxed);
        const int largura = o_.detalhado() ? gj_ : (pedido > 0 ? pedido : kColunasPorBloco);
        bool ruim = false;
        for (int c0 = 0; c0 < gj_; c0 += largura) {
            c0_ = c0;
            c1_ = std::min(c0 + largura, gj_);
            m0_ = std::max(c0 - 2, 0);
            m1_ = std::min(c1_ + 1, gj_);
            d0_ = std::max(c0 - 1, 0);
            ruim = linhas() || ruim;
        }
        return ruim;
    }

private:
    // The block's columns over the band's rows. Row r's forces need the quotients of rows r-1
    // and r+1, which need the divergences of their rows and of the row before: the sweep runs
    // one row ahead, and starts two rows before the band (rows another thread owns, taken
    // again here; their old positions are still there, the new ones go to posNovo).
    bool linhas() {
        const int a = a_;
        if (a >= 2) {
            curvatura(a - 2);
            divergencias(a - 2, true);
        }
        if (a >= 1) {
            curvatura(a - 1);
            divergencias(a - 1, false);
            quocientes(a - 1);
        }
        curvatura(a);
        divergencias(a, false);
        quocientes(a);
        bool ruim = false;
        for (int r = a; r < b_; ++r) {
            if (r + 1 < g_.gi) {
                curvatura(r + 1);
                divergencias(r + 1, false);
                quocientes(r + 1);
            }
            interna(r);
            nucleo::LinhaEtapa L = linhaEtapa(o_, r, novo_);
            for (int c = 0; c < 3; ++c) {
                L.somaChapeu[c] = sc_[c];
                L.e_tio[c] = et_[c];
                if (!guardar_) L.forcaExterna[c] = L.forcaInterna[c] = L.aceleracao[c] = nullptr;
            }
            ruim = etapaNaLinha(o_, kf_, p_, L, r, c0_, c1_) || ruim;
        }
        return ruim;
    }

    double* linhaBuf(int k) { return buf_ + static_cast<std::size_t>(k) * passo_; }
    bool propria(int r) const { return a_ <= r && r < b_; }

    Tensoes tensoes(int r) {
        Tensoes t;
        double* s = linhaBuf(9 + (r & 1) * kLinhasTensoes);
        auto proxima = [&] {
            double* l = s;
            s += passo_;
            return l;
        };
        const bool objeto = o_.detalhado() && propria(r);
        auto escolher = [&](double* const* doObjeto, double** destino, int n) {
            for (int a = 0; a < n; ++a) {
                double* l = proxima();
                destino[a] = objeto ? naLinha(doObjeto[a], o_, r) : l;
            }
        };
        auto simetrico = [&](double* const* doObjeto, double** destino) {
            double* distintos[3] = {doObjeto[0], doObjeto[1], doObjeto[3]};
            escolher(distintos, destino, 3);
        };
        escolher(o_.tangente[0], t.t0, 3);
        escolher(o_.tangente[1], t.t1, 3);
        simetrico(o_.nos.dG, t.dG);
        simetrico(o_.nos.Ginv, t.Ginv);
        t.raiz = proxima();  // the object's holds it already
        escolher(o_.beta, t.beta, 4);
        escolher(o_.alfa, t.alfa, 4);
        escolher(o_.nos.psiG, t.psiG, 4);
        escolher(o_.nos.psiB, t.psiB, 4);
        escolher(o_.nos.S, t.S, 4);
        simetrico(o_.nos.christoffel, t.chr);
        simetrico(o_.nos.christoffel + 4, t.chr + 3);
        escolher(o_.nos.divBetaNo, t.divBetaNo, 4);
        escolher(o_.psiDiv, t.psiDiv, 4);
        for (int a = 0; a < 4; ++a) t.qb[a] = proxima();
        for (int a = 0; a < 4; ++a) t.qg[a] = proxima();
        for (int u = 0; u < 3; ++u) t.B[u] = objeto ? naLinha(o_.nos.B[indiceSimetrico(u)], o_, r) : nullptr;
        for (int a = 0; a < 4; ++a) t.divBeta[a] = objeto ? naLinha(o_.divBeta[a], o_, r) : nullptr;
        return t;
    }

    double* quociente(int r) { return linhaBuf(9 + 2 * kLinhasTensoes + (r % 3) * nucleo::kLinhasQuociente); }

    // Metric and curvature of row r: the metric is taken again here rather than kept from
    // the area pass, which costs less than carrying it through memory.
    void curvatura(int r) {
        const Tensoes t = tensoes(r);
        nucleo::LinhaMetrica m = linhaMetrica(o_, o_.pos, r);
        m.j0 = m0_;
        m.j1 = m1_;
        comMetrica(m, t);
        m.raiz = t.raiz;
        if (!(o_.detalhado() && propria(r))) {
            for (int c = 0; c < 3; ++c) m.G[c] = nullptr;
            m.detG = nullptr;
        }
        km_.metrica(g_, m);
        nucleo::LinhaCurvatura L = linhaCurvatura(o_, r, false, linhaBuf(0));
        L.j0 = m0_;
        L.j1 = m1_;
        L.passoS2 = passo_;
        comMetrica(L, t);
        for (auto [destino, origem] :
             {std::pair{L.S, t.S}, {L.alfa, t.alfa}, {L.beta, t.beta}, {L.psiG, t.psiG}, {L.psiB, t.psiB}})
            std::copy(origem, origem + 4, destino);
        mesmasLinhas(L.chr, t.chr);
        mesmasLinhas(L.B, t.B);
        km_.curvatura(g_, L);
    }

    // q over the metric's columns (the next row's divergence reads them), then unless
    // `soQuocientes` the divergences over the block's.
    void divergencias(int r, bool soQuocientes) {
        const Tensoes t = tensoes(r);
        const Tensoes ant = tensoes(r - 1);  // only its q rows are read, and only when r >= 1
        for (const bool deBeta : {true, false}) {
            nucleo::LinhaDivergencia L;
            L.r = r;
            L.j0 = m0_;
            L.j1 = m1_;
            L.divergencia = false;
            for (int a = 0; a < 4; ++a) {
                L.w[a] = deBeta ? t.beta[a] : t.psiG[a];
                L.q[a] = deBeta ? t.qb[a] : t.qg[a];
                L.qAnt[a] = deBeta ? ant.qb[a] : ant.qg[a];
                L.div[a] = deBeta ? t.divBetaNo[a] : t.psiDiv[a];
                if (deBeta) {
                    L.difer[a] = t.divBeta[a];
                    L.S[a] = t.S[a];
                    L.alfa[a] = t.alfa[a];
                }
            }
            mesmasLinhas(L.chr, t.chr);
            km_.divergencia(g_, L);
            if (soQuocientes) continue;
            L.j0 = d0_;
            L.quocientes = false;
            L.divergencia = true;
            km_.divergencia(g_, L);
        }
    }

    nucleo::TermosDaLinha termos(const Tensoes& t, int r) {
        nucleo::TermosDaLinha T;
        mesmasLinhas(T.alfa, t.alfa);
        mesmasLinhas(T.psiB, t.psiB);
        mesmasLinhas(T.psiDiv, t.psiDiv);
        mesmasLinhas(T.divBetaNo, t.divBetaNo);
        mesmasLinhas(T.t0, t.t0);
        mesmasLinhas(T.t1, t.t1);
        nasLinhas(T.n, o_.nos.normal, 3, o_, r);
        return T;
    }

    void quocientes(int r) {
        nucleo::LinhaQuocientes L;
        L.j0 = d0_;
        L.j1 = m1_;
        L.termos = termos(tensoes(r), r);
        L.q = quociente(r);
        L.passo = passo_;
        kf_.quocientes(g_, L);
    }

    void interna(int r) {
        const Tensoes t = tensoes(r);
        nucleo::LinhaInterna L;
        L.r = r;
        L.j0 = c0_;
        L.j1 = c1_;
        L.passo = passo_;
        L.q = quociente(r);
        L.qAnt = r >= 1 ? quociente(r - 1) : nullptr;
        L.qProx = r + 1 < g_.gi ? quociente(r + 1) : nullptr;
        L.termos = termos(t, r);
        mesmasLinhas(L.chr, t.chr);
        double* soma = linhaBuf(kLinhasBuffer - 6);
        for (int c = 0; c < 3; ++c) {
            sc_[c] = o_.somaChapeu[c] ? naLinha(o_.somaChapeu[c], o_, r) : soma + c * passo_;
            et_[c] = guardar_ && o_.e_tio[c] ? naLinha(o_.e_tio[c], o_, r) : soma + (3 + c) * passo_;
            L.somaChapeu[c] = sc_[c];
            L.e_tio[c] = et_[c];
            for (int e = 0; e < 4; ++e) L.e_chapeu[e][c] = guardar_ ? naLinha(o_.e_chapeu[e][c], o_, r) : nullptr;
        }
        L.limpar = op_.limpar;
        kf_.interna(g_, L);
    }

    ObjDeformavel& o_;
    const nucleo::Grade& g_;
    const OpcoesVarredura& op_;
    const int a_, b_, gj_, passo_;
    double* const* novo_;
    // The block's columns [c0_, c1_), the metric and curvature ones [m0_, m1_) and those of the
    // divergences and quotients [d0_, m1_).
    int c0_ = 0, c1_ = 0, m0_ = 0, m1_ = 0, d0_ = 0;
    const nucleo::TabelaModelo& km_;
    const nucleo::TabelaForcas& kf_;
    const nucleo::ParametrosEtapa p_;
    const bool guardar_;
    double* buf_ = nullptr;
    double* sc_[3] = {};
    double* et_[3] = {};
};

// Normals, and sqrt(detG) when asked, of the rows [a, b) of positions p.
void depoisDoPasso(ObjDeformavel& o, const nucleo::Grade& g, const double* const p[3], bool raizes, int a, int b) {
    const nucleo::TabelaModelo& k = nucleo::tabelaModelo(caminhoAtivo());
    for (int r = a; r < b; ++r) {
        k.normais(g, linhaNormais(o, p, r));
        if (raizes) k.metrica(g, linhaRaiz(o, p, r));
    }
}

}  // namespace

void definirColunasPorBloco(int n) { colunasPorBloco.store(n > 0 ? n : 0, std::memory_order_relaxed); }

bool varrer(ObjDeformavel& o, const OpcoesVarredura& op) {
    const nucleo::Grade g = o.grade();
    const int gi = o.grade_i;
    const int n = threadsPara(gi, o.numNos());
    std::vector<char> ruim(static_cast<std::size_t>(n), 0);
    emParalelo(n, [&](int t, Sincronia& s) {
        const int a = inicioDaFaixa(gi, t, s.n()), b = inicioDaFaixa(gi, t + 1, s.n());
        if (a < b) ruim[t] = Faixa(o, g, op, a, b, o.posNovo).percorrer();
        s.barreira();
        depoisDoPasso(o, g, o.posNovo, op.metricaDepois, a, b);
    });
    for (int c = 0; c < 3; ++c) std::swap(o.pos[c], o.posNovo[c]);
    if (op.metricaDepois) o.atualizarArea();
    return std::find(ruim.begin(), ruim.end(), 1) != ruim.end();
}

void avaliarForcas(ObjDeformavel& o, bool limpar) {
    const nucleo::Grade g = o.grade();
    const int gi = o.grade_i;
    OpcoesVarredura op;
    op.guardarDados = true;
    op.limpar = limpar;
    emParalelo(threadsPara(gi, o.numNos()), [&](int t, Sincronia& s) {
        const int a = inicioDaFaixa(gi, t, s.n()), b = inicioDaFaixa(gi, t + 1, s.n());
        if (a < b) Faixa(o, g, op, a, b, o.posNovo).percorrer();  // nothing moves: posNovo is scratch
    });
}

void deslocarMeioPasso(ObjDeformavel& o) {
    const nucleo::Grade g = o.grade();
    const int gi = o.grade_i;
    const nucleo::ParametrosEtapa p = parametrosEtapa(o, Etapa::MedioIda);
    emParalelo(threadsPara(gi, o.numNos()), [&](int t, Sincronia& s) {
        const int a = inicioDaFaixa(gi, t, s.n()), b = inicioDaFaixa(gi, t + 1, s.n());
        const nucleo::TabelaForcas& k = tabelaForcas(caminhoAtivo());
        for (int r = a; r < b; ++r) {
            nucleo::LinhaEtapa L = linhaEtapa(o, r, o.pos);
            for (int c = 0; c < 3; ++c) L.forcaExterna[c] = L.forcaInterna[c] = L.aceleracao[c] = nullptr;
            etapaNaLinha(o, k, p, L, r, 0, o.grade_j);
        }
        s.barreira();
        depoisDoPasso(o, g, o.pos, true, a, b);
    });
    o.atualizarArea();
}

}  // namespace tevra
