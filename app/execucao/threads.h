#pragma once

namespace tevra {

// The engine's worker threads for a run and where the number came from.
struct ThreadsExecucao {
    int numero = 1;
    const char* fonte = "";  // "--threads", "OMP_NUM_THREADS", "SLURM_CPUS_PER_TASK" or "cores"
};

// The option when given (> 0); else OMP_NUM_THREADS (its first number, as OpenMP reads a
// list); else SLURM_CPUS_PER_TASK, so that a job array task uses what it was given and no
// more; else threadsPadrao(). Unset or empty variables are passed over; one that holds no
// positive number throws ErroEntrada naming it, since a run that quietly takes every core of a
// shared node is worse than one that does not start.
ThreadsExecucao escolherThreads(int opcao, const char* omp, const char* slurm);
// The same with this process's environment.
ThreadsExecucao escolherThreads(int opcao);

// Every core this process may use: its CPU affinity, as OpenMP counts it. The one default
// of every front door.
int threadsPadrao();

}  // namespace tevra
