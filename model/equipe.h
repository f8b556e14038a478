#pragma once

#include <functional>
#include <string_view>

namespace tevra {

// Cores this process may use: the CPUs of its affinity mask, lowered by its cgroup's CPU quota
// rounded up. At least 1.
int threadsDisponiveis();

// CPUs a cgroup CPU quota allows: a v2 "cpu.max" text ("max 100000": no limit, 0;
// "150000 100000": 2), or a v1 quota and period in microseconds (a quota of -1: no limit).
int cpusDaCota(std::string_view cpuMax);
int cpusDaCota(long long quota, long long periodo);

// The engine's thread count: n > 0 asks for exactly n (up to one a grid row), for tests and
// benchmarks; 0 (the default) hands the choice back. Then a count set through OpenMP
// (OMP_NUM_THREADS, or omp_set_num_threads with another value than OpenMP's own default) is
// a most, and the cores this process may use are the other bound: more threads than cores
// would only take turns at every barrier.
void definirThreads(int n);

// Threads a sweep over `linhas` rows of `nos` nodes runs on. Without any request it also
// keeps at least kNosPorThread nodes a thread: a small grid gains less from a second thread
// than their meetings cost, most of all when another process holds a core.
inline constexpr long long kNosPorThread = 8192;
int threadsPara(int linhas, long long nos);

// What the threads of one job share: their number and a barrier.
class Sincronia {
public:
    virtual ~Sincronia() = default;
    virtual int n() const = 0;
    // Returns when every thread of the job has called it.
    virtual void barreira() = 0;
};

// Runs tarefa(t, s) on n threads, t = 0 .. n-1, the caller being thread 0, and returns when
// all are done. The threads live between jobs and wait without burning a core: a short spin,
// then they sleep, so that a busy machine's other processes get the core. When another job
// holds the team, this one runs on the caller alone (n() is then 1): any count gives the
// same results.
void emParalelo(int n, const std::function<void(int t, Sincronia& s)>& tarefa);

}  // namespace tevra
