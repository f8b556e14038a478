// How many cores this process may use: its affinity mask and its cgroup's CPU quota.
#include <sched.h>

#include <algorithm>
#include <charconv>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "model/equipe.h"

namespace tevra {

namespace {

std::string lerTexto(const std::string& caminho) {
    std::ifstream f(caminho);
    std::stringstream s;
    s << f.rdbuf();
    return f ? s.str() : std::string();
}

bool lerInteiro(std::string_view t, long long& v) {
    while (!t.empty() && (t.front() == ' ' || t.front() == '\n')) t.remove_prefix(1);
    const auto r = std::from_chars(t.data(), t.data() + t.size(), v);
    return r.ec == std::errc();
}

// The smallest positive count of `cota(pasta)` from the process's cgroup folder up to the
// hierarchy's root: a parent's quota binds its children.
template <class Cota>
int menorAteARaiz(std::string raiz, std::string caminho, Cota&& cota) {
    int menor = 0;
    for (;;) {
        const int n = cota(raiz + caminho);
        if (n > 0 && (menor == 0 || n < menor)) menor = n;
        if (caminho.empty() || caminho == "/") break;
        caminho.erase(caminho.find_last_of('/'));
    }
    return menor;
}

// The CPU quota of the process's cgroup in whole CPUs, 0 when there is none.
int cotaDoCgroup() {
    std::istringstream linhas(lerTexto("/proc/self/cgroup"));
    int menor = 0;
    auto guardar = [&menor](int n) {
        if (n > 0 && (menor == 0 || n < menor)) menor = n;
    };
    for (std::string linha; std::getline(linhas, linha);) {
        const auto a = linha.find(':'), b = linha.find(':', a + 1);
        if (a == std::string::npos || b == std::string::npos) continue;
        const std::string controladores = linha.substr(a + 1, b - a - 1), caminho = linha.substr(b + 1);
        if (controladores.empty()) {  // cgroup v2
            guardar(menorAteARaiz("/sys/fs/cgroup", caminho,
                                  [](const std::string& p) { return cpusDaCota(lerTexto(p + "/cpu.max")); }));
            continue;
        }
        const bool temCpu = ("," + controladores + ",").find(",cpu,") != std::string::npos;
        if (!temCpu) continue;
        for (const char* raiz : {"/sys/fs/cgroup/cpu", "/sys/fs/cgroup/cpu,cpuacct"})
            guardar(menorAteARaiz(raiz, caminho, [](const std::string& p) {
                long long quota = 0, periodo = 0;
                if (!lerInteiro(lerTexto(p + "/cpu.cfs_quota_us"), quota)) return 0;
                if (!lerInteiro(lerTexto(p + "/cpu.cfs_period_us"), periodo)) return 0;
                return cpusDaCota(quota, periodo);
            }));
    }
    return menor;
}

int cpusDaAfinidade() {
    cpu_set_t s;
    if (sched_getaffinity(0, sizeof s, &s) == 0) return CPU_COUNT(&s);
    return static_cast<int>(std::thread::hardware_concurrency());
}

}  // namespace

int cpusDaCota(long long quota, long long periodo) {
    if (quota <= 0 || periodo <= 0) return 0;
    return static_cast<int>(std::min<long long>((quota + periodo - 1) / periodo, 1 << 20));
}

int cpusDaCota(std::string_view cpuMax) {
    long long quota = 0, periodo = 0;
    if (!lerInteiro(cpuMax, quota)) return 0;  // "max", or nothing to read
    const auto espaco = cpuMax.find(' ', cpuMax.find_first_not_of(' '));
    if (espaco == std::string_view::npos || !lerInteiro(cpuMax.substr(espaco), periodo)) return 0;
    return cpusDaCota(quota, periodo);
}

int threadsDisponiveis() {
    static const int n = [] {
        int cpus = std::max(cpusDaAfinidade(), 1);
        const int cota = cotaDoCgroup();
        if (cota > 0) cpus = std::min(cpus, cota);
        return cpus;
    }();
    return n;
}

}  // namespace tevra
