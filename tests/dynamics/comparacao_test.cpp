// The engine against a plain second transcription of the model: every frame and dump
// file must come out byte for byte the same, for random scenes of every kind.
#include <gtest/gtest.h>

#include <optional>
#include <random>

#include "app/cena/configuracao.h"
#include "dynamics/referencia/referencia.h"
#include "dynamics/simulacao.h"
#include "dynamics/varredura.h"
#include "model/caminho.h"
#include "model/equipe.h"
#include "support/arquivos_teste.h"
#include "support/cenas.h"

using namespace tevra;

namespace {

namespace fs = std::filesystem;

// Compares every file of two folders; reports the first differing line.
void mesmosArquivos(const fs::path& a, const fs::path& b, const std::string& cena) {
    std::vector<std::string> nomes;
    for (const auto& e : fs::directory_iterator(a)) nomes.push_back(e.path().filename().string());
    std::size_t nb = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(b)) ++nb;
    ASSERT_EQ(nomes.size(), nb) << cena;
    for (const auto& nome : nomes) {
        const std::string x = lerArquivo(a / nome), y = lerArquivo(b / nome);
        if (x == y) continue;
        const auto lx = linhas(x), ly = linhas(y);
        for (std::size_t k = 0; k < std::min(lx.size(), ly.size()); ++k)
            if (lx[k] != ly[k]) {
                ADD_FAILURE() << cena << "\n"
                              << nome << " line " << k + 1 << "\n engine:    " << lx[k] << "\n reference: " << ly[k];
                return;
            }
        ADD_FAILURE() << cena << "\n" << nome << ": different lengths";
        return;
    }
}

// How the engine runs a scene: its thread count and its kernels.
struct Modo {
    int threads = 0;  // 0: the engine's own choice
    std::optional<Caminho> caminho;
    bool detalhado = false;   // every per-step array kept in the object
    int colunasPorBloco = 0;  // 0: the engine's own width of the column blocks
};

// Puts the engine back to its own choices when a test ends, passed or not.
struct ModoDoMotor {
    explicit ModoDoMotor(const Modo& m) {
        definirThreads(m.threads);
        forcarCaminho(m.caminho);
        definirColunasPorBloco(m.colunasPorBloco);
    }
    ~ModoDoMotor() {
        definirThreads(0);
        forcarCaminho(std::nullopt);
        definirColunasPorBloco(0);
    }
};

std::string textoModo(const Modo& m) {
    return " [threads " + std::to_string(m.threads) + ", " + (m.caminho ? nomeCaminho(*m.caminho) : "auto") +
           (m.detalhado ? ", detailed" : "") + ", blocks of " + std::to_string(m.colunasPorBloco) + "]";
}

void rodarMotor(const Cena& c, bool dados, const Modo& m, const std::filesystem::path& pasta) {
    ModoDoMotor modo(m);
    auto o = construirObjeto(c);
    o->flagDados = dados ? 1 : 0;
    if (m.detalhado) o->detalhar();
    simular(*o, {pasta, {}, {}, nullptr});
}

// One scene handed to the reference and to the engine in each mode.
void comparar(const Cena& c, bool dados, const std::string& descricao, const std::vector<Modo>& modos = {Modo{}}) {
    PastaTemporaria ref;
    referencia::simularReferencia(c, dados, *ref);
    for (const Modo& m : modos) {
        PastaTemporaria motor;
        rodarMotor(c, dados, m, *motor);
        mesmosArquivos(*motor, *ref, descricao + textoModo(m));
    }
}

// Every kernel build this processor runs, each on one and on three threads, in whole rows
// and in narrow column blocks.
std::vector<Modo> todosOsCaminhos() {
    std::vector<Modo> m;
    for (Caminho c : {Caminho::Escalar, Caminho::SSE2, Caminho::AVX2}) {
        if (c == Caminho::AVX2 && !processadorTemAvx2()) continue;
        m.push_back({1, c});
        m.push_back({3, c, false, 6});
    }
    return m;
}

// Every elastic term on, unequal off the diagonal, gravity, a fluid and a damping.
Cena comTudo(Cena c) {
    const double eta[2][2] = {{4.0, 0.5}, {0.7, 3.0}};
    const double qsi[2][2] = {{0.01, 0.002}, {0.003, 0.02}};
    const double psi[2][2] = {{0.02, -0.01}, {0.015, 0.03}};
    for (int k = 0; k < 2; ++k)
        for (int l = 0; l < 2; ++l) {
            c.eta[k][l] = eta[k][l];
            c.qsi[k][l] = qsi[k][l];
            c.psi[k][l] = psi[k][l];
        }
    c.massa = 1.5;
    c.acel = {0.5, -1.0, -9.8};
    c.velInicial = {0.1, 0.0, -0.2};
    c.gama = 0.2;
    c.fluidoAtivo = true;
    c.fluido = {0.3, 1.0, 2.0};
    c.fluido_cte = 0.1;
    c.passo = 1e-3;
    c.quadros = 13;
    c.intervalo = 4;
    return c;
}

TEST(Comparacao, CenasAleatoriasDeTodoTipo) {
    std::mt19937_64 g(20261208);
    for (int k = 0; k < 150; ++k) {
        const CenaSorteada s = sortearCena(g);
        comparar(s.cena, s.dados, "scene " + std::to_string(k) + ": " + s.descricao);
        if (HasFailure()) break;
    }
}

TEST(Comparacao, CadaIntegradorEmFolhaFinaETuboGrosso) {
    for (int s = SolverEulerSemiExplicito; s <= SolverVerlet; ++s) {
        Cena f = cenaFolha(31, 24, 2, 1, 0.3, s);
        f.massa = 2;
        f.eta[0][0] = 4;
        f.eta[1][1] = 3;
        f.eta[0][1] = f.eta[1][0] = 0.5;
        f.qsi[0][0] = f.qsi[1][1] = 0.002;
        f.psi[0][1] = 0.01;
        f.psi[1][1] = 0.02;
        f.acel[2] = -9.8;
        f.gama = 0.2;
        f.passo = 5e-4;
        f.quadros = 25;
        f.intervalo = 8;
        f.fluidoAtivo = true;
        f.fluido_cte = 0.1;
        f.fluido[1] = 2;
        f.restricoes = {fixa(0, 0, 0, 0, 0)};
        comparar(f, true, "fine sheet, solver " + std::to_string(s));

        Cena t = f;
        t.grade_i = 8;
        t.grade_j = 5;
        t.objeto = ObjetoCilindro;
        t.comp[0] = t.comp[1] = t.comp[2] = 0;
        t.raio = 1.5;
        t.comprimento = 3;
        t.qsi[0][1] = t.qsi[1][0] = 0.01;
        t.quadros = 60;
        comparar(t, true, "coarse tube, solver " + std::to_string(s));
    }
}

// The benchmark's sheet, every term on, cut down to a grid and a run the reference can afford.
TEST(Comparacao, CenaDoBenchmarkEmGradePequena) {
    for (int s = SolverEulerSemiExplicito; s <= SolverVerlet; ++s) {
        Cena c = cenaBenchmark(9, s);
        c.passo = 1e-3;
        c.quadros = 21;
        c.intervalo = 5;
        comparar(c, false, "benchmark sheet, solver " + std::to_string(s));
    }
}

// Grids with no interior node, or one interior row or column, every solver (and a code with
// none), restrictions on corners and edges, dumps on and off, on one, two and three threads
// and in column blocks of every width up to the grid's: the rows and columns the lane groups
// leave to the edge path, bands of one row, blocks narrower than the columns beside them.
TEST(Comparacao, GradesMinimasTubosERestricoesNasBordas) {
    struct Forma {
        int gi, gj;
        bool tubo;
    };
    const Forma formas[] = {{2, 2, false}, {2, 6, false}, {6, 2, false}, {3, 3, false},
                            {2, 5, true},  {5, 2, true},  {4, 7, true}};
    const std::vector<Modo> modos = {{1, {}}, {2, {}, false, 1}, {3, {}, false, 2}, {1, {}, false, 3}};
    int k = 0;
    for (const Forma& f : formas)
        for (int s : {3, 4, 5, 6, 7, 9}) {  // every solver, and a code with none
            Cena c = comTudo(f.tubo ? cenaTubo(f.gi, f.gj, 1.2, 2.5, s) : cenaFolha(f.gi, f.gj, 2.0, 1.5, 0.4, s));
            const int ui = f.gi - 1, uj = f.gj - 1;
            c.restricoes = {fixa(0, 0, 0, 0, 0),         fixa(ui, uj / 2, 1, 0, 1),     fixa(0, uj, 0, 1, 1, 3, 9),
                            forca(0, uj, {0, 2, -1}, 5), forca(ui, 0, {1, 0, 3}, 0, 7), fixa(ui, uj, 1, 1, 0, 2)};
            const bool dados = (k++ % 2) == 0;
            comparar(c, dados,
                     std::to_string(f.gi) + "x" + std::to_string(f.gj) + (f.tubo ? " tube" : " sheet") + ", solver " +
                         std::to_string(s) + (dados ? ", dumps" : ""),
                     modos);
            if (HasFailure()) return;
        }
}

// The scalar, SSE2 and AVX2 kernels on the same scenes give the reference's bytes: grids
// wide enough for whole lane groups and a remainder, Christoffel terms on, off and partly on.
TEST(Comparacao, CaminhosDoNucleoDaoOsMesmosBytes) {
    const std::vector<Modo> modos = todosOsCaminhos();
    const Cena cenas[] = {
        comTudo(cenaFolha(13, 21, 2.0, 1.5, 0.3, SolverEulerSemiExplicito)),
        comTudo(cenaTubo(21, 11, 1.0, 2.0, SolverRungeKutta)),
        comTudo(cenaFolha(50, 3, 1.0, 1.0, 0.0, SolverVerlet)),  // Christoffel terms partly on
        comTudo(cenaFolha(9, 40, 1.0, 3.0, 0.5, SolverLeapfrog)),
        comTudo(cenaTubo(10, 19, 0.8, 1.5, SolverPontoMedio)),
    };
    int k = 0;
    for (Cena c : cenas) {
        c.restricoes = {fixa(0, 0, 0, 0, 0), forca(c.grade_i / 2, c.grade_j / 2, {0, 0, 5}), fixa(1, 5, 1, 0, 1)};
        comparar(c, k % 2 == 0, "scene " + std::to_string(k), modos);
        ++k;
        if (HasFailure()) return;
    }
    std::mt19937_64 g(7);
    for (int n = 0; n < 20; ++n) {
        const CenaSorteada s = sortearCena(g);
        comparar(s.cena, s.dados, "drawn scene " + std::to_string(n) + ": " + s.descricao, modos);
        if (HasFailure()) return;
    }
}

// Keeping every per-step quantity in the object changes no byte of the files.
TEST(Comparacao, ObjetoDetalhadoDaOsMesmosArquivos) {
    for (int s = SolverEulerSemiExplicito; s <= SolverVerlet; ++s) {
        Cena c = comTudo(cenaTubo(9, 8, 1.0, 2.0, s));
        c.restricoes = {fixa(2, 3, 1, 0, 1), forca(8, 7, {0, 1, 0})};
        comparar(c, true, "tube, solver " + std::to_string(s), {Modo{2, {}, true}, Modo{1, {}, true}});
    }
}

}  // namespace
