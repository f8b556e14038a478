// What a run leaves on disk when it does not end well: it stops at the first non-finite
// value, at the first file it cannot write, and a new run never mixes with an old series.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "app/cena/configuracao.h"
#include "app/cena/script_cena.h"
#include "base/gravacao.h"
#include "base/nomes_arquivos.h"
#include "dynamics/arquivos.h"
#include "dynamics/simulacao.h"
#include "support/arquivos_teste.h"
#include "support/cenas.h"

using namespace tevra;

namespace {

namespace fs = std::filesystem;

std::vector<std::string> arquivos(const fs::path& pasta) {
    std::vector<std::string> r;
    for (const auto& e : fs::directory_iterator(pasta)) r.push_back(e.path().filename().string());
    std::sort(r.begin(), r.end());
    return r;
}

// Frames 1 to n of a grid of `nos` nodes are in the folder, whole and finite, and nothing
// else is, but the files named in `tambem`.
void soQuadrosInteiros(const fs::path& pasta, int n, int nos, std::vector<std::string> tambem = {}) {
    for (int q = 1; q <= n; ++q) {
        const std::string texto = lerArquivo(caminhoQuadro(pasta, q));
        ASSERT_FALSE(texto.empty()) << "frame " << q;
        EXPECT_EQ(texto.back(), '\n') << "frame " << q;
        EXPECT_EQ(linhas(texto).size(), static_cast<std::size_t>((q == 1 ? 3 : 2) + 2 * nos)) << "frame " << q;
        EXPECT_EQ(texto.find("nan"), std::string::npos) << "frame " << q;
        EXPECT_EQ(texto.find("inf"), std::string::npos) << "frame " << q;
        tambem.push_back(caminhoQuadro(pasta, q).filename().string());
    }
    std::sort(tambem.begin(), tambem.end());
    EXPECT_EQ(arquivos(pasta), tambem);
}

Cena exemplo() { return carregarCena(TEVRA_SOURCE_DIR "/assets/scenes/script.anisot1"); }

// A 4 x 3 sheet under gravity with stiff tensors, recording every `intervalo` steps.
Cena folha(int quadros, int intervalo) {
    Cena c = comPesos(cenaFolha(4, 3, 2, 1, 0), 5.0, 0.01, 0.02);
    c.acel = {0, 0, -9.8};
    c.quadros = quadros;
    c.intervalo = intervalo;
    return c;
}

TEST(Divergencia, ParaNoPrimeiroPassoNaoFinitoAntesDoQuadro) {
    // The example scene with a time step fifty times too long blows up in a few steps.
    Cena c = exemplo();
    c.passo = 0.01;
    c.quadros = 400;
    c.intervalo = 1;
    PastaTemporaria pasta;
    auto o = criarObjeto(c);
    const ResultadoSimulacao r = simular(*o, {*pasta, {}, {}, nullptr});
    ASSERT_TRUE(r.divergencia);
    const Divergencia& d = *r.divergencia;
    EXPECT_EQ(d.passo, 9);
    EXPECT_DOUBLE_EQ(d.tempo, 0.09);
    EXPECT_EQ(d.i, 0);
    EXPECT_EQ(d.j, 1);
    EXPECT_EQ(d.grandeza, "position x");
    EXPECT_EQ(r.passos, 9);
    EXPECT_EQ(r.quadros, 9) << "frame k holds the state after step k - 1";
    EXPECT_EQ(r.falhas, 0);
    soQuadrosInteiros(*pasta, 9, 400);
}

TEST(Divergencia, ValoresEnormesTerminamEmDivergenciaNaoEmSucesso) {
    struct Caso {
        const char* nome;
        void (*mudar)(Cena&);
        int passo;  // 0: the surface as built is not finite
    };
    const Caso casos[] = {
        {"eta 1e308", [](Cena& c) { c.eta[0][0] = c.eta[1][1] = 1e308; }, 1},
        {"force 1e308",
         [](Cena& c) {
             c.restricoes = {forca(1, 1, {1e308, 0, 0})};
         },
         1},
        {"gravity 1e308 on a held corner",
         [](Cena& c) {
             c.acel = {0, 0, -1e308};
             c.restricoes = {fixa(0, 0, 0, 0, 0)};
         },
         2},
        {"velocity 1e308 past a held corner",
         [](Cena& c) {
             c.velInicial = {0, 0, 1e308};
             c.restricoes = {fixa(0, 0, 0, 0, 0)};
         },
         2},
        {"sheet of 1e308",
         [](Cena& c) {
             c.comp[0] = 1e308;
             c.comp[1] = 1e308;
         },
         0},
        {"tube of 1e308",
         [](Cena& c) {
             c.objeto = ObjetoCilindro;
             c.raio = 1e308;
             c.comprimento = 1e308;
         },
         0},
    };
    for (const Caso& caso : casos) {
        Cena c = folha(50, 1);
        caso.mudar(c);
        PastaTemporaria pasta;
        auto o = criarObjeto(c);
        const ResultadoSimulacao r = simular(*o, {*pasta, {}, {}, nullptr});
        ASSERT_TRUE(r.divergencia) << caso.nome;
        EXPECT_EQ(r.divergencia->passo, caso.passo) << caso.nome;
        EXPECT_EQ(r.quadros, caso.passo) << caso.nome << ": the frames before the step are kept, no other";
        soQuadrosInteiros(*pasta, r.quadros, 12);
        if (caso.passo == 0) {
            EXPECT_EQ(r.divergencia->grandeza, "area") << caso.nome;
        }
    }
}

TEST(Divergencia, PrimeiroValorNaoFinitoNaOrdemDoArquivo) {
    const int nos = 4;
    std::vector<double> v(6 * nos, 0.5);
    VistaQuadro q;
    q.nos = nos;
    q.area = 2;
    q.densidade0 = 1;
    for (int c = 0; c < 3; ++c) {
        q.pos[c] = &v[c * nos];
        q.normal[c] = &v[(3 + c) * nos];
    }
    EXPECT_FALSE(primeiroNaoFinito(q));
    v[(3 + 1) * nos + 2] = std::nan("");  // normal y of node 2
    v[2 * nos + 3] = 1.0 / 0.0;           // position z of node 3
    auto achado = primeiroNaoFinito(q);
    ASSERT_TRUE(achado);
    EXPECT_EQ(achado->no, 2);
    EXPECT_STREQ(achado->grandeza, "normal y");
    v[0 * nos + 2] = -1.0 / 0.0;  // position x of the same node comes first
    EXPECT_STREQ(primeiroNaoFinito(q)->grandeza, "position x");
    q.area = 1.0 / 0.0;
    achado = primeiroNaoFinito(q);
    EXPECT_EQ(achado->no, -1);
    EXPECT_STREQ(achado->grandeza, "area");
}

TEST(Divergencia, TesteDosBitsSoPegaInfinitosENaN) {
    // Every kind of extreme value at every position of an array longer than any vector, so
    // that the vector body and the scalar tail of the test both see each one.
    const int nos = 11;
    std::vector<double> v(6 * nos, 0.5);
    VistaQuadro q;
    q.nos = nos;
    q.area = 2;
    q.densidade0 = 1;
    for (int c = 0; c < 3; ++c) {
        q.pos[c] = &v[c * nos];
        q.normal[c] = &v[(3 + c) * nos];
    }
    const double finitos[] = {std::numeric_limits<double>::max(), -std::numeric_limits<double>::max(),
                              std::numeric_limits<double>::denorm_min(), -0.0, 1e308, -1e-320};
    const double ruins[] = {std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
                            std::numeric_limits<double>::quiet_NaN(), -std::numeric_limits<double>::quiet_NaN(),
                            std::numeric_limits<double>::signaling_NaN()};
    for (int k = 0; k < nos; ++k) {
        double& alvo = v[4 * nos + k];  // normal y
        for (double f : finitos) {
            alvo = f;
            EXPECT_FALSE(primeiroNaoFinito(q)) << f << " at node " << k;
        }
        for (double r : ruins) {
            alvo = r;
            const auto achado = primeiroNaoFinito(q);
            ASSERT_TRUE(achado) << r << " at node " << k;
            EXPECT_EQ(achado->no, k);
        }
        alvo = 0.5;
    }
}

TEST(Divergencia, CopiaDoQuadroTestaOQueOArquivoImprime) {
    auto o = criarObjeto(folha(10, 1));
    o->passoAtual = 1;
    o->inicializar();
    CopiaQuadro c;
    EXPECT_TRUE(c.copiar(*o, 1, false, true));
    for (int k = 0; k < o->numNos(); ++k) EXPECT_EQ(c.vista().vel[2][k], o->vel[2][k]);
    o->vel[0][3] = std::nan("");  // velocities go to the diagnostics, not to the file
    EXPECT_TRUE(c.copiar(*o, 2, false, true));
    o->nos.normal[1][o->numNos() - 1] = 1.0 / 0.0;  // the last array's last value
    EXPECT_FALSE(c.copiar(*o, 3, false, false));
    ASSERT_TRUE(primeiroNaoFinito(c.vista()));
    EXPECT_EQ(primeiroNaoFinito(c.vista())->no, o->numNos() - 1);
    EXPECT_EQ(c.vista().vel[0], nullptr) << "not asked for";
    o->nos.normal[1][o->numNos() - 1] = 0.0;
    o->area = std::nan("");
    EXPECT_FALSE(c.copiar(*o, 4, false, false)) << "the header's area";
    EXPECT_TRUE(c.copiar(*o, 1, false, false)) << "frame 1 prints the rest area";
}

TEST(ArquivosInteirosOuAusentes, PrimeiraFalhaDeEscritaParaAExecucao) {
    // Frame 3's temporary name is taken by a folder: that file cannot be written.
    PastaTemporaria pasta;
    fs::create_directories(nomeTemporario(caminhoQuadro(*pasta, 3)));
    auto o = criarObjeto(folha(200, 10));
    int ultimoPasso = 0;
    const ResultadoSimulacao r = simular(*o, {*pasta, [&](int feitos, int) { ultimoPasso = feitos; }, {}, nullptr});
    EXPECT_EQ(r.falhas, 1);
    ASSERT_TRUE(r.primeiraFalha);
    EXPECT_EQ(r.primeiraFalha->arquivo, caminhoQuadro(*pasta, 3));
    EXPECT_EQ(r.primeiraFalha->motivo, "Is a directory");
    EXPECT_EQ(r.quadros, 2);
    // The writer is never more than two frames behind: frame 5 (step 40) waits for it.
    EXPECT_LE(r.passos, 40) << "the run goes on computing";
    EXPECT_EQ(ultimoPasso, r.passos);
    soQuadrosInteiros(*pasta, 2, 12, {nomeTemporario(caminhoQuadro(*pasta, 3)).filename().string()});
}

TEST(ArquivosInteirosOuAusentes, FalhaNoDumpParaDepoisDoSeuQuadro) {
    PastaTemporaria pasta;
    fs::create_directories(nomeTemporario(nomeArquivoQuadro(*pasta / kPadraoDedos, 2)));
    auto o = criarObjeto(folha(200, 10));
    o->flagDados = 1;
    const ResultadoSimulacao r = simular(*o, {*pasta, {}, {}, nullptr});
    ASSERT_TRUE(r.primeiraFalha);
    EXPECT_EQ(r.primeiraFalha->arquivo.filename(), "dedos0002.txt");
    EXPECT_EQ(r.quadros, 2) << "frame 2 itself was written before its dump";
    EXPECT_LE(r.passos, 30);
    soQuadrosInteiros(*pasta, 2, 12, {"dados0001.txt", ".dedos0002.txt.tmp"});
}

TEST(ArquivosInteirosOuAusentes, AvisoDeQuadroSoComOArquivoInteiroEmOrdem) {
    PastaTemporaria pasta;
    auto o = criarObjeto(folha(101, 5));
    std::vector<int> avisados;
    std::vector<std::string> vistos;
    OpcoesSimulacao op{*pasta, {}, {}, nullptr};
    op.quadroNoDisco = [&](int n, const fs::path& arquivo) {
        avisados.push_back(n);
        vistos.push_back(lerArquivo(arquivo));
    };
    const ResultadoSimulacao r = simular(*o, op);
    ASSERT_EQ(r.quadros, 21);
    ASSERT_EQ(avisados.size(), 21u);
    for (int q = 1; q <= 21; ++q) {
        EXPECT_EQ(avisados[q - 1], q);
        EXPECT_EQ(vistos[q - 1], lerArquivo(caminhoQuadro(*pasta, q))) << "frame " << q << " was whole when announced";
    }
}

TEST(UmaExecucaoPorPasta, SerieMaisCurtaNaoHerdaQuadrosDaAnterior) {
    PastaTemporaria pasta;
    auto longa = criarObjeto(folha(300, 10));
    longa->flagDados = 1;
    EXPECT_EQ(simular(*longa, {*pasta, {}, {}, nullptr}).quadros, 30);
    escreverArquivo(pasta / "notas.txt", "the user's own");

    Cena c = comPesos(cenaFolha(2, 2, 1, 1, 0), 1.0, 0, 0);
    c.quadros = 21;
    c.intervalo = 10;
    auto curta = criarObjeto(c);
    const ResultadoSimulacao r = simular(*curta, {*pasta, {}, {}, nullptr});
    EXPECT_EQ(r.removidos, 30 + 1 + 29) << "frames, dados0001 and dedos0002..0030";
    EXPECT_EQ(r.quadros, 3);
    soQuadrosInteiros(*pasta, 3, 4, {"notas.txt"});
    EXPECT_EQ(simular(*criarObjeto(c), {*pasta, {}, {}, nullptr}).removidos, 3) << "a rerun replaces its own series";
}

}  // namespace
