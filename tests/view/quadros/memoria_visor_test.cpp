// The memory the viewer may take: what the kernel and the cgroups say is left, read from
// files laid out as /proc and /sys/fs/cgroup lay them out; and how a showing fits a budget.
#include <gtest/gtest.h>

#include "support/arquivos_teste.h"
#include "view/quadros/memoria_visor.h"
#include "view/quadros/quadro_compacto.h"

using namespace tevra;

namespace {

constexpr unsigned long long kMiB = 1ULL << 20;

class MemoriaVisor : public ::testing::Test {
protected:
    void SetUp() override { std::filesystem::create_directories(proc() / "self"); }
    std::filesystem::path proc() const { return *raiz_ / "proc"; }
    std::filesystem::path cgroup() const { return *raiz_ / "cgroup"; }
    void arquivo(const std::filesystem::path& p, const std::string& texto) {
        std::filesystem::create_directories(p.parent_path());
        escreverArquivo(p, texto);
    }
    void disponivel(unsigned long long kib) {
        arquivo(proc() / "meminfo", "MemTotal:       24000000 kB\nMemFree:  100 kB\nMemAvailable:   " +
                                        std::to_string(kib) + " kB\nBuffers: 5 kB\n");
    }
    unsigned long long medir() const { return memoriaDisponivel(proc(), cgroup()); }

private:
    PastaTemporaria raiz_;
};

TEST_F(MemoriaVisor, SemGruposEhOQueONucleoDizQueSobra) {
    EXPECT_EQ(medir(), 0u) << "nothing readable";
    disponivel(8000000);
    EXPECT_EQ(medir(), 8000000ULL * 1024);
    arquivo(proc() / "self" / "cgroup", "0::/\n");
    EXPECT_EQ(medir(), 8000000ULL * 1024) << "a group without memory.max";
}

TEST_F(MemoriaVisor, GrupoV2OuUmAcimaDeleLimitaMenosQueONucleo) {
    disponivel(8000000);
    arquivo(proc() / "self" / "cgroup", "0::/a/b\n");
    arquivo(cgroup() / "cgroup.controllers", "cpu memory\n");
    arquivo(cgroup() / "a" / "b" / "memory.max", std::to_string(2048 * kMiB) + "\n");
    arquivo(cgroup() / "a" / "b" / "memory.current", std::to_string(512 * kMiB) + "\n");
    arquivo(cgroup() / "a" / "memory.max", "max\n");
    EXPECT_EQ(medir(), 1536 * kMiB);
    // The parent's limit counts when it leaves less.
    arquivo(cgroup() / "a" / "memory.max", std::to_string(1024 * kMiB) + "\n");
    arquivo(cgroup() / "a" / "memory.current", std::to_string(900 * kMiB) + "\n");
    EXPECT_EQ(medir(), 124 * kMiB);
    // A group already over its limit leaves nothing.
    arquivo(cgroup() / "a" / "memory.current", std::to_string(2000 * kMiB) + "\n");
    EXPECT_EQ(medir(), 0u);
}

TEST_F(MemoriaVisor, GrupoV1DaMemoriaEGrupoQueNaoAparecemNaMontagem) {
    disponivel(4000000);
    arquivo(proc() / "self" / "cgroup", "5:devices:/x\n4:memory:/proc_api/42\n0::/\n");
    // v1's "no limit" is a huge page-rounded number.
    arquivo(cgroup() / "memory" / "proc_api" / "42" / "memory.limit_in_bytes", "9223372036854771712\n");
    arquivo(cgroup() / "memory" / "proc_api" / "42" / "memory.usage_in_bytes", "1000\n");
    EXPECT_EQ(medir(), 4000000ULL * 1024);
    arquivo(cgroup() / "memory" / "proc_api" / "42" / "memory.limit_in_bytes", std::to_string(1024 * kMiB));
    arquivo(cgroup() / "memory" / "proc_api" / "42" / "memory.usage_in_bytes", std::to_string(256 * kMiB));
    EXPECT_EQ(medir(), 768 * kMiB);

    // Inside a container the group's own path is not under the mount: its root is the group.
    arquivo(proc() / "self" / "cgroup", "0::/nao/existe\n");
    arquivo(cgroup() / "cgroup.controllers", "memory\n");
    arquivo(cgroup() / "memory.max", std::to_string(300 * kMiB));
    arquivo(cgroup() / "memory.current", std::to_string(100 * kMiB));
    EXPECT_EQ(medir(), 200 * kMiB);
}

TEST(PlanoCarga, CabeNoOrcamentoComTudoQueAJanelaGuarda) {
    const long long nos = 100 * 100;
    const std::size_t fixos = 400;
    const std::size_t quadro = static_cast<std::size_t>(nos) * kBytesPorNoCompacto;
    const std::size_t emVoo = static_cast<std::size_t>(nos) * (48 + kBytesPorNoCompacto);
    for (std::size_t orcamento : {std::size_t{1} << 34, std::size_t{64} << 20, std::size_t{12} << 20}) {
        const PlanoCarga p = planejarCarga(orcamento, nos, fixos, 2);
        ASSERT_TRUE(p.cabe) << orcamento;
        EXPECT_GE(p.orcamentoQuadros, quadro);
        // Everything the window holds for the series adds up to the budget.
        const std::size_t total = static_cast<std::size_t>(nos) * fixos + quadro + 3 * emVoo +
                                  static_cast<std::size_t>(p.trabalhadores + p.adiantados) * emVoo + p.orcamentoQuadros;
        EXPECT_EQ(total, orcamento);
    }
    EXPECT_EQ(planejarCarga(std::size_t{1} << 34, nos, fixos, 2).adiantados, 4);
    EXPECT_EQ(planejarCarga(std::size_t{1} << 34, nos, fixos, 3).trabalhadores, 3);
    // Tight: fewer frames in flight, down to one reader with one frame ahead.
    const PlanoCarga justo =
        planejarCarga(static_cast<std::size_t>(nos) * fixos + 5 * emVoo + 2 * quadro, nos, fixos, 2);
    ASSERT_TRUE(justo.cabe);
    EXPECT_EQ(justo.trabalhadores, 1);
    EXPECT_EQ(justo.adiantados, 1);
    // No room for one frame: it does not fit, whatever the grid.
    EXPECT_FALSE(planejarCarga(std::size_t{4} << 20, nos, fixos, 2).cabe);
    EXPECT_FALSE(planejarCarga(std::size_t{1} << 30, 2000LL * 2000, fixos, 2).cabe);
    EXPECT_TRUE(planejarCarga(std::size_t{1} << 30, 0, fixos, 2).cabe);
}

}  // namespace
