#include "app/execucao/threads.h"

#include <omp.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "base/conversao.h"
#include "base/erros.h"

namespace tevra {

namespace {

// The variable's number; nothing when it is unset or empty.
std::optional<int> daVariavel(const char* nome, const char* valor, bool lista) {
    if (!valor || !*valor) return std::nullopt;
    std::string_view v(valor);
    if (lista) v = v.substr(0, v.find(','));
    const std::optional<int> n = paraInteiro(v);
    if (!n || *n < 1) throw ErroEntrada(std::string(nome) + "='" + valor + "' is not a positive number of threads");
    return n;
}

}  // namespace

ThreadsExecucao escolherThreads(int opcao, const char* omp, const char* slurm) {
    if (opcao > 0) return {opcao, "--threads"};
    if (const auto n = daVariavel("OMP_NUM_THREADS", omp, true)) return {*n, "OMP_NUM_THREADS"};
    if (const auto n = daVariavel("SLURM_CPUS_PER_TASK", slurm, false)) return {*n, "SLURM_CPUS_PER_TASK"};
    return {threadsPadrao(), "cores"};
}

ThreadsExecucao escolherThreads(int opcao) {
    return escolherThreads(opcao, std::getenv("OMP_NUM_THREADS"), std::getenv("SLURM_CPUS_PER_TASK"));
}

int threadsPadrao() {
    const int n = omp_get_num_procs();
    return n > 0 ? n : 1;
}

}  // namespace tevra
