// Atomic writes: a file is whole under its name, or the name keeps what it held before.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <csignal>
#include <filesystem>
#include <string>

#include "base/gravacao.h"
#include "support/arquivos_teste.h"

using namespace tevra;

namespace {

namespace fs = std::filesystem;

TEST(Gravacao, EscritaCortadaNoMeioNaoDeixaNada) {
    PastaTemporaria t;
    escreverArquivo(t / "pontos0001.txt", "a frame written before");
    // A child process whose files may not grow past 1000 bytes: the write stops half way,
    // as on a full disk.
    const pid_t filho = fork();
    ASSERT_GE(filho, 0);
    if (filho == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limite{1000, 1000};
        setrlimit(RLIMIT_FSIZE, &limite);
        const Escrita f1 = gravarArquivoAtomico(t / "pontos0001.txt", std::string(5000, 'x'));
        const Escrita f2 = gravarArquivoAtomico(t / "pontos0002.txt", std::string(5000, 'y'));
        const bool ok = f1 && f2 && f2->arquivo == t / "pontos0002.txt" && f2->motivo == "File too large";
        _exit(ok ? 0 : 1);
    }
    int status = 0;
    waitpid(filho, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "both writes must report the failure and its reason";
    EXPECT_EQ(lerArquivo(t / "pontos0001.txt"), "a frame written before") << "the old file stays whole";
    EXPECT_FALSE(fs::exists(t / "pontos0002.txt"));
    EXPECT_FALSE(fs::exists(nomeTemporario(t / "pontos0001.txt")));
    EXPECT_FALSE(fs::exists(nomeTemporario(t / "pontos0002.txt")));
}

}  // namespace
