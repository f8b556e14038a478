#include "cli/sinais.h"

#include <signal.h>

#include <atomic>
#include <csignal>

namespace tevra {

namespace {

std::atomic<Execucao*> execucaoAtual{nullptr};
volatile std::sig_atomic_t recebido = 0;
static_assert(std::atomic<Execucao*>::is_always_lock_free, "the handler reads it");

// Async-signal-safe: a flag and the run's two lock-free atomic stores.
extern "C" void aoSinal(int) {
    recebido = 1;
    if (Execucao* e = execucaoAtual.load(std::memory_order_relaxed)) e->interromper();
}

}  // namespace

void instalarSinais() {
    struct sigaction sa {};
    sa.sa_handler = aoSinal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART | SA_RESETHAND;
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
}

bool sinalRecebido() { return recebido != 0; }

VinculoSinais::VinculoSinais(Execucao& e) {
    execucaoAtual.store(&e);
    if (recebido) e.interromper();
}

VinculoSinais::~VinculoSinais() { execucaoAtual.store(nullptr); }

}  // namespace tevra
