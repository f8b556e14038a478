// The scene a command line means: the script with its overrides, printed, checked and run.
#include <gtest/gtest.h>

#include "app/cena/escrita_script.h"
#include "app/cena/script_cena.h"
#include "app/cena/sobreposicoes.h"
#include "cli/tevra_sim_teste.h"
#include "support/casa_teste.h"

namespace {

namespace fs = std::filesystem;

// Every path under the folder: what a command left behind.
std::set<std::string> arvore(const fs::path& p) {
    std::set<std::string> s;
    for (const auto& e : fs::recursive_directory_iterator(p)) s.insert(e.path().string());
    return s;
}

struct Caso {
    std::string opcoes;
    std::string de, para;  // the same change made by hand to the script
};

TEST(TevraSimSobreposicoes, RodadaIgualAoScriptEditadoAMao) {
    const CasaTemporaria casa(CasaTemporaria::ParaOutroProcesso{});
    escreverArquivo(casa / "cena.txt", kCenaCurta);
    const std::string fim = "restricoes = { 0 0 fixo a=0 b=1000 x=0 y=0 z=0 }";
    const Caso casos[] = {
        {"--set delta_t=5e-4", "delta_t = 0.001", "delta_t = 5e-4"},
        {"--set n_passos=31.9 --set pula=3", "n_passos = 41 pula = 10", "n_passos = 31.9 pula = 3"},
        {"--set eta.01=2.5", "eta = 5 0.5 0.5 5", "eta = 5 2.5 0.5 5"},
        {"--set grid=9,5", "grid = 7 6", "grid = 9 5"},
        {"--set obj_deformavel=plano,2,1,0.5", "cilindro 1 2", "plano 2 1 0.5"},
        {"--set fluido.cte=0.3", "c = 0.1", "c = 0.3"},
        {"--set solver=Verlet", fim, fim + " solver = Verlet"},
        {"--set 'solver=Runge-Kutta' --set restricoes.0.z=1", fim,
         "restricoes = { 0 0 fixo a=0 b=1000 x=0 y=0 z=1 } solver = Runge-Kutta"},
    };
    int n = 0;
    for (const Caso& c : casos) {
        escreverArquivo(casa / "editada.txt", trocado(kCenaCurta, c.de, c.para));
        const fs::path a = casa / ("sobreposta" + std::to_string(n)), b = casa / ("editada" + std::to_string(n++));
        const std::string comum = " --data --quiet --threads 1 --out ";
        const SaidaPrograma s = rodarSim(aspas(casa / "cena.txt") + " " + c.opcoes + comum + aspas(a), *casa);
        ASSERT_EQ(s.status, 0) << c.opcoes << ": " << s.texto;
        ASSERT_EQ(rodarSim(aspas(casa / "editada.txt") + comum + aspas(b), *casa).status, 0) << c.opcoes;
        mesmosArquivos(a, b, c.opcoes);
    }
}

TEST(TevraSimSobreposicoes, RecusadaComUmaLinhaAntesDeEscreverQualquerCoisa) {
    const CasaTemporaria casa(CasaTemporaria::ParaOutroProcesso{});
    escreverArquivo(casa / "cena.txt", kCenaCurta);
    const std::pair<std::string, std::string> casos[] = {
        {"--set etta=5", "tevra-sim: --set etta=5: unknown key 'etta'"},
        {"--set massa=um", "tevra-sim: --set massa=um: 'um' is not a valid floating point value"},
        {"--set grid=32", "tevra-sim: --set grid=32: 2 values separated by commas expected"},
        {"--set eta.01=5 --set eta.2=1", "tevra-sim: --set eta.2=1: 'eta' has no component '2'"},
        {"--set pula=0", "cena.txt with its --set overrides: The recording interval must be at least 1"},
        {"--set grid=1,6", "cena.txt with its --set overrides: The grid must have at least 2 nodes"},
    };
    const std::set<std::string> antes = arvore(*casa);
    for (const auto& [opcoes, mensagem] : casos) {
        const SaidaPrograma s =
            rodarSim(aspas(casa / "cena.txt") + " " + opcoes + " --out " + aspas(casa / "saida"), *casa);
        EXPECT_EQ(s.status, 2) << opcoes;
        EXPECT_NE(s.texto.find(mensagem), std::string::npos) << s.texto;
        EXPECT_EQ(std::count(s.texto.begin(), s.texto.end(), '\n'), 1) << s.texto;
        EXPECT_EQ(arvore(*casa), antes) << opcoes << ": nothing written";
    }
}

TEST(TevraSimImprimirCena, ScriptQueCarregaNaMesmaCenaERodaIgual) {
    const CasaTemporaria casa(CasaTemporaria::ParaOutroProcesso{});
    escreverArquivo(casa / "cena.txt", kCenaCurta);
    const std::string sets = " --set eta.01=2.5 --set 'solver=Leapfrog' --set fluido=off --set n_passos=3.1e1";
    const std::set<std::string> antes = arvore(*casa);
    const SaidaPrograma impressa = rodarSim(aspas(casa / "cena.txt") + sets + " --print-scene", *casa, "2>/dev/null");
    ASSERT_EQ(impressa.status, 0);
    EXPECT_EQ(arvore(*casa), antes) << "printing writes nothing";

    // The scene the overrides make in this process, printed the same way.
    tevra::Cena esperada = tevra::carregarCena(casa / "cena.txt");
    tevra::aplicarSobreposicoes(esperada, {"eta.01=2.5", "solver=Leapfrog", "fluido=off", "n_passos=3.1e1"});
    EXPECT_EQ(impressa.texto, tevra::escreverScript(esperada));
    escreverArquivo(casa / "impressa.txt", impressa.texto);
    EXPECT_TRUE(tevra::carregarCena(casa / "impressa.txt") == esperada);
    EXPECT_EQ(rodarSim(aspas(casa / "impressa.txt") + " --print-scene", *casa, "2>/dev/null").texto, impressa.texto);

    const std::string comum = " --data --quiet --threads 1 --out ";
    ASSERT_EQ(rodarSim(aspas(casa / "cena.txt") + sets + comum + aspas(casa / "a"), *casa).status, 0);
    ASSERT_EQ(rodarSim(aspas(casa / "impressa.txt") + comum + aspas(casa / "b"), *casa).status, 0);
    mesmosArquivos(casa / "a", casa / "b", "printed scene");

    const SaidaPrograma recusada = rodarSim(aspas(casa / "cena.txt") + " --set pula=0 --print-scene", *casa);
    EXPECT_EQ(recusada.status, 2) << "only a scene that would run is printed";
}

TEST(TevraSimVerificar, ProntaOuRecusadaSemEscreverNada) {
    const CasaTemporaria casa(CasaTemporaria::ParaOutroProcesso{});
    escreverArquivo(casa / "cena.txt", kCenaCurta);
    escreverArquivo(casa / "arquivo", "x");
    const std::set<std::string> antes = arvore(*casa);

    const SaidaPrograma pronta =
        rodarSim(aspas(casa / "cena.txt") + " --check --set pula=5 --out " + aspas(casa / "nova" / "sub"), *casa);
    EXPECT_EQ(pronta.status, 0) << pronta.texto;
    EXPECT_NE(pronta.texto.find("cena.txt: ready: 7 x 6 nodes, 40 steps, 9 frames to " + (casa / "nova/sub").string()),
              std::string::npos)
        << pronta.texto;
    EXPECT_EQ(arvore(*casa), antes);

    // Without --out: the home's tmp folder, judged where it would be made and not made.
    const SaidaPrograma semCasa = rodarSim(aspas(casa / "cena.txt") + " --check", casa / "casa-nova");
    EXPECT_EQ(semCasa.status, 0) << semCasa.texto;
    EXPECT_NE(semCasa.texto.find((casa / "casa-nova" / "tmp").string()), std::string::npos) << semCasa.texto;
    EXPECT_EQ(arvore(*casa), antes);

    const std::pair<std::string, std::string> casos[] = {
        {"--set pula=0", "The recording interval must be at least 1"},
        {"--set grid=100000,100000", "memory"},
        {"--set n_passos=1e6 --set pula=10", "at most 9999"},
        {"--out " + aspas(casa / "arquivo" / "sub"), "the output folder cannot be written: "},
        {"--out " + aspas(casa / "arquivo"), "Not a directory"},
        {"--out /proc/tevra-saida", "the output folder cannot be written: /proc/tevra-saida"},
    };
    for (const auto& [opcoes, mensagem] : casos) {
        const SaidaPrograma s = rodarSim(aspas(casa / "cena.txt") + " --check " + opcoes, *casa);
        EXPECT_EQ(s.status, 2) << opcoes;
        EXPECT_NE(s.texto.find(mensagem), std::string::npos) << s.texto;
        EXPECT_EQ(std::count(s.texto.begin(), s.texto.end(), '\n'), 1) << s.texto;
    }
    const SaidaPrograma ambiente =
        rodarComando("OMP_NUM_THREADS=abc '" TEVRA_SIM "' " + aspas(casa / "cena.txt") + " --check", *casa);
    EXPECT_EQ(ambiente.status, 2);
    EXPECT_NE(ambiente.texto.find("OMP_NUM_THREADS='abc' is not a positive number of threads"), std::string::npos)
        << ambiente.texto;
    EXPECT_EQ(arvore(*casa), antes) << "a check writes nothing";
}

}  // namespace
