// What a run tells whoever started it: its exit status, its manifest and its progress.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <nlohmann/json.hpp>
#include <thread>

#include "cli/tevra_sim_teste.h"
#include "support/casa_teste.h"

namespace {

namespace fs = std::filesystem;
using nlohmann::json;

json manifesto(const fs::path& pasta) { return json::parse(lerArquivo(pasta / "tevra-run.json")); }

TEST(TevraSimCodigos, ConcluidaRecusadaEArquivoQueNaoSeEscreve) {
    const CasaTemporaria casa(CasaTemporaria::ParaOutroProcesso{});
    escreverArquivo(casa / "cena.txt", kCenaCurta);
    const std::string cena = aspas(casa / "cena.txt") + " --threads 1 ";

    EXPECT_EQ(rodarSim(cena + "--out " + aspas(casa / "ok"), *casa).status, 0);
    EXPECT_EQ(manifesto(casa / "ok")["exit_code"], 0);
    EXPECT_EQ(rodarSim(cena + "--set etta=1", *casa).status, 2);
    EXPECT_EQ(rodarSim(cena + "--bogus", *casa).status, 2) << "an option it does not know is refused input too";
    EXPECT_EQ(rodarSim("", *casa).status, 2);

    // No file can be made in this folder, not even by root.
    const SaidaPrograma proc = rodarSim(cena + "--out /proc/tevra-saida", *casa);
    EXPECT_EQ(proc.status, 3) << proc.texto;
    EXPECT_NE(proc.texto.find("tevra-sim: Cannot write /proc/tevra-saida: "), std::string::npos) << proc.texto;
    EXPECT_NE(proc.texto.find("; nothing was run.\n"), std::string::npos) << proc.texto;
    EXPECT_EQ(proc.texto.find("manifest"), std::string::npos) << "one line for one cause: " << proc.texto;

    // A folder that takes files but not frame 3: the manifest says which file failed.
    fs::create_directories(casa / "bloqueada" / "pontos0003.txt");
    escreverArquivo(casa / "bloqueada" / "pontos0003.txt" / "dentro", "x");
    const SaidaPrograma bloqueada = rodarSim(cena + "--out " + aspas(casa / "bloqueada"), *casa);
    EXPECT_EQ(bloqueada.status, 3) << bloqueada.texto;
    const json m = manifesto(casa / "bloqueada");
    EXPECT_EQ(m["status"], "write-failure");
    EXPECT_EQ(m["exit_code"], 3);
    ASSERT_EQ(m["failed_files"].size(), 1u);
    EXPECT_EQ(m["failed_files"][0]["file"], (casa / "bloqueada" / "pontos0003.txt").string());
}

TEST(TevraSimCodigos, RodadaQueDivergeSai4) {
    const CasaTemporaria casa(CasaTemporaria::ParaOutroProcesso{});
    const SaidaPrograma s =
        rodarSim(std::string("'" TEVRA_SOURCE_DIR "/examples/sweep/scene.anisot1'") +
                     " --set delta_t=1e-2 --set n_passos=201 --set pula=10 --threads 1 --out " + aspas(casa / "d"),
                 *casa);
    EXPECT_EQ(s.status, 4) << s.texto;
    const json m = manifesto(casa / "d");
    EXPECT_EQ(m["status"], "diverged");
    EXPECT_EQ(m["exit_code"], 4);
    EXPECT_GT(m["divergence"]["step"].get<int>(), 0);
    EXPECT_EQ(m["divergence"]["node"].size(), 2u);
    EXPECT_LT(m["steps"].get<int>(), 200);
}

TEST(TevraSimCodigos, SigtermNoMeioDaRodadaSai5ComArquivosCompletos) {
    const CasaTemporaria casa(CasaTemporaria::ParaOutroProcesso{});
    const fs::path out = casa / "longa";
    const std::string home = "TEVRA_HOME=" + casa.texto();
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        const int nulo = open("/dev/null", O_WRONLY);
        dup2(nulo, STDOUT_FILENO);
        dup2(nulo, STDERR_FILENO);
        putenv(const_cast<char*>(home.c_str()));
        execl(TEVRA_SIM, "tevra-sim", TEVRA_SOURCE_DIR "/assets/scenes/script.anisot1", "--set", "n_passos=2000001",
              "--set", "pula=1000", "--threads", "1", "--out", out.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    // Let it get going: a few frames on disk.
    const auto limite = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    int st = 0;
    bool terminou = false;
    while (!fs::exists(out / "pontos0003.txt") && std::chrono::steady_clock::now() < limite) {
        if (waitpid(pid, &st, WNOHANG) == pid) {
            terminou = true;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ASSERT_FALSE(terminou) << "it ended before the signal, with status " << st;
    kill(pid, SIGTERM);
    waitpid(pid, &st, 0);
    ASSERT_TRUE(WIFEXITED(st));
    EXPECT_EQ(WEXITSTATUS(st), 5);
    const json m = manifesto(out);
    EXPECT_EQ(m["status"], "interrupted");
    EXPECT_EQ(m["exit_code"], 5);
    EXPECT_LT(m["steps"].get<int>(), 2000000);
    // Every frame it kept is whole: as many lines as frame 2 (frame 1 has a form of its own).
    const std::size_t n = linhas(lerArquivo(out / "pontos0002.txt")).size();
    for (int q = 3; q <= m["frames"].get<int>(); ++q) {
        char nome[32];
        std::snprintf(nome, sizeof nome, "pontos%04d.txt", q);
        EXPECT_EQ(linhas(lerArquivo(out / nome)).size(), n) << nome;
    }
}

TEST(TevraSimManifesto, ThreadsDaOpcaoDoAmbienteOuDoSlurm) {
    const CasaTemporaria casa(CasaTemporaria::ParaOutroProcesso{});
    escreverArquivo(casa / "cena.txt", kCenaCurta);
    const std::string sim = "'" TEVRA_SIM "' " + aspas(casa / "cena.txt") + " --quiet --set eta.01=2 --out ";
    struct Caso {
        std::string ambiente, opcao;
        int threads;
        const char* fonte;
    };
    const Caso casos[] = {
        {"OMP_NUM_THREADS=2 SLURM_CPUS_PER_TASK=1", "--threads 1", 1, "--threads"},
        {"OMP_NUM_THREADS=2 SLURM_CPUS_PER_TASK=1", "", 2, "OMP_NUM_THREADS"},
        {"env -u OMP_NUM_THREADS SLURM_CPUS_PER_TASK=1", "", 1, "SLURM_CPUS_PER_TASK"},
    };
    int k = 0;
    for (const Caso& c : casos) {
        const fs::path out = casa / ("r" + std::to_string(k++));
        ASSERT_EQ(rodarComando(c.ambiente + " " + sim + aspas(out) + " " + c.opcao, *casa).status, 0) << c.fonte;
        const json m = manifesto(out);
        EXPECT_EQ(m["threads"], c.threads) << c.fonte;
        EXPECT_EQ(m["threads_from"], c.fonte);
        EXPECT_EQ(m["overrides"], json({"eta.01=2"}));
        EXPECT_EQ(m["script"], (casa / "cena.txt").string());
        EXPECT_EQ(m["status"], "done");
        EXPECT_EQ(m["steps"], 40);
        EXPECT_EQ(m["frames"], 5);
        EXPECT_GT(m["node_steps_per_second"].get<double>(), 0.0);
        EXPECT_NE(m["scene"].get<std::string>().find("eta = 5 2 0.5 5"), std::string::npos);
    }
}

TEST(TevraSimProgresso, LinhasNoLogNadaComQuiet) {
    const CasaTemporaria casa(CasaTemporaria::ParaOutroProcesso{});
    escreverArquivo(casa / "cena.txt", kCenaCurta);
    const std::string cena = aspas(casa / "cena.txt") + " --threads 1 --out " + aspas(casa / "o");
    // Standard error is a pipe here, as under GNU parallel or in a batch job's log.
    const SaidaPrograma log = rodarSim(cena, *casa, "2>&1 >/dev/null");
    const std::vector<std::string> l = linhas(log.texto);
    ASSERT_EQ(l.size(), 10u) << log.texto;
    EXPECT_EQ(l[0].rfind("step 4/40 (10%), ", 0), 0u) << l[0];
    EXPECT_EQ(l[9].rfind("step 40/40 (100%), ", 0), 0u) << l[9];
    EXPECT_EQ(rodarSim(cena + " --quiet", *casa, "2>&1 >/dev/null").texto, "");
}

}  // namespace
