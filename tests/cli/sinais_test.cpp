// SIGINT and SIGTERM at any moment of a run: the runner stops after the current step, says
// which frames are complete, exits 5, and every file it leaves is whole.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <random>
#include <regex>
#include <string>
#include <thread>

#include "support/arquivos_teste.h"
#include "support/casa_teste.h"

namespace {

namespace fs = std::filesystem;

// The example scene (a 20 x 20 sheet that stays finite), cut to 4000 steps and 201 frames.
std::string cena() {
    std::string s = lerArquivo(TEVRA_SOURCE_DIR "/assets/scenes/script.anisot1");
    s.replace(s.find("n_passos = 9976"), 15, "n_passos = 4001");
    s.replace(s.find("pula = 25"), 9, "pula = 20");
    return s;
}
constexpr int kNos = 400;
constexpr int kQuadros = 201;

// tevra-sim started with its output in `log`.
pid_t iniciar(const CasaTemporaria& casa, const fs::path& out, bool dados, const fs::path& log) {
    const std::string script = (casa / "cena.txt").string(), pasta = out.string(), home = casa.texto();
    const pid_t pid = fork();
    if (pid == 0) {
        setenv("TEVRA_HOME", home.c_str(), 1);
        const int fd = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(fd, STDOUT_FILENO);
        dup2(fd, STDERR_FILENO);
        const char* argv[] = {TEVRA_SIM, script.c_str(), "--out", pasta.c_str(), dados ? "--data" : nullptr, nullptr};
        execv(TEVRA_SIM, const_cast<char* const*>(argv));
        _exit(127);
    }
    return pid;
}

// Every file in `out` is a whole frame (or dump) of 1 .. n, and all of them are there.
void soArquivosInteiros(const fs::path& out, int n, bool dados, const std::string& caso) {
    std::size_t esperados = 0;
    for (int q = 1; q <= n; ++q) {
        char nome[32];
        std::snprintf(nome, sizeof nome, "pontos%04d.txt", q);
        const std::string t = lerArquivo(out / nome);
        ASSERT_EQ(linhas(t).size(), static_cast<std::size_t>((q == 1 ? 3 : 2) + 2 * kNos)) << caso << " " << nome;
        ASSERT_EQ(t.back(), '\n') << caso << " " << nome;
        ++esperados;
        if (!dados) continue;
        std::snprintf(nome, sizeof nome, q == 1 ? "dados%04d.txt" : "dedos%04d.txt", q);
        ASSERT_EQ(linhas(lerArquivo(out / nome)).size(), static_cast<std::size_t>(10 * kNos + 12))
            << caso << " " << nome;
        ++esperados;
    }
    std::size_t total = 0;
    for (const auto& e : fs::directory_iterator(out))
        total += e.path().filename() != "tevra-run.json" && e.path().filename() != "diagnostico.csv";
    // The diagnostics grow a whole line at a time.
    const std::string diagnostico = lerArquivo(out / "diagnostico.csv");
    EXPECT_TRUE(diagnostico.empty() || diagnostico.back() == '\n') << caso;
    EXPECT_EQ(total, esperados) << caso << ": only whole frames, no temporary file";
    // The manifest was replaced at the end, never left saying the run goes on.
    EXPECT_EQ(lerArquivo(out / "tevra-run.json").find("\"running\""), std::string::npos) << caso;
}

TEST(Sinais, InterrupcaoEmMomentosAleatoriosDeixaSoQuadrosInteiros) {
    const CasaTemporaria casa(CasaTemporaria::ParaOutroProcesso{});
    escreverArquivo(casa / "cena.txt", cena());
    std::mt19937 g(20261208);
    const std::regex linha(
        "tevra-sim: Interrupted after step ([0-9]+) of 4000; frames 1 to ([0-9]+) are "
        "complete in ([^\n]+)\\.\n");
    for (int rodada = 0; rodada < 12; ++rodada) {
        const bool dados = rodada % 3 == 2;
        const int sinal = rodada % 2 ? SIGINT : SIGTERM;
        const int esperaMs = rodada < 2 ? 0 : std::uniform_int_distribution<int>(0, 700)(g);
        const std::string caso = "round " + std::to_string(rodada) + ", signal " + std::to_string(sinal) + " after " +
                                 std::to_string(esperaMs) + " ms" + (dados ? ", with data" : "");
        const fs::path out = casa / ("saida" + std::to_string(rodada));
        const fs::path log = casa / ("log" + std::to_string(rodada));
        const pid_t pid = iniciar(casa, out, dados, log);
        ASSERT_GT(pid, 0);
        // From the first frame on the handlers are in place: the run has begun.
        const auto limite = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (!fs::exists(out / "pontos0001.txt") && std::chrono::steady_clock::now() < limite)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        std::this_thread::sleep_for(std::chrono::milliseconds(esperaMs));
        kill(pid, sinal);
        int status = 0;
        waitpid(pid, &status, 0);
        const std::string texto = lerArquivo(log);
        ASSERT_TRUE(WIFEXITED(status)) << caso << ": ended by the signal itself\n" << texto;
        if (WEXITSTATUS(status) == 0) {  // the run was over before the signal came
            soArquivosInteiros(out, kQuadros, dados, caso);
            continue;
        }
        EXPECT_EQ(WEXITSTATUS(status), 5) << caso << "\n" << texto;
        std::smatch m;
        ASSERT_TRUE(std::regex_search(texto, m, linha)) << caso << "\n" << texto;
        const int quadros = std::stoi(m[2]);
        EXPECT_EQ(fs::path(m[3].str()), out) << caso;
        EXPECT_GE(std::stoi(m[1]), (quadros - 1) * 20) << caso << ": frame k holds step (k - 1) * 20";
        soArquivosInteiros(out, quadros, dados, caso);
    }
}

}  // namespace
