#include "base/progresso_log.h"

#include <charconv>
#include <cmath>

namespace tevra {

ProgressoLog::ProgressoLog(long long nos, std::FILE* saida)
    : nos_(nos), saida_(saida), inicio_(std::chrono::steady_clock::now()) {}

void ProgressoLog::mostrar(int feitos, int total) {
    const int d = decimoDaExecucao(feitos, total);
    if (d <= decimo_) return;
    decimo_ = d;
    const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - inicio_).count();
    std::fprintf(saida_, "%s\n", linhaProgresso(feitos, total, nos_, s).c_str());
    std::fflush(saida_);
}

int decimoDaExecucao(int feitos, int total) {
    if (total <= 0 || feitos <= 0) return 0;
    if (feitos >= total) return 10;
    return static_cast<int>(static_cast<long long>(feitos) * 10 / total);
}

std::string linhaProgresso(int feitos, int total, long long nos, double segundos) {
    const double taxa = segundos > 0 ? static_cast<double>(feitos) * static_cast<double>(nos) / segundos : 0.0;
    const double resta = feitos > 0 ? segundos * (total - feitos) / feitos : 0.0;
    const int cento = total > 0 ? static_cast<int>(static_cast<long long>(feitos) * 100 / total) : 100;
    return "step " + std::to_string(feitos) + "/" + std::to_string(total) + " (" + std::to_string(cento) + "%), " +
           textoTaxa(taxa) + " node-steps/s, ETA " + textoDuracao(resta);
}

std::string textoTaxa(double v) {
    if (!(v > 0) || !std::isfinite(v)) return "0";
    int e = static_cast<int>(std::floor(std::log10(v)));
    double m = std::round(v / std::pow(10.0, e) * 10.0) / 10.0;
    if (m >= 10.0) {  // 9.96 rounds up into the next power of ten
        m /= 10.0;
        ++e;
    }
    // to_chars: a locale with a decimal comma must not reach the logs.
    char buf[32];
    auto r = std::to_chars(buf, buf + sizeof buf, m, std::chars_format::fixed, 1);
    return std::string(buf, r.ptr) + "e" + std::to_string(e);
}

std::string textoDuracao(double segundos) {
    const long long s = std::isfinite(segundos) && segundos > 0 ? std::llround(segundos) : 0;
    char buf[48];
    std::snprintf(buf, sizeof buf, "%02lld:%02lld:%02lld", s / 3600, s / 60 % 60, s % 60);
    return buf;
}

}  // namespace tevra
