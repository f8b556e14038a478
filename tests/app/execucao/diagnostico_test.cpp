// diagnostico.csv: the values against what the physics says, and the file a run leaves.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>

#include "app/cena/configuracao.h"
#include "app/execucao/diagnostico.h"
#include "app/execucao/execucao.h"
#include "app/execucao/saida_diagnostico.h"
#include "base/nomes_arquivos.h"
#include "dynamics/simulacao.h"
#include "support/arquivos_teste.h"
#include "support/cenas.h"

using namespace tevra;

namespace {

namespace fs = std::filesystem;

// A sheet without elastic forces: every node falls alike.
Cena queda(int solver, double gama, int quadros, int intervalo) {
    Cena c = cenaFolha(4, 5, 1.0, 2.0, 0.0, solver);
    c.massa = 3.0;
    c.gama = gama;
    c.acel = {0.5, 0.0, -9.8};
    c.passo = 0.001;
    c.quadros = quadros;
    c.intervalo = intervalo;
    return c;
}

// Hands every frame to a Diagnosticador of its own.
class SaidaMedida : public SaidaQuadro {
public:
    explicit SaidaMedida(std::vector<Diagnostico>& r) : r_(r) {}
    Escrita quadro(const ObjDeformavel& obj, int n, const fs::path&) override {
        if (!d_) d_.emplace(obj);
        r_.push_back(d_->medir(obj, n));
        return std::nullopt;
    }

private:
    std::optional<Diagnosticador> d_;
    std::vector<Diagnostico>& r_;
};

// The diagnostics of every frame of a run of `c`, on one thread: small grids on a busy
// machine are slow with more.
std::vector<Diagnostico> medirRun(const Cena& c) {
    PastaTemporaria pasta;
    std::vector<Diagnostico> r;
    Execucao e(c, OpcoesExecucao{*pasta, false, 1});
    e.adicionarSaida(std::make_unique<SaidaMedida>(r));
    e.executar();
    return r;
}

double quadrado(const Vetor3& v) { return v.x * v.x + v.y * v.y + v.z * v.z; }

TEST(Diagnostico, QuedaLivreTemAEnergiaCineticaDaVelocidadeAnalitica) {
    Cena c = queda(SolverEulerSemiExplicito, 0.0, 501, 50);
    c.velInicial = {1.0, 0.0, 2.0};
    const std::vector<Diagnostico> d = medirRun(c);
    ASSERT_EQ(d.size(), 11u);
    for (const Diagnostico& q : d) {
        const double t = (q.quadro - 1) * 50 * c.passo;
        EXPECT_DOUBLE_EQ(q.tempo, t);
        const Vetor3 v{c.velInicial.x + c.acel.x * t, c.velInicial.y, c.velInicial.z + c.acel.z * t};
        // Every node carries massa / nodes; all of them move with the same velocity.
        EXPECT_NEAR(q.cinetica, 0.5 * c.massa * quadrado(v), 1e-9 * quadrado(v)) << q.quadro;
        EXPECT_NEAR(q.maiorVelocidade, std::sqrt(quadrado(v)), 1e-9) << q.quadro;
        EXPECT_DOUBLE_EQ(q.total, q.cinetica + q.potencial);
    }
    EXPECT_EQ(d.front().potencial, 0.0) << "measured from frame 1";
    // The sheet keeps its shape: the centre of mass went down by the nodes' drop.
    const Diagnostico& fim = d.back();
    EXPECT_NEAR(
        fim.potencial,
        -c.massa * (c.acel.x * (fim.centro.x - d.front().centro.x) + c.acel.z * (fim.centro.z - d.front().centro.z)),
        1e-9);
    EXPECT_NEAR(fim.maiorDeslocamento,
                std::sqrt(std::pow(fim.centro.x - d[0].centro.x, 2) + std::pow(fim.centro.z - d[0].centro.z, 2)), 1e-9);
}

TEST(Diagnostico, VerletSemAmortecimentoConservaAEnergiaNaFaixaEsperada) {
    // Verlet's velocity is the central difference of the step before, half a step behind
    // the positions: in a uniform field the sum drifts by m |g|^2 dt t, first order in dt.
    const Cena c = queda(SolverVerlet, 0.0, 1001, 10);
    const std::vector<Diagnostico> d = medirRun(c);
    ASSERT_EQ(d.size(), 101u);
    const double g2 = quadrado(c.acel);
    double maiorCinetica = 0.0;
    for (const Diagnostico& q : d) {
        const double faixa = c.massa * g2 * c.passo * q.tempo + 1e-12;
        EXPECT_LE(std::abs(q.total - d.front().total), faixa) << "frame " << q.quadro;
        maiorCinetica = std::max(maiorCinetica, q.cinetica);
    }
    // The band is narrow next to what is exchanged: kinetic energy reaches m |g t|^2 / 2.
    EXPECT_GT(maiorCinetica, 0.99 * 0.5 * c.massa * g2);
    EXPECT_LT(c.massa * g2 * c.passo * 1.0, 0.01 * maiorCinetica);
}

TEST(Diagnostico, ComAmortecimentoAEnergiaNuncaSobe) {
    for (int solver : {SolverVerlet, SolverEulerSemiExplicito, SolverRungeKutta}) {
        Cena c = queda(solver, 2.0, 301, 1);
        c.velInicial = {0.0, 1.0, 3.0};
        const std::vector<Diagnostico> d = medirRun(c);
        ASSERT_EQ(d.size(), 301u);
        for (std::size_t k = 1; k < d.size(); ++k)
            ASSERT_LE(d[k].total, d[k - 1].total) << "solver " << solver << ", frame " << d[k].quadro;
        EXPECT_LT(d.back().total, d.front().total - 0.1) << solver;
    }
}

TEST(Diagnostico, RazaoDeAreaUmNoQuadroUmEAreaDasPosicoesDoQuadro) {
    // A node pushed out of the surface along its normal: +z on the sheet, +y for the tube's
    // first ring node.
    Cena folha = cenaFolha(5, 7, 2.0, 1.0, 0.0);
    folha.restricoes = {forca(1, 1, {0.0, 0.0, 500.0})};
    Cena tubo = cenaTubo(12, 6, 0.7, 3.0);
    tubo.restricoes = {forca(0, 2, {0.0, 500.0, 0.0})};
    for (Cena c : {folha, tubo}) {
        c.quadros = 3;
        c.intervalo = 1;
        const std::vector<Diagnostico> d = medirRun(c);
        ASSERT_EQ(d.size(), 3u);
        EXPECT_EQ(d[0].razaoArea, 1.0) << "the rest area, to the bit";
        EXPECT_EQ(d[0].maiorDeslocamento, 0.0);
        EXPECT_GT(d[2].razaoArea, 1.0);
        EXPECT_GT(d[2].razaoArea, d[1].razaoArea) << "the frame's own positions, not the last step's geometry";
    }
}

Cena comElasticidade() {
    Cena c = cenaBenchmark(24, SolverRungeKutta);
    c.quadros = 41;
    c.intervalo = 4;
    c.passo = 1e-4;
    return c;
}

TEST(Diagnostico, ArquivoIgualParaUmOuDoisThreads) {
    PastaTemporaria a, b;
    Execucao(comElasticidade(), OpcoesExecucao{*a, false, 1}).executar();
    Execucao(comElasticidade(), OpcoesExecucao{*b, false, 2}).executar();
    const std::string um = lerArquivo(*a / kArquivoDiagnostico);
    EXPECT_EQ(linhas(um).size(), 12u) << "heading and 11 frames";
    EXPECT_EQ(um, lerArquivo(*b / kArquivoDiagnostico));
}

// The numbers of a CSV line, the frame first.
std::vector<double> numeros(const std::string& linha) {
    std::vector<double> r;
    const char* p = linha.data();
    const char* fim = p + linha.size();
    while (p < fim) {
        double v = 0;
        const auto res = std::from_chars(p, fim, v);
        EXPECT_EQ(res.ec, std::errc()) << linha;
        r.push_back(v);
        p = res.ptr + (res.ptr < fim ? 1 : 0);
    }
    return r;
}

TEST(Diagnostico, ExecucaoEscreveOCsvAoLadoDosQuadros) {
    PastaTemporaria pasta;
    const Cena c = comElasticidade();
    std::vector<Diagnostico> esperado = medirRun(c);
    const ResultadoExecucao r = Execucao(c, OpcoesExecucao{*pasta, false, 0}).executar();
    EXPECT_EQ(r.falhas, 0);
    const auto ls = linhas(lerArquivo(*pasta / kArquivoDiagnostico));
    ASSERT_EQ(ls.size(), esperado.size() + 1);
    EXPECT_EQ(ls[0] + "\n", cabecalhoDiagnostico());
    EXPECT_EQ(ls[0],
              "frame,time,kinetic_energy,potential_energy,total_energy,area_ratio,max_speed,max_displacement,"
              "centre_x,centre_y,centre_z");
    for (std::size_t k = 0; k < esperado.size(); ++k) {
        const Diagnostico& e = esperado[k];
        // Every value reads back to the same double.
        const std::vector<double> lidos = numeros(ls[k + 1]);
        const std::vector<double> valores = {double(e.quadro), e.tempo,     e.cinetica,        e.potencial,
                                             e.total,          e.razaoArea, e.maiorVelocidade, e.maiorDeslocamento,
                                             e.centro.x,       e.centro.y,  e.centro.z};
        EXPECT_EQ(lidos, valores) << ls[k + 1];
    }
}

TEST(Diagnostico, NovaExecucaoSubstituiOCsvEInterrompidaDeixaLinhasInteiras) {
    PastaTemporaria pasta;
    escreverArquivo(*pasta / kArquivoDiagnostico, std::string(100000, 'x') + "\n");
    Cena c = queda(SolverEulerSemiExplicito, 0.0, 100001, 100);
    Execucao e(c, OpcoesExecucao{*pasta, false, 1});
    std::vector<std::string> vistos;
    e.quadroGravado = [&](int n, const fs::path&) {
        // While the run goes on, the file holds whole lines of the frames so far. The frame
        // files are written behind the run, so a line may come just before or just after its
        // frame's file.
        vistos.push_back(lerArquivo(*pasta / kArquivoDiagnostico));
        if (n == 5) e.cancelar();
    };
    const ResultadoExecucao r = e.executar();
    ASSERT_TRUE(r.cancelado);
    ASSERT_GE(vistos.size(), 5u);
    for (std::size_t k = 0; k < vistos.size(); ++k) {
        EXPECT_GE(linhas(vistos[k]).size(), k + 1) << "the header and a line a frame before this one";
        EXPECT_EQ(vistos[k].back(), '\n');
    }
    const std::string fim = lerArquivo(*pasta / kArquivoDiagnostico);
    EXPECT_EQ(fim.back(), '\n');
    EXPECT_EQ(fim.find(std::string(100, 'x')), std::string::npos) << "the earlier file is replaced";
    EXPECT_GE(linhas(fim).size(), static_cast<std::size_t>(r.quadros) + 1);
}

TEST(Diagnostico, ArquivoQueNaoSePodeGravarEhUmaFalhaSo) {
    // A folder where the csv should be: no file can replace it, not even root's.
    PastaTemporaria pasta;
    fs::create_directory(*pasta / kArquivoDiagnostico);
    auto o = criarObjeto(comElasticidade());
    o->passoAtual = 1;
    o->inicializar();
    SaidaDiagnostico s(*pasta, *o);
    CopiaQuadro c;
    c.copiar(*o, 1, false, true);
    const Escrita f = s.quadro(c.vista());
    ASSERT_TRUE(f);
    EXPECT_EQ(f->arquivo, *pasta / kArquivoDiagnostico);
    c.copiar(*o, 2, false, true);
    EXPECT_FALSE(s.quadro(c.vista())) << "reported once";
    EXPECT_FALSE(s.concluir());
    EXPECT_TRUE(fs::is_directory(*pasta / kArquivoDiagnostico));
}

}  // namespace
