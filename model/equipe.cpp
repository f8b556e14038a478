#include "model/equipe.h"

#include <omp.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace tevra {

namespace {

// More threads than this are never started, whatever is asked.
constexpr int kMaxThreads = 256;
// How long a waiting thread spins before it sleeps: long enough to catch a partner that is a
// few rows behind, short enough that a descheduled partner gets the core soon.
constexpr std::chrono::microseconds kGiro{30};

std::atomic<int> pedidoDoMotor{0};

// Waits until `a` no longer holds `visto`.
void esperarMudar(const std::atomic<std::uint32_t>& a, std::uint32_t visto) {
    if (a.load(std::memory_order_acquire) != visto) return;
    const auto fim = std::chrono::steady_clock::now() + kGiro;
    for (int k = 1;; ++k) {
        __builtin_ia32_pause();
        if (a.load(std::memory_order_acquire) != visto) return;
        if (k % 64 == 0 && std::chrono::steady_clock::now() > fim) break;
    }
    while (a.load(std::memory_order_acquire) == visto) a.wait(visto, std::memory_order_acquire);
}

class Barreira final : public Sincronia {
public:
    void preparar(int n) {
        n_ = n;
        chegaram_.store(0, std::memory_order_relaxed);
    }
    int n() const override { return n_; }
    void barreira() override {
        if (n_ <= 1) return;
        const std::uint32_t g = geracao_.load(std::memory_order_acquire);
        if (chegaram_.fetch_add(1, std::memory_order_acq_rel) + 1 == n_) {
            chegaram_.store(0, std::memory_order_relaxed);
            geracao_.fetch_add(1, std::memory_order_release);
            geracao_.notify_all();
        } else {
            esperarMudar(geracao_, g);
        }
    }

private:
    int n_ = 1;
    std::atomic<int> chegaram_{0};
    std::atomic<std::uint32_t> geracao_{0};
};

class Equipe {
public:
    ~Equipe() {
        parar_.store(true, std::memory_order_relaxed);
        trabalho_.fetch_add(1, std::memory_order_release);
        trabalho_.notify_all();
        for (auto& t : threads_) t.join();
    }

    void executar(int n, const std::function<void(int, Sincronia&)>& tarefa) {
        std::unique_lock<std::mutex> uso(uso_, std::defer_lock);
        if (n > 1) uso.try_lock();
        if (!uso.owns_lock()) {
            Barreira sozinho;
            tarefa(0, sozinho);
            return;
        }
        while (static_cast<int>(threads_.size()) < n - 1) {
            const int id = static_cast<int>(threads_.size()) + 1;
            threads_.emplace_back([this, id] { trabalhar(id); });
        }
        tarefa_ = &tarefa;
        barreira_.preparar(n);
        n_ = n;
        // Every thread of the team answers, those the job does not need at once: then none
        // can still be reading this job's fields when the next one is set.
        restantes_.store(static_cast<std::uint32_t>(threads_.size()), std::memory_order_relaxed);
        trabalho_.fetch_add(1, std::memory_order_release);
        trabalho_.notify_all();
        tarefa(0, barreira_);
        for (std::uint32_t r; (r = restantes_.load(std::memory_order_acquire)) != 0;) esperarMudar(restantes_, r);
    }

private:
    void trabalhar(int id) {
        std::uint32_t visto = 0;
        for (;;) {
            esperarMudar(trabalho_, visto);
            visto = trabalho_.load(std::memory_order_acquire);
            if (parar_.load(std::memory_order_relaxed)) return;
            if (id < n_) (*tarefa_)(id, barreira_);
            if (restantes_.fetch_sub(1, std::memory_order_acq_rel) == 1) restantes_.notify_one();
        }
    }

    std::mutex uso_;
    std::vector<std::thread> threads_;
    std::atomic<std::uint32_t> trabalho_{0};  // job number: workers wait for it to change
    std::atomic<std::uint32_t> restantes_{0};
    const std::function<void(int, Sincronia&)>* tarefa_ = nullptr;
    int n_ = 0;
    std::atomic<bool> parar_{false};
    Barreira barreira_;
};

Equipe& equipe() {
    static Equipe e;
    return e;
}

// OpenMP's count unless nobody set one: its default is the CPUs of the affinity mask,
// which ignores a cgroup quota.
int pedidoOpenMP() {
    if (std::getenv("OMP_NUM_THREADS")) return omp_get_max_threads();
    static const int padraoOpenMP = [] {
        int n = 0;
        std::thread([&n] { n = omp_get_max_threads(); }).join();  // a fresh thread sees the default
        return n;
    }();
    const int agora = omp_get_max_threads();
    return agora != padraoOpenMP ? agora : 0;
}

}  // namespace

void definirThreads(int n) { pedidoDoMotor.store(n > 0 ? n : 0, std::memory_order_relaxed); }

int threadsPara(int linhas, long long nos) {
    long long n = pedidoDoMotor.load(std::memory_order_relaxed);
    if (n == 0) {
        // More threads than cores only take turns at every barrier: a request through OpenMP
        // (--threads, OMP_NUM_THREADS) is a most.
        const int openmp = pedidoOpenMP();
        n = threadsDisponiveis();
        if (openmp > 0)
            n = std::min<long long>(n, openmp);
        else
            n = std::min<long long>(n, std::max<long long>(1, nos / kNosPorThread));
    }
    n = std::min<long long>({n, linhas, kMaxThreads});
    return static_cast<int>(std::max<long long>(n, 1));
}

void emParalelo(int n, const std::function<void(int, Sincronia&)>& tarefa) {
    if (n <= 1) {
        Barreira sozinho;
        tarefa(0, sozinho);
        return;
    }
    equipe().executar(std::min(n, kMaxThreads), tarefa);
}

}  // namespace tevra
