#include "view/quadros/leitor_quadros.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <system_error>

#include "base/nomes_arquivos.h"
#include "base/tevra_home.h"

namespace tevra {

void NosSuperficie::alocar(int gi, int gj) {
    gradeI = gi > 0 ? gi : 0;
    gradeJ = gj > 0 ? gj : 0;
    const std::size_t n = static_cast<std::size_t>(gradeI) * static_cast<std::size_t>(gradeJ);
    for (auto* v : {&x, &y, &z, &nx, &ny, &nz}) v->assign(n, 0.0);
}

namespace {

// The stream's whitespace: an item is a maximal run of anything else.
inline bool branco(char c) { return c == ' ' || c == '\n' || c == '\r' || c == '\t' || c == '\v' || c == '\f'; }

class Itens {
public:
    explicit Itens(std::string_view t) : p_(t.data()), fim_(t.data() + t.size()) {}

    // Skips one word; false when the text has ended.
    bool pular() {
        const char* ini;
        const char* fim;
        return proximo(ini, fim);
    }

    // Reads one whole item as a finite number; false at the end or on anything else.
    bool numero(double& v) {
        const char* ini;
        const char* fim;
        if (!proximo(ini, fim)) return false;
        // from_chars has no leading plus; the stream accepts one.
        if (*ini == '+' && fim - ini > 1) ++ini;
        double lido;
        const auto r = std::from_chars(ini, fim, lido, std::chars_format::general);
        if (r.ec != std::errc() || r.ptr != fim || !std::isfinite(lido)) return false;
        v = lido;
        return true;
    }

private:
    bool proximo(const char*& ini, const char*& fim) {
        while (p_ != fim_ && branco(*p_)) ++p_;
        if (p_ == fim_) return false;
        ini = p_;
        while (p_ != fim_ && !branco(*p_)) ++p_;
        fim = p_;
        return true;
    }

    const char* p_;
    const char* fim_;
};

}  // namespace

ResultadoLeitura lerQuadro(std::string_view texto, bool primeiroQuadro, NosSuperficie& nos) {
    ResultadoLeitura r;
    r.estado = EstadoQuadro::Incompleto;
    Itens it(texto);
    double v;
    if (primeiroQuadro) {
        if (!it.pular() || !it.numero(v)) return r;
        r.objeto = v;
    }
    // "Area:" and its value, then "Densidade de Massa:" and its value: read past, not kept.
    if (!it.pular() || !it.numero(v)) return r;
    if (!it.pular() || !it.pular() || !it.pular() || !it.numero(v)) return r;
    const std::size_t n = nos.numNos();
    for (std::size_t idx = 0; idx < n; ++idx) {
        if (!it.pular() || !it.numero(nos.x[idx]) || !it.numero(nos.y[idx]) || !it.numero(nos.z[idx])) return r;
        if (!it.pular() || !it.numero(nos.nx[idx]) || !it.numero(nos.ny[idx]) || !it.numero(nos.nz[idx])) return r;
    }
    r.estado = EstadoQuadro::Completo;
    return r;
}

ResultadoLeitura lerQuadro(const std::filesystem::path& arquivo, bool primeiroQuadro, NosSuperficie& nos) {
    ResultadoLeitura r;
    if (arquivo.empty()) return r;
    std::unique_ptr<FILE, int (*)(FILE*)> f(std::fopen(arquivo.c_str(), "rb"), &std::fclose);
    if (!f) return r;
    // One buffer per thread, kept between frames: a series is hundreds of files of one size.
    thread_local std::string texto;
    texto.clear();
    // Far more than any frame of this grid takes (the writer's lines are under 80 bytes): a
    // larger file is not read past that, so a huge stray file costs no more than a frame.
    const std::size_t limite = 4096 + nos.numNos() * 1024;
    char bloco[1 << 16];
    for (;;) {
        const std::size_t lidos = std::fread(bloco, 1, std::min(sizeof bloco, limite - texto.size()), f.get());
        texto.append(bloco, lidos);
        if (lidos == 0 || texto.size() >= limite) break;
    }
    if (std::ferror(f.get())) return r;
    return lerQuadro(std::string_view(texto), primeiroQuadro, nos);
}

std::filesystem::path caminhoQuadro(int n) { return caminhoQuadro(tevra::home::tmp(), n); }

}  // namespace tevra
