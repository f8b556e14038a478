// The memory a run may take: what the system has available, or less under a control group.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "base/memoria.h"
#include "support/arquivos_teste.h"

using namespace tevra;

namespace {

namespace fs = std::filesystem;

constexpr unsigned long long kGiB = 1024ull * 1024 * 1024;

// A /proc and a /sys/fs/cgroup of our own.
struct Sistema {
    PastaTemporaria raiz;
    fs::path proc() const { return raiz / "proc"; }
    fs::path cgroup() const { return raiz / "cgroup"; }

    Sistema(unsigned long long disponivelKb, const std::string& grupos) {
        fs::create_directories(proc() / "self");
        fs::create_directories(cgroup());
        escreverArquivo(proc() / "meminfo",
                        "MemTotal:       32000000 kB\nMemFree:         1000000 kB\n"
                        "MemAvailable:   " +
                            std::to_string(disponivelKb) + " kB\nBuffers:          100 kB\n");
        escreverArquivo(proc() / "self" / "cgroup", grupos);
    }
    void arquivo(const fs::path& relativo, const std::string& conteudo) const {
        fs::create_directories((cgroup() / relativo).parent_path());
        escreverArquivo(cgroup() / relativo, conteudo);
    }
    unsigned long long disponivel() const { return memoriaDisponivel(proc(), cgroup()); }
};

TEST(Memoria, SemLimiteDeGrupoEhOMemAvailable) {
    const Sistema s(20 * 1024 * 1024, "0::/user.slice/sessao\n");
    EXPECT_EQ(s.disponivel(), 20 * kGiB);
    s.arquivo("user.slice/sessao/memory.max", "max\n");
    s.arquivo("user.slice/sessao/memory.current", "123456\n");
    EXPECT_EQ(s.disponivel(), 20 * kGiB) << "\"max\" is no limit";
}

TEST(Memoria, LimiteV2MenosOUsoQuandoMenor) {
    const Sistema s(20 * 1024 * 1024, "0::/docker/abc\n");
    s.arquivo("docker/abc/memory.max", std::to_string(2 * kGiB) + "\n");
    s.arquivo("docker/abc/memory.current", std::to_string(kGiB / 2) + "\n");
    EXPECT_EQ(s.disponivel(), 2 * kGiB - kGiB / 2);
    // A parent group with less room bounds its children too.
    s.arquivo("docker/memory.max", std::to_string(kGiB) + "\n");
    s.arquivo("docker/memory.current", std::to_string(kGiB - 1000) + "\n");
    EXPECT_EQ(s.disponivel(), 1000u);
    // A group over its limit has nothing left, not a wrapped-around number.
    s.arquivo("docker/abc/memory.current", std::to_string(3 * kGiB) + "\n");
    EXPECT_EQ(s.disponivel(), 0u);
}

TEST(Memoria, LimiteV2DoProprioContainerNaRaiz) {
    // Inside a container's cgroup namespace the group is "/" and its files are at the root.
    const Sistema s(20 * 1024 * 1024, "0::/\n");
    s.arquivo("memory.max", std::to_string(2 * kGiB) + "\n");
    s.arquivo("memory.current", "0\n");
    EXPECT_EQ(s.disponivel(), 2 * kGiB);
    // Its group's path may name a folder the container does not see: the root is the group.
    escreverArquivo(s.proc() / "self" / "cgroup", "0::/nao/existe\n");
    s.arquivo("cgroup.controllers", "cpu memory\n");
    s.arquivo("memory.current", std::to_string(kGiB / 4) + "\n");
    EXPECT_EQ(s.disponivel(), 2 * kGiB - kGiB / 4);
}

TEST(Memoria, LimiteV1EmHierarquiaHibrida) {
    const Sistema s(20 * 1024 * 1024, "9:name=systemd:/\n4:cpu,memory:/job/42\n0::/\n");
    s.arquivo("memory/memory.limit_in_bytes", "9223372036854771712\n");  // v1's "no limit"
    s.arquivo("memory/memory.usage_in_bytes", "5000000000\n");
    s.arquivo("memory/job/42/memory.limit_in_bytes", std::to_string(3 * kGiB) + "\n");
    s.arquivo("memory/job/42/memory.usage_in_bytes", std::to_string(kGiB) + "\n");
    EXPECT_EQ(s.disponivel(), 2 * kGiB);
    s.arquivo("memory/job/42/memory.limit_in_bytes", std::to_string(100 * kGiB) + "\n");
    EXPECT_EQ(s.disponivel(), 20 * kGiB) << "a limit above what the system has changes nothing";
}

TEST(Memoria, SemMeminfoUsaAMemoriaFisica) {
    const Sistema s(1, "");
    fs::remove(s.proc() / "meminfo");
    EXPECT_EQ(s.disponivel(), memoriaFisica());
    EXPECT_GT(memoriaDisponivel(), 0u) << "this machine";
    EXPECT_LE(memoriaDisponivel(), memoriaFisica());
}

}  // namespace
