// Recorded frames converted: what is skipped and said, what is refused before anything is
// written, and the values the frames hold.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <bit>

#include "app/execucao/execucao.h"
#include "support/arquivos_teste.h"
#include "support/cenas.h"
#include "support/vtk_teste.h"
#include "view/exportacao/conversao_serie.h"
#include "view/exportacao/leitura_conferida.h"

using namespace tevra;

namespace {

namespace fs = std::filesystem;

// A recorded series: frames 1 to `quadros` of a gi x gj sheet (or tube) in `pasta`.
void gravarSerie(const fs::path& pasta, int gi, int gj, int quadros, bool tubo = false) {
    Cena c = comPesos(tubo ? cenaTubo(gi, gj, 0.5, 2.0) : cenaFolha(gi, gj, 2.0, 1.0, 0.3), 3.0, 0.01, 0.0);
    c.acel = {0.0, 0.0, -9.8};
    c.passo = 0.001;
    c.intervalo = 5;
    c.quadros = (quadros - 1) * 5 + 1;
    Execucao e(c, OpcoesExecucao{pasta, false, 0});
    ASSERT_EQ(e.executar().quadrosGravados(), quadros);
}

OpcoesConversao opcoes(const fs::path& pasta, int gi, int gj, FormatoExportacao f = FormatoExportacao::Vtu) {
    OpcoesConversao op;
    op.pasta = pasta;
    op.gradeI = gi;
    op.gradeJ = gj;
    op.formato = f;
    return op;
}

std::string quadro(int n) {
    char nome[32];
    std::snprintf(nome, sizeof nome, "pontos%04d.txt", n);
    return nome;
}

std::vector<std::string> arquivos(const fs::path& pasta) {
    std::vector<std::string> r;
    if (fs::exists(pasta))
        for (const auto& e : fs::directory_iterator(pasta)) r.push_back(e.path().filename().string());
    std::sort(r.begin(), r.end());
    return r;
}

TEST(ConversaoSerie, QuadrosFaltandoIlegiveisOuDeOutraGradeSaoRelatadosENaoInventados) {
    PastaTemporaria pasta, outra;
    gravarSerie(*pasta, 5, 4, 10);
    gravarSerie(*outra, 2, 3, 1);
    fs::remove(pasta / quadro(3));
    escreverArquivo(pasta / quadro(5), "lixo que nao e um quadro\n");
    const std::string seis = lerArquivo(pasta / quadro(6));
    escreverArquivo(pasta / quadro(6), seis.substr(0, seis.find("\n10: ") + 7));  // cut in node 10
    // Another run's whole frame under frame 7's name: a 2 x 3 grid's frame 1 without its
    // first line, which only frame 1 has.
    const std::string menor = lerArquivo(*outra / quadro(1));
    escreverArquivo(pasta / quadro(7), menor.substr(menor.find("Area:")));
    fs::remove(pasta / quadro(8));
    ASSERT_EQ(mkfifo((pasta / quadro(8)).c_str(), 0644), 0) << "a FIFO is skipped unopened, not waited on";

    OpcoesConversao op = opcoes(*pasta, 5, 4);
    op.saida = pasta / "vtk";
    op.tempoPorQuadro = 0.005;
    std::vector<int> progresso;
    const ResultadoConversao r = converterSerie(op, [&](int feitos, int total) {
        EXPECT_EQ(total, 10);
        progresso.push_back(feitos);
    });
    EXPECT_FALSE(r.falha);
    EXPECT_EQ(r.quadros, 10);
    EXPECT_EQ(r.convertidos, 5);
    EXPECT_EQ(progresso, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    ASSERT_EQ(r.ignorados.size(), 5u);
    const std::pair<int, MotivoIgnorado> esperados[] = {{3, MotivoIgnorado::Ausente},
                                                        {5, MotivoIgnorado::Ilegivel},
                                                        {6, MotivoIgnorado::Ilegivel},
                                                        {7, MotivoIgnorado::OutraGrade},
                                                        {8, MotivoIgnorado::Ilegivel}};
    for (int k = 0; k < 5; ++k) {
        EXPECT_EQ(r.ignorados[k].n, esperados[k].first);
        EXPECT_EQ(r.ignorados[k].motivo, esperados[k].second) << r.ignorados[k].n;
    }
    EXPECT_EQ(r.ignorados[3].nosNoArquivo, 6);
    EXPECT_EQ(
        textoIgnorados(r, 5, 4),
        (std::vector<std::string>{"frame missing: 3",
                                  "frames unreadable (ended early, held a non-number or not a regular file): 5-6, 8",
                                  "frame of another grid (not 5 x 4 = 20 nodes): 7"}));

    // Only the frames converted, nothing in place of the others.
    EXPECT_EQ(arquivos(pasta / "vtk"),
              (std::vector<std::string>{"superficie.pvd", "superficie0001.vtu", "superficie0002.vtu",
                                        "superficie0004.vtu", "superficie0009.vtu", "superficie0010.vtu"}));
    const MalhaLida pvd = lerComVtk("pvd", caminhoPvd(pasta / "vtk"));
    ASSERT_TRUE(pvd.ok) << pvd.texto;
    std::vector<double> tempos;
    for (const auto& d : pvd.dataSets) tempos.push_back(d.tempo);
    EXPECT_EQ(tempos, (std::vector<double>{0.0, 0.005, 3 * 0.005, 8 * 0.005, 9 * 0.005}));

    // The values are the frame's six digits, read as the reader reads them.
    const MalhaLida m = lerComVtk("vtu", caminhoExportacao(pasta / "vtk", 9, FormatoExportacao::Vtu));
    ASSERT_TRUE(m.ok) << m.texto;
    EXPECT_EQ(m.celulas, 12);
    EXPECT_EQ(m.arrays.size(), 2u) << "positions and normals only";
    NosSuperficie nos;
    nos.alocar(5, 4);
    ASSERT_EQ(lerQuadro(pasta / quadro(9), false, nos).estado, EstadoQuadro::Completo);
    for (int idx = 0; idx < 20; ++idx) {
        EXPECT_EQ(m.arrays.at("Points").tuplas[idx], (std::vector<double>{nos.x[idx], nos.y[idx], nos.z[idx]}));
        EXPECT_EQ(m.arrays.at("normal").tuplas[idx], (std::vector<double>{nos.nx[idx], nos.ny[idx], nos.nz[idx]}));
    }
}

TEST(ConversaoSerie, GradeQueNaoBateComOsArquivosEhRecusadaSemEscreverNada) {
    PastaTemporaria folha, tubo;
    gravarSerie(*folha, 5, 4, 3);
    gravarSerie(*tubo, 6, 4, 3, true);
    struct Caso {
        const fs::path& pasta;
        int gi, gj;
        const char* mensagem;
    };
    const Caso casos[] = {
        {*folha, 5, 5, "the grid 5 x 5 (25 nodes) does not match the files: pontos0001.txt holds 20 nodes"},
        {*folha, 3, 3, "the grid 3 x 3 (9 nodes) does not match the files: pontos0001.txt holds 20 nodes"},
        // The files' node count, other rows: frame 1, the rest shape, tells them apart.
        {*folha, 4, 5, "the grid 4 x 5 does not match the files: frame 1, the surface at rest, is not an even grid"},
        {*folha, 2, 10, "the grid 2 x 10 does not match"},
        {*folha, 20, 1, "the grid 20 x 1 does not match"},
        {*tubo, 4, 6, "the grid 4 x 6 does not match"},
        {*tubo, 8, 3, "the grid 8 x 3 does not match"},
    };
    for (const Caso& c : casos) {
        OpcoesConversao op = opcoes(c.pasta, c.gi, c.gj);
        op.saida = c.pasta / "saida";
        try {
            converterSerie(op);
            ADD_FAILURE() << c.mensagem;
        } catch (const ErroEntrada& e) {
            EXPECT_EQ(std::string(e.what()).find(c.mensagem), 0u) << e.what();
        }
        EXPECT_FALSE(fs::exists(c.pasta / "saida"));
    }
    // The right grids pass.
    EXPECT_EQ(converterSerie(opcoes(*folha, 5, 4)).convertidos, 3);
    EXPECT_EQ(converterSerie(opcoes(*tubo, 6, 4)).convertidos, 3);
}

TEST(ConversaoSerie, EntradaSemQuadrosRecusada) {
    PastaTemporaria pasta;
    escreverArquivo(pasta / "pontos1.txt", "not a frame name");
    escreverArquivo(pasta / "pontos00001.txt", "nor this");
    auto mensagem = [](const OpcoesConversao& op) {
        try {
            converterSerie(op);
        } catch (const ErroEntrada& e) {
            return std::string(e.what());
        }
        return std::string("accepted");
    };
    EXPECT_EQ(mensagem(opcoes(*pasta, 3, 3)), "no frame files (pontosNNNN.txt) in " + (*pasta).string());
    EXPECT_EQ(mensagem(opcoes(*pasta, 0, 3)), "the grid 0 x 3 has no nodes");
    EXPECT_EQ(mensagem(opcoes(*pasta, 20000, 20000)), "the grid 20000 x 20000 has more than 100000000 nodes");
    EXPECT_EQ(mensagem(opcoes(pasta / "nada", 3, 3)), (pasta / "nada").string() + " is not a folder");
    OpcoesConversao op = opcoes(*pasta, 3, 3);
    op.tempoPorQuadro = 0;
    EXPECT_EQ(mensagem(op), "the time between frames must be a positive number");
    // Frames outside 1 .. N do not count; frames inside that cannot be read give nothing.
    gravarSerie(*pasta, 3, 3, 1);
    fs::rename(pasta / quadro(1), pasta / quadro(7));
    op = opcoes(*pasta, 3, 3);
    op.quadros = 5;
    EXPECT_EQ(mensagem(op), "no frame files (pontosNNNN.txt) for frames 1 to 5 in " + (*pasta).string());
    escreverArquivo(pasta / quadro(2), "Area: 1\n");
    EXPECT_EQ(mensagem(op), "no frame of " + (*pasta).string() + " between 1 and 5 can be read");
    EXPECT_TRUE(arquivos(*pasta) ==
                (std::vector<std::string>{"pontos00001.txt", "pontos0002.txt", "pontos0007.txt", "pontos1.txt"}));
}

TEST(ConversaoSerie, OQuadro1DizSeEhTuboESemEleAFaixaDeFechamentoNaoSeInventa) {
    PastaTemporaria pasta;
    gravarSerie(*pasta, 6, 4, 3, true);
    ResultadoConversao r = converterSerie(opcoes(*pasta, 6, 4, FormatoExportacao::Obj));
    EXPECT_FALSE(r.formaDesconhecida);
    EXPECT_EQ(lerComVtk("obj", caminhoExportacao(*pasta, 2, FormatoExportacao::Obj)).celulas, 5 * 3 + 3);
    fs::remove(pasta / quadro(1));
    r = converterSerie(opcoes(*pasta, 6, 4, FormatoExportacao::Obj));
    EXPECT_TRUE(r.formaDesconhecida);
    EXPECT_EQ(r.convertidos, 2);
    EXPECT_FALSE(fs::exists(caminhoExportacao(*pasta, 1, FormatoExportacao::Obj))) << "an earlier export's frame 1";
    EXPECT_EQ(lerComVtk("obj", caminhoExportacao(*pasta, 2, FormatoExportacao::Obj)).celulas, 5 * 3);
}

TEST(ConversaoSerie, SaidaQueNaoSeEscreveParaAntesDoPrimeiroQuadro) {
    PastaTemporaria pasta;
    gravarSerie(*pasta, 3, 3, 2);
    escreverArquivo(pasta / "arquivo", "a file where the folder should be");
    OpcoesConversao op = opcoes(*pasta, 3, 3);
    op.saida = pasta / "arquivo";
    int lidos = 0;
    const ResultadoConversao r = converterSerie(op, [&](int, int) { ++lidos; });
    EXPECT_TRUE(r.saidaRecusada);
    ASSERT_TRUE(r.falha);
    EXPECT_EQ(r.falha->arquivo, pasta / "arquivo");
    EXPECT_EQ(lidos, 0);
    EXPECT_EQ(r.convertidos, 0);
}

TEST(ConversaoSerie, InterrompidaEntreQuadrosDeixaUmPvdDoQueFoiEscrito) {
    PastaTemporaria pasta;
    gravarSerie(*pasta, 3, 3, 6);
    std::atomic<bool> parar{false};
    const ResultadoConversao r = converterSerie(
        opcoes(*pasta, 3, 3), [&](int feitos, int) { parar = feitos == 4; }, &parar);
    EXPECT_TRUE(r.interrompida);
    EXPECT_EQ(r.convertidos, 4);
    EXPECT_EQ(lerComVtk("pvd", caminhoPvd(*pasta)).dataSets.size(), 4u);
    EXPECT_FALSE(fs::exists(caminhoExportacao(*pasta, 5, FormatoExportacao::Vtu)));
}

TEST(LeituraConferida, SoAGradePedidaInteiraPassa) {
    PastaTemporaria pasta;
    gravarSerie(*pasta, 3, 2, 2);
    const std::string primeiro = lerArquivo(pasta / quadro(1));
    const std::string segundo = lerArquivo(pasta / quadro(2));
    NosSuperficie nos;
    nos.alocar(3, 2);
    auto estado = [&](const std::string& texto, bool primeiroQuadro) {
        return lerQuadroConferido(std::string_view(texto), primeiroQuadro, nos);
    };
    EXPECT_EQ(estado(primeiro, true).estado, EstadoConferido::Completo);
    EXPECT_EQ(estado(primeiro, true).objeto, 0.0);
    EXPECT_EQ(estado(segundo, false).estado, EstadoConferido::Completo);
    std::string crlf;
    for (char c : segundo) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    EXPECT_EQ(estado(crlf, false).estado, EstadoConferido::Completo) << "as written on another platform";

    // Two nodes more (a 4 x 2 frame) or one fewer: whole frames of another grid.
    std::string maior = segundo + "6: 1 2 3\n6: 0 0 1\n7: 1 2 3\n7: 0 0 1\n";
    EXPECT_EQ(estado(maior, false).estado, EstadoConferido::OutraGrade);
    EXPECT_EQ(estado(maior, false).nosNoArquivo, 8);
    const std::string menor = segundo.substr(0, segundo.rfind("5:", segundo.rfind("5:") - 1));
    EXPECT_EQ(estado(menor, false).estado, EstadoConferido::OutraGrade);
    EXPECT_EQ(estado(menor, false).nosNoArquivo, 5);
    // Not frames at all.
    EXPECT_EQ(estado(segundo + "fim\n", false).estado, EstadoConferido::Ilegivel);
    EXPECT_EQ(estado(segundo.substr(0, segundo.rfind(' ')), false).estado, EstadoConferido::Ilegivel)
        << "the last number missing";
    EXPECT_EQ(estado(primeiro, false).estado, EstadoConferido::Ilegivel) << "first-frame header in a later frame";

    EXPECT_EQ(lerQuadroConferido(pasta / "nada.txt", false, nos).estado, EstadoConferido::Ausente);
    EXPECT_EQ(lerQuadroConferido(*pasta, false, nos).estado, EstadoConferido::Ilegivel) << "a folder";
}

}  // namespace
