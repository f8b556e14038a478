// The converter of recorded frames, driven as a user drives it.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdio>

#include "app/execucao/execucao.h"
#include "cli/tevra_sim_teste.h"
#include "support/arquivos_teste.h"
#include "support/cenas.h"
#include "support/vtk_teste.h"

using namespace tevra;

namespace {

namespace fs = std::filesystem;

using Saida = SaidaPrograma;  // standard output and error together

Saida converter(const std::string& argumentos) { return rodarShell("'" TEVRA_CONVERT "' " + argumentos + " 2>&1"); }

// Quoted for the shell; appended piece by piece, as GCC 12 warns falsely about "'" + s + "'".
std::string q(const fs::path& p) {
    std::string s(1, '\'');
    s += p.string();
    s += '\'';
    return s;
}

// Frames 1 to 10 of a 4 x 3 sheet.
void gravarSerie(const fs::path& pasta) {
    Cena c = comPesos(cenaFolha(4, 3, 1.0, 1.0, 0.0), 2.0, 0.0, 0.0);
    c.acel = {0.0, 0.0, -1.0};
    c.quadros = 46;
    c.intervalo = 5;
    Execucao e(c, OpcoesExecucao{pasta, false, 0});
    ASSERT_EQ(e.executar().quadrosGravados(), 10);
}

TEST(TevraConvert, SerieComQuadrosRuinsConverteORestoEDizQuaisPulou) {
    PastaTemporaria pasta;
    gravarSerie(*pasta);
    fs::remove(pasta / "pontos0003.txt");
    escreverArquivo(pasta / "pontos0005.txt", "Area: 1\nDensidade de Massa:  1\n0: 1 2\n");
    const Saida s = converter(q(*pasta) + " --grid 4 3 --to vtu --out " + q(pasta / "vtk") + " --frame-time 0.25");
    EXPECT_EQ(s.status, 6) << s.texto;
    EXPECT_NE(s.texto.find("tevra-convert: skipped frame missing: 3\n"), std::string::npos) << s.texto;
    EXPECT_NE(s.texto.find("tevra-convert: skipped frame unreadable (ended early, held a non-number or not a "
                           "regular file): 5\n"),
              std::string::npos)
        << s.texto;
    EXPECT_NE(
        s.texto.find("8 of 10 frames converted to .vtu files listed in superficie.pvd in " + (pasta / "vtk").string()),
        std::string::npos)
        << s.texto;
    const MalhaLida pvd = lerComVtk("pvd", pasta / "vtk" / "superficie.pvd");
    ASSERT_TRUE(pvd.ok) << pvd.texto;
    ASSERT_EQ(pvd.dataSets.size(), 8u);
    EXPECT_EQ(pvd.dataSets[2].arquivo, "superficie0004.vtu");
    EXPECT_EQ(pvd.dataSets[2].tempo, 0.75);
    EXPECT_FALSE(fs::exists(pasta / "vtk" / "superficie0003.vtu"));
    EXPECT_FALSE(fs::exists(pasta / "vtk" / "superficie0005.vtu"));
}

TEST(TevraConvert, SerieInteiraSaiComZeroAoLadoDosQuadros) {
    PastaTemporaria pasta;
    gravarSerie(*pasta);
    const Saida s = converter(q(*pasta) + " --grid 4 3 --to obj");
    EXPECT_EQ(s.status, 0) << s.texto;
    EXPECT_EQ(s.texto, "10 of 10 frames converted to .obj files in " + (*pasta).string() + "\n");
    for (int n = 1; n <= 10; ++n) {
        char nome[32];
        std::snprintf(nome, sizeof nome, "superficie%04d.obj", n);
        EXPECT_EQ(lerComVtk("obj", pasta / nome).celulas, 6) << nome;
    }
    // --frames takes fewer; an earlier conversion's files of the same kind go.
    const Saida menos = converter(q(*pasta) + " --grid 4 3 --to obj --frames 4");
    EXPECT_EQ(menos.status, 0) << menos.texto;
    EXPECT_NE(menos.texto.find("10 file(s) of an earlier export removed"), std::string::npos) << menos.texto;
    EXPECT_TRUE(fs::exists(pasta / "superficie0004.obj"));
    EXPECT_FALSE(fs::exists(pasta / "superficie0005.obj"));
}

TEST(TevraConvert, EntradaRuimDaUmaLinhaENadaEscreve) {
    PastaTemporaria pasta, vazia;
    gravarSerie(*pasta);
    escreverArquivo(pasta / "arquivo", "not a folder");
    const fs::path out = pasta / "saida";
    const std::string dir = q(*pasta);
    const std::tuple<std::string, int, std::string> casos[] = {
        {q(*vazia) + " --grid 4 3 --to vtu", 2, "no frame files (pontosNNNN.txt) in "},
        {dir + " --grid 3 4 --to vtu", 2, "the grid 3 x 4 does not match the files"},
        {dir + " --grid 5 3 --to vtu", 2, "pontos0001.txt holds 12 nodes"},
        {dir + " --grid 4 3 --to stl", 2, "--to: 'stl' is neither vtu nor obj"},
        {dir + " --grid 4 --to vtu", 2, "--grid"},
        {dir + " --grid 4 3", 2, "--to"},
        {dir + " --grid 4 3 --to vtu --frames 0", 2, "--frames: 0 is not between 1 and 9999"},
        {dir + " --grid 4 3 --to vtu --frame-time -1", 2, "the time between frames must be a positive number"},
        {q(pasta / "nada") + " --grid 4 3 --to vtu", 2, "is not a folder"},
        {dir + " --grid 4 3 --to vtu --out " + q(pasta / "arquivo" / "x"), 3, "cannot write to "},
    };
    for (const auto& [argumentos, status, mensagem] : casos) {
        const Saida s =
            converter(argumentos + (argumentos.find("--out") == std::string::npos ? " --out " + q(out) : ""));
        EXPECT_EQ(s.status, status) << argumentos << ": " << s.texto;
        EXPECT_NE(s.texto.find(mensagem), std::string::npos) << s.texto;
        EXPECT_EQ(s.texto.rfind("tevra-convert: ", 0), 0u) << s.texto;
        EXPECT_EQ(std::count(s.texto.begin(), s.texto.end(), '\n'), 1) << s.texto;
        EXPECT_FALSE(fs::exists(out)) << argumentos;
    }
}

}  // namespace
