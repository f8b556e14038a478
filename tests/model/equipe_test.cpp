// The engine's thread team, its thread counts and its choice of kernels.
#include <gtest/gtest.h>
#include <malloc.h>
#include <omp.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "model/caminho.h"
#include "model/equipe.h"
#include "model/obj_deformavel.h"
#include "model/solver.h"

using namespace tevra;

namespace {

TEST(Equipe, CadaThreadRodaUmaVezEABarreiraSeparaAsFases) {
    for (int n : {2, 3, 5}) {
        std::vector<int> fase1(n, 0), vistos(n, 0);
        std::atomic<int> chamadas{0};
        emParalelo(n, [&](int t, Sincronia& s) {
            ASSERT_EQ(s.n(), n);
            chamadas++;
            fase1[t] = t + 1;
            s.barreira();
            for (int u = 0; u < n; ++u) vistos[t] += fase1[u];  // every first phase is done
            s.barreira();
        });
        EXPECT_EQ(chamadas.load(), n);
        for (int t = 0; t < n; ++t) EXPECT_EQ(vistos[t], n * (n + 1) / 2) << n << " threads, thread " << t;
    }
}

TEST(Equipe, OutroTrabalhoAoMesmoTempoRodaSozinho) {
    std::atomic<bool> dentro{false}, liberar{false};
    std::thread primeiro([&] {
        emParalelo(2, [&](int t, Sincronia&) {
            if (t != 0) return;
            dentro = true;
            while (!liberar) std::this_thread::yield();
        });
    });
    while (!dentro) std::this_thread::yield();
    int vistos = 0, n = 0;
    emParalelo(2, [&](int, Sincronia& s) {
        ++vistos;
        n = s.n();
        s.barreira();  // alone: returns at once
    });
    liberar = true;
    primeiro.join();
    EXPECT_EQ(vistos, 1);
    EXPECT_EQ(n, 1);
}

TEST(Equipe, CotaDoCgroupEmCpusInteiras) {
    EXPECT_EQ(cpusDaCota("max 100000\n"), 0);
    EXPECT_EQ(cpusDaCota("150000 100000\n"), 2);
    EXPECT_EQ(cpusDaCota("100000 100000"), 1);
    EXPECT_EQ(cpusDaCota("50000 100000"), 1);
    EXPECT_EQ(cpusDaCota(""), 0);
    EXPECT_EQ(cpusDaCota("abc"), 0);
    EXPECT_EQ(cpusDaCota(-1, 100000), 0);
    EXPECT_EQ(cpusDaCota(250000, 100000), 3);
    EXPECT_EQ(cpusDaCota(100000, 0), 0);
    EXPECT_GE(threadsDisponiveis(), 1);
    EXPECT_LE(threadsDisponiveis(), static_cast<int>(std::max(1u, std::thread::hardware_concurrency())));
}

TEST(Equipe, QuantasThreadsUmaVarreduraUsa) {
    definirThreads(3);
    EXPECT_EQ(threadsPara(100, 100), 3) << "asked for: no minimum of nodes";
    EXPECT_EQ(threadsPara(2, 1000000), 2) << "never more than one a row";
    definirThreads(0);
    // OMP_NUM_THREADS is a request (ctest sets it): the automatic count is seen without it.
    const char* omp = std::getenv("OMP_NUM_THREADS");
    const std::string ompAntes = omp ? omp : "";
    unsetenv("OMP_NUM_THREADS");
    EXPECT_EQ(threadsPara(100, 2 * kNosPorThread - 1), 1) << "a small grid stays on one thread";
    EXPECT_EQ(threadsPara(100000, 1LL << 40), threadsDisponiveis());
    // omp_set_num_threads with another count than OpenMP's own default is a request too, up
    // to the cores there are.
    const int antes = omp_get_max_threads();
    omp_set_num_threads(antes + 1);
    EXPECT_EQ(threadsPara(1000, 100), std::min(antes + 1, threadsDisponiveis()));
    omp_set_num_threads(1);
    EXPECT_EQ(threadsPara(1000, 1LL << 40), 1);
    omp_set_num_threads(100000);
    EXPECT_EQ(threadsPara(1000, 100), threadsDisponiveis()) << "no more threads than cores";
    omp_set_num_threads(antes);
    if (omp) setenv("OMP_NUM_THREADS", ompAntes.c_str(), 1);
}

TEST(Caminho, SoOQueOProcessadorRodaPodeSerForcado) {
    EXPECT_TRUE(forcarCaminho(Caminho::Escalar));
    EXPECT_EQ(caminhoAtivo(), Caminho::Escalar);
    EXPECT_TRUE(forcarCaminho(Caminho::SSE2));
    EXPECT_EQ(caminhoAtivo(), Caminho::SSE2);
    EXPECT_EQ(forcarCaminho(Caminho::AVX2), processadorTemAvx2());
    EXPECT_TRUE(forcarCaminho(std::nullopt));
    EXPECT_NE(caminhoAtivo(), Caminho::Escalar) << "automatic: the widest kernels";
}

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAlocadorProprio = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kAlocadorProprio = true;
#else
constexpr bool kAlocadorProprio = false;
#endif
#else
constexpr bool kAlocadorProprio = false;
#endif

std::size_t alocado() {
    const auto m = mallinfo2();
    return m.uordblks + m.hblkhd;  // large blocks are mapped apart
}

// What the object says it holds is what it allocates, and a plain Euler run stays within
// 600 bytes a node.
TEST(Memoria, BytesPorNoSaoOsQueOObjetoAloca) {
    EXPECT_LE(ObjDeformavel::bytesPorNo(SolverEulerSemiExplicito), 600u);
    EXPECT_GT(ObjDeformavel::bytesNecessarios(100000, 100000, SolverVerlet), 2000000000000ULL);
    // AddressSanitizer's allocator does not report through mallinfo2.
    if (kAlocadorProprio) GTEST_SKIP() << "allocations are not counted under AddressSanitizer";
    for (int s : {SolverEulerSemiExplicito, SolverRungeKutta}) {
        const int gi = 300, gj = 200;
        const auto antes = alocado();
        auto o = std::make_unique<ObjDeformavel>(gi, gj, s);
        const double porNo = static_cast<double>(alocado() - antes) / (gi * gj);
        EXPECT_NEAR(porNo, static_cast<double>(ObjDeformavel::bytesPorNo(s)), 4.0) << nomesSolver[s - 3];
        const auto semDados = alocado();
        o->prepararDados();
        const double dados = static_cast<double>(alocado() - semDados) / (gi * gj);
        EXPECT_NEAR(porNo + dados, static_cast<double>(ObjDeformavel::bytesPorNo(s, true)), 4.0);
    }
}

}  // namespace
