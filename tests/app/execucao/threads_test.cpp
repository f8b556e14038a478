// Which thread count a run takes: the option, then the environment a scheduler sets.
#include <gtest/gtest.h>

#include "app/execucao/threads.h"
#include "base/erros.h"

using namespace tevra;

namespace {

TEST(Threads, OpcaoDepoisOmpDepoisSlurmDepoisNucleos) {
    auto igual = [](ThreadsExecucao t, int n, const char* fonte) {
        EXPECT_EQ(t.numero, n) << fonte;
        EXPECT_STREQ(t.fonte, fonte);
    };
    igual(escolherThreads(3, "5", "7"), 3, "--threads");
    igual(escolherThreads(0, "5", "7"), 5, "OMP_NUM_THREADS");
    igual(escolherThreads(0, "4,2", nullptr), 4, "OMP_NUM_THREADS");  // nested levels: the outer one
    igual(escolherThreads(0, " 6 ", nullptr), 6, "OMP_NUM_THREADS");
    igual(escolherThreads(0, nullptr, "7"), 7, "SLURM_CPUS_PER_TASK");
    igual(escolherThreads(0, "", "7"), 7, "SLURM_CPUS_PER_TASK");
    igual(escolherThreads(0, nullptr, ""), threadsPadrao(), "cores");
    EXPECT_GE(threadsPadrao(), 1);
}

TEST(Threads, VariavelSemNumeroEhRecusadaPeloNome) {
    struct Caso {
        const char* omp;
        const char* slurm;
        const char* inicio;
    };
    const Caso casos[] = {
        {"abc", nullptr, "OMP_NUM_THREADS='abc'"},
        {"0", "4", "OMP_NUM_THREADS='0'"},
        {nullptr, "-2", "SLURM_CPUS_PER_TASK='-2'"},
        {nullptr, "2(x3)", "SLURM_CPUS_PER_TASK='2(x3)'"},
    };
    for (const Caso& c : casos) {
        try {
            escolherThreads(0, c.omp, c.slurm);
            ADD_FAILURE() << c.inicio << " taken";
        } catch (const ErroEntrada& e) {
            EXPECT_EQ(std::string(e.what()), std::string(c.inicio) + " is not a positive number of threads");
        }
    }
    EXPECT_EQ(escolherThreads(2, "abc", "x").numero, 2) << "the option alone reads no variable";
}

}  // namespace
