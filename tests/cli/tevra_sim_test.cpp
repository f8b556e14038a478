// The headless runner, driven as a user drives it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <tuple>

#include "base/nomes_arquivos.h"
#include "cli/tevra_sim_teste.h"
#include "support/casa_teste.h"
#include "support/vtk_teste.h"

namespace {

namespace fs = std::filesystem;

using Saida = SaidaPrograma;

Saida rodar(const std::string& argumentos, const fs::path& home) { return rodarSim(argumentos, home); }

const char* kCena = kCenaCurta;

std::string cenaCom(const std::string& de, const std::string& para) { return trocado(kCena, de, para); }

TEST(TevraSim, RodaAEscreveQuadrosEResume) {
    const CasaTemporaria casa(CasaTemporaria::ParaOutroProcesso{});
    escreverArquivo(casa / "cena.txt", kCena);
    const Saida s = rodar("'" + (casa / "cena.txt").string() + "'", *casa);
    EXPECT_EQ(s.status, 0) << s.texto;
    EXPECT_NE(s.texto.find("40 steps, 5 frames written"), std::string::npos) << s.texto;
    EXPECT_NE(s.texto.find("node-steps per second"), std::string::npos);
    EXPECT_TRUE(fs::exists(casa / "tmp" / "pontos0005.txt")) << "default folder: the home's tmp";
    EXPECT_FALSE(fs::exists(casa / "tmp" / "dados0001.txt"));
}

TEST(TevraSim, ThreadsNaoMudamOsArquivos) {
    const CasaTemporaria casa(CasaTemporaria::ParaOutroProcesso{});
    escreverArquivo(casa / "cena.txt", kCena);
    for (const char* solver : {"Semi-explicit Euler", "Runge-Kutta", "Verlet"}) {
        const std::string base = "'" + (casa / "cena.txt").string() + "' --data --solver '" + solver + "'";
        ASSERT_EQ(rodar(base + " --threads 1 --out '" + (casa / "um").string() + "'", *casa).status, 0);
        ASSERT_EQ(rodar(base + " --threads 2 --out '" + (casa / "dois").string() + "'", *casa).status, 0);
        for (const char* nome : {"pontos0001.txt", "pontos0005.txt", "dados0001.txt", "dedos0005.txt"})
            EXPECT_EQ(lerArquivo(casa / "um" / nome), lerArquivo(casa / "dois" / nome)) << solver << " " << nome;
    }
}

TEST(TevraSim, EntradaRuimDaUmaLinhaENadaEscreve) {
    const CasaTemporaria casa(CasaTemporaria::ParaOutroProcesso{});
    const fs::path out = casa / "saida";
    const std::pair<std::string, std::string> casos[] = {
        {cenaCom("massa = 1", "massa = um"), "'um' is not a valid floating point value"},
        {cenaCom("grid = 7 6", "grid = 1 6"), "at least 2 nodes"},
        {cenaCom("pula = 10", "pula = 0"), "at least 1"},
        {cenaCom("obj_deformavel = cilindro 1 2", "obj_deformavel = cilindro 0 2"), "no area"},
        {cenaCom("n_restricoes = 1", "n_restricoes = x"), "'x' is not a valid integer value"},
        {std::string(kCena).substr(0, 200), "ends"},
    };
    for (const auto& [texto, mensagem] : casos) {
        escreverArquivo(casa / "cena.txt", texto);
        const Saida s = rodar("'" + (casa / "cena.txt").string() + "' --out '" + out.string() + "'", *casa);
        EXPECT_NE(s.status, 0) << mensagem;
        EXPECT_NE(s.texto.find(mensagem), std::string::npos) << s.texto;
        EXPECT_NE(s.texto.find("cena.txt"), std::string::npos) << "names the file: " << s.texto;
        EXPECT_EQ(std::count(s.texto.begin(), s.texto.end(), '\n'), 1) << s.texto;
        EXPECT_FALSE(fs::exists(out));
    }
    escreverArquivo(casa / "cena.txt", kCena);
    const Saida solver =
        rodar("'" + (casa / "cena.txt").string() + "' --solver Euler --out '" + out.string() + "'", *casa);
    EXPECT_NE(solver.status, 0);
    EXPECT_NE(solver.texto.find("'Euler' is not a solver"), std::string::npos) << solver.texto;
    EXPECT_NE(rodar("'" + (casa / "nada.txt").string() + "'", *casa).status, 0);
    EXPECT_FALSE(fs::exists(out));
}

TEST(TevraSim, PastaQueNaoSeEscreveEhAchadaAntesDoPrimeiroPasso) {
    const CasaTemporaria casa(CasaTemporaria::ParaOutroProcesso{});
    escreverArquivo(casa / "cena.txt", kCena);
    escreverArquivo(casa / "ocupado", "um arquivo no lugar da pasta");
    for (const fs::path& out : {casa / "ocupado", casa / "ocupado" / "sub"}) {
        const Saida s = rodar("'" + (casa / "cena.txt").string() + "' --out '" + out.string() + "'", *casa);
        EXPECT_EQ(s.status, 3) << s.texto;
        EXPECT_NE(s.texto.find("0 steps"), std::string::npos) << "nothing computed: " << s.texto;
        const std::string linha =
            "tevra-sim: Cannot write " + out.string() + ": " +
            (out == casa / "ocupado" ? "Not a directory" : (casa / "ocupado").string() + " is not a folder") +
            "; nothing was run.\n";
        EXPECT_NE(s.texto.find(linha), std::string::npos) << s.texto;
    }
}

TEST(TevraSim, OpcaoRecusadaSaiComDoisEAjudaListaOsCodigos) {
    const CasaTemporaria casa(CasaTemporaria::ParaOutroProcesso{});
    escreverArquivo(casa / "cena.txt", kCena);
    const std::string cena = "'" + (casa / "cena.txt").string() + "' --out '" + (casa / "saida").string() + "'";
    for (const char* opcao : {"--threads 0", "--threads x", "--nada", "--threads 100000"}) {
        const Saida s = rodar(cena + " " + opcao, *casa);
        EXPECT_EQ(s.status, 2) << opcao << ": " << s.texto;
    }
    const Saida muitas = rodar(cena + " --threads 100000", *casa);
    EXPECT_NE(muitas.texto.find("tevra-sim: --threads: At most "), std::string::npos) << muitas.texto;
    EXPECT_NE(muitas.texto.find("100000 were asked for"), std::string::npos) << muitas.texto;
    EXPECT_FALSE(fs::exists(casa / "saida"));

    const Saida ajuda = rodar("--help", *casa);
    EXPECT_EQ(ajuda.status, 0);
    for (const char* linha :
         {"Exit status:", "  0  done", "  2  ", "  3  ", "  4  the run diverged", "  5  interrupted"})
        EXPECT_NE(ajuda.texto.find(linha), std::string::npos) << linha << "\n" << ajuda.texto;
}

TEST(TevraSim, DivergenciaSaiComQuatroEDizOnde) {
    const CasaTemporaria casa(CasaTemporaria::ParaOutroProcesso{});
    std::string exemplo = lerArquivo(TEVRA_SOURCE_DIR "/assets/scenes/script.anisot1");
    exemplo.replace(exemplo.find("delta_t = 0.0002"), 16, "delta_t = 0.01");
    escreverArquivo(casa / "cena.txt", exemplo);
    const Saida s = rodar("'" + (casa / "cena.txt").string() + "' --out '" + (casa / "saida").string() + "'", *casa);
    EXPECT_EQ(s.status, 4) << s.texto;
    EXPECT_NE(s.texto.find("tevra-sim: The run diverged at step 9 (simulated time 0.09): node (0, 1) has a "
                           "non-finite position x; frames 1 to 1 are kept."),
              std::string::npos)
        << s.texto;
    EXPECT_TRUE(fs::exists(casa / "saida" / "pontos0001.txt"));
    EXPECT_FALSE(fs::exists(casa / "saida" / "pontos0002.txt"));
}

TEST(TevraSim, SerieAnteriorRemovidaNumaLinha) {
    const CasaTemporaria casa(CasaTemporaria::ParaOutroProcesso{});
    escreverArquivo(casa / "cena.txt", kCena);
    const fs::path out = casa / "saida";
    const std::string cmd = "'" + (casa / "cena.txt").string() + "' --out '" + out.string() + "'";
    ASSERT_EQ(rodar(cmd + " --data", *casa).status, 0);
    const Saida s = rodar(cmd, *casa);
    EXPECT_EQ(s.status, 0) << s.texto;
    EXPECT_NE(s.texto.find("Removed 10 files of an earlier run (pontos, dados, dedos) from " + out.string() + "."),
              std::string::npos)
        << s.texto;
    EXPECT_FALSE(fs::exists(out / "dados0001.txt"));
}

TEST(TevraSim, BytesDeControleDoScriptNaoChegamAoTerminal) {
    const CasaTemporaria casa(CasaTemporaria::ParaOutroProcesso{});
    std::string cena = cenaCom("massa = 1", "massa = 1\x1b[2J");
    cena += std::string("\0", 1);
    escreverArquivo(casa / "cena.txt", cena);
    const Saida s = rodar("'" + (casa / "cena.txt").string() + "'", *casa);
    EXPECT_EQ(s.status, 2);
    EXPECT_NE(s.texto.find("'1\\x1B[2J' is not a valid floating point value"), std::string::npos) << s.texto;
    EXPECT_EQ(s.texto.find('\x1b'), std::string::npos);
    EXPECT_EQ(std::count(s.texto.begin(), s.texto.end(), '\n'), 1) << s.texto;
}

TEST(TevraSim, ExportaCadaQuadroEmVtuOuObj) {
    const CasaTemporaria casa(CasaTemporaria::ParaOutroProcesso{});
    escreverArquivo(casa / "cena.txt", kCenaCurta);
    const std::string cena = aspas(casa / "cena.txt");
    const SaidaPrograma vtu = rodarSim(cena + " --export vtu --out " + aspas(casa / "vtu"), *casa);
    ASSERT_EQ(vtu.status, 0) << vtu.texto;
    const MalhaLida pvd = lerComVtk("pvd", casa / "vtu" / "superficie.pvd");
    ASSERT_TRUE(pvd.ok) << pvd.texto;
    ASSERT_EQ(pvd.dataSets.size(), 5u);
    // pula 10, delta_t 0.001: frame 5 is the state after step 40.
    EXPECT_EQ(pvd.dataSets[4].tempo, 40 * 0.001);
    EXPECT_EQ(pvd.dataSets[4].pontos, 42);
    // A tube of 7 around: its closing strip makes 7 x 5 quads.
    EXPECT_EQ(lerComVtk("vtu", casa / "vtu" / "superficie0003.vtu").celulas, 35);

    // Again into the same folder: the earlier export's five frames and its .pvd go first.
    const SaidaPrograma denovo = rodarSim(cena + " --export vtu --out " + aspas(casa / "vtu"), *casa);
    ASSERT_EQ(denovo.status, 0) << denovo.texto;
    EXPECT_NE(denovo.texto.find("6 file(s) of an earlier export removed from " + (casa / "vtu").string()),
              std::string::npos)
        << denovo.texto;

    const SaidaPrograma obj = rodarSim(cena + " --export obj --out " + aspas(casa / "obj"), *casa);
    ASSERT_EQ(obj.status, 0) << obj.texto;
    EXPECT_EQ(lerComVtk("obj", casa / "obj" / "superficie0005.obj").celulas, 35);
    EXPECT_FALSE(fs::exists(casa / "obj" / "superficie.pvd"));

    const SaidaPrograma ruim = rodarSim(cena + " --export stl --out " + aspas(casa / "stl"), *casa);
    EXPECT_EQ(ruim.status, 2);
    EXPECT_NE(ruim.texto.find("--export"), std::string::npos) << ruim.texto;
    EXPECT_FALSE(fs::exists(casa / "stl"));
}

}  // namespace

namespace {

TEST(TevraSimRender, CadaQuadroGanhaSuaImagemIgualADoTevraRender) {
    const CasaTemporaria casa(CasaTemporaria::ParaOutroProcesso{});
    escreverArquivo(casa / "cena.txt", kCena);
    const fs::path imagens = casa / "imagens";
    const Saida s = rodar("'" + (casa / "cena.txt").string() + "' --render '" + imagens.string() +
                              "' --size 80x60 --lighting --rotate 0,90,0",
                          *casa);
    ASSERT_EQ(s.status, 0) << s.texto;
    EXPECT_NE(s.texto.find("5 pictures written to"), std::string::npos) << s.texto;
    // Drawn afterwards from the same frame files, the pictures are the same bytes.
    const std::string cmd = "env -u DISPLAY -u WAYLAND_DISPLAY '" TEVRA_RENDER "' '" + (casa / "tmp").string() +
                            "' --out '" + (casa / "depois").string() +
                            "' --size 80x60 --lighting --rotate 0,90,0 > /dev/null 2>&1";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
    for (int n = 1; n <= 5; ++n) {
        const std::string a = lerArquivo(tevra::caminhoImagem(imagens, n));
        EXPECT_FALSE(a.empty()) << n;
        EXPECT_EQ(a, lerArquivo(tevra::caminhoImagem(casa / "depois", n))) << n;
    }
}

TEST(TevraSimRender, OpcoesDeImagemRuinsParamAntesDaExecucao) {
    const CasaTemporaria casa(CasaTemporaria::ParaOutroProcesso{});
    escreverArquivo(casa / "cena.txt", kCena);
    escreverArquivo(casa / "arquivo", "x");
    const std::string script = "'" + (casa / "cena.txt").string() + "' --out '" + (casa / "f").string() + "' ";
    const std::tuple<std::string, int, std::string> casos[] = {
        {"--texture", 2, "need --render DIR"},
        {"--render '" + (casa / "i").string() + "' --size 0x0", 2, "--size 0x0"},
        {"--render '" + (casa / "arquivo" / "i").string() + "'", 3, "cannot write to"},
    };
    for (const auto& [args, status, mensagem] : casos) {
        const Saida s = rodar(script + args, *casa);
        EXPECT_EQ(s.status, status) << args << ": " << s.texto;
        EXPECT_NE(s.texto.find(mensagem), std::string::npos) << s.texto;
        EXPECT_EQ(std::count(s.texto.begin(), s.texto.end(), '\n'), 1) << s.texto;
        EXPECT_FALSE(fs::exists(casa / "f")) << "the run did not start";
    }
    // --check looks at the pictures' folder too, and makes nothing.
    EXPECT_EQ(rodar(script + "--check --render '" + (casa / "i").string() + "'", *casa).status, 0);
    EXPECT_FALSE(fs::exists(casa / "i"));
    const Saida ruim = rodar(script + "--check --render '" + (casa / "arquivo" / "i").string() + "'", *casa);
    EXPECT_EQ(ruim.status, 2) << ruim.texto;
    EXPECT_NE(ruim.texto.find("cannot write to"), std::string::npos) << ruim.texto;
}

}  // namespace
