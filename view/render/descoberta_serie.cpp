#include "view/render/descoberta_serie.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>

#include "base/erros.h"
#include "base/limites.h"
#include "base/nomes_arquivos.h"

namespace tevra {

int ultimoQuadro(const std::filesystem::path& pasta) {
    int maior = 0;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(pasta, ec), fim; !ec && it != fim; it.increment(ec)) {
        const std::string nome = it->path().filename().string();
        if (nome.size() != 14 || nome.compare(0, 6, "pontos") != 0 || nome.compare(10, 4, ".txt") != 0) continue;
        int n = 0;
        const auto r = std::from_chars(nome.data() + 6, nome.data() + 10, n);
        if (r.ec != std::errc() || r.ptr != nome.data() + 10 || n < 1) continue;
        maior = std::max(maior, n);
    }
    return maior;
}

namespace {

inline bool branco(char c) { return c == ' ' || c == '\n' || c == '\r' || c == '\t' || c == '\v' || c == '\f'; }

// The node label "idx:" as the writer prints it.
bool rotulo(std::string_view item, long long idx) {
    if (item.size() < 2 || item.back() != ':') return false;
    long long v = -1;
    const auto r = std::from_chars(item.data(), item.data() + item.size() - 1, v);
    return r.ec == std::errc() && r.ptr == item.data() + item.size() - 1 && v == idx;
}

}  // namespace

long long nosDoQuadro(std::string_view texto, bool primeiroQuadro) {
    // Items in order; only the first body label and the last one are kept.
    const long long cabecalho = primeiroQuadro ? 8 : 6;
    long long itens = 0;
    std::string_view primeiroRotulo, ultimoRotulo;
    std::size_t p = 0;
    while (p < texto.size()) {
        while (p < texto.size() && branco(texto[p])) ++p;
        if (p == texto.size()) break;
        const std::size_t ini = p;
        while (p < texto.size() && !branco(texto[p])) ++p;
        const long long corpo = itens - cabecalho;
        if (corpo >= 0 && corpo % 4 == 0) {
            if (corpo == 0) primeiroRotulo = texto.substr(ini, p - ini);
            ultimoRotulo = texto.substr(ini, p - ini);
        }
        ++itens;
    }
    const long long corpo = itens - cabecalho;
    if (corpo <= 0 || corpo % 8 != 0) return -1;
    const long long nos = corpo / 8;
    if (!rotulo(primeiroRotulo, 0) || !rotulo(ultimoRotulo, nos - 1)) return -1;
    return nos;
}

namespace {

struct P {
    double x, y, z;
};
P operator-(P a, P b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
P operator+(P a, P b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
P operator*(double s, P a) { return {s * a.x, s * a.y, s * a.z}; }
double ponto(P a, P b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
double maximo(P a) { return std::max({std::abs(a.x), std::abs(a.y), std::abs(a.z)}); }

// Whether the nodes, taken as rows of j nodes, have the rest form of a sheet or a tube.
bool temForma(const NosSuperficie& nos, long long j, bool tubo, double tolerancia) {
    const long long n = static_cast<long long>(nos.numNos()), i = n / j;
    auto p = [&nos](long long k) { return P{nos.x[k], nos.y[k], nos.z[k]}; };
    // Steps from end to end of the first row and of the first column: rounding of the printed
    // values then weighs once, not once a node.
    const P passoJ = (1.0 / static_cast<double>(j - 1)) * (p(j - 1) - p(0));
    const P passoI = (1.0 / static_cast<double>(i - 1)) * (p((i - 1) * j) - p(0));
    if (maximo(passoJ) <= tolerancia) return false;
    const double normaJ = std::sqrt(ponto(passoJ, passoJ));
    for (long long k = 0; k < n; ++k) {
        const long long ki = k / j, kj = k % j;
        const P inicio = tubo ? p(ki * j) : p(0) + static_cast<double>(ki) * passoI;
        if (maximo(p(k) - (inicio + static_cast<double>(kj) * passoJ)) > tolerancia) return false;
        // A tube's rows start in one plane across its axis, one start apart from another.
        if (tubo && kj == 0 && ki > 0) {
            if (std::abs(ponto(p(k) - p(0), passoJ)) / normaJ > tolerancia) return false;
            if (maximo(p(k) - p(k - j)) <= tolerancia) return false;
        }
    }
    return true;
}

}  // namespace

std::optional<std::pair<int, int>> gradeDaFormaInicial(const NosSuperficie& nos, bool tubo) {
    const long long n = static_cast<long long>(nos.numNos());
    if (n < 4) return std::nullopt;
    // Frame values carry six significant digits: a tolerance well above that rounding and
    // well below any node spacing a wrong grid would have to match.
    double extensao = 0;
    for (long long k = 0; k < n; ++k)
        extensao = std::max({extensao, std::abs(nos.x[k]), std::abs(nos.y[k]), std::abs(nos.z[k])});
    const double tolerancia = 1e-4 * std::max(extensao, 1e-300);
    std::optional<std::pair<int, int>> achada;
    for (long long j = 2; j <= n / 2; ++j) {
        if (n % j != 0) continue;
        if (!temForma(nos, j, tubo, tolerancia)) continue;
        if (achada) return std::nullopt;  // two grids fit: no telling
        achada = std::pair<int, int>(static_cast<int>(n / j), static_cast<int>(j));
    }
    return achada;
}

namespace {

std::string lerTexto(const std::filesystem::path& arquivo, bool& ok) {
    std::string texto;
    std::error_code ec;
    ok = false;
    if (!std::filesystem::is_regular_file(arquivo, ec)) return texto;
    std::unique_ptr<FILE, int (*)(FILE*)> f(std::fopen(arquivo.c_str(), "rb"), &std::fclose);
    if (!f) return texto;
    char bloco[1 << 16];
    while (const std::size_t n = std::fread(bloco, 1, sizeof bloco, f.get())) texto.append(bloco, n);
    ok = !std::ferror(f.get());
    return texto;
}

}  // namespace

SerieGravada prepararSerie(const std::filesystem::path& pasta, int gradeI, int gradeJ, int quadros) {
    SerieGravada s;
    s.pasta = pasta;
    std::error_code ec;
    if (!std::filesystem::is_directory(pasta, ec)) throw ErroEntrada(pasta.string() + " is not a folder");
    if (quadros < 0 || quadros > kMaxQuadros)
        throw ErroEntrada("--frames " + std::to_string(quadros) + ": frames are numbered 1 to " +
                          std::to_string(kMaxQuadros));
    const bool comGrade = gradeI != 0 || gradeJ != 0;
    if (comGrade && (gradeI < 2 || gradeJ < 2))
        throw ErroEntrada("--grid " + std::to_string(gradeI) + " " + std::to_string(gradeJ) +
                          ": a grid has at least 2 nodes each way");

    const int ultimo = ultimoQuadro(pasta);
    if (ultimo == 0) throw ErroEntrada("no frame files (pontosNNNN.txt) in " + pasta.string());
    const std::filesystem::path primeiro = caminhoQuadro(pasta, 1);
    bool lido = false;
    const std::string texto = lerTexto(primeiro, lido);
    if (!lido)
        throw ErroEntrada(primeiro.string() +
                          " cannot be read: frame 1 tells whether the surface is a tube and how many nodes it has");
    const long long nos = nosDoQuadro(texto, true);
    if (nos < 1)
        throw ErroEntrada(primeiro.string() + " is not laid out as a first frame (header, then two lines a node)");
    if (nos > kMaxNosVisiveis)
        throw ErroEntrada(primeiro.string() + " holds " + std::to_string(nos) + " nodes, more than the " +
                          std::to_string(kMaxNosVisiveis) + " a picture is drawn of");

    NosSuperficie valores;
    valores.alocar(1, static_cast<int>(nos));
    const ResultadoLeitura r = lerQuadro(std::string_view(texto), true, valores);
    if (r.estado != EstadoQuadro::Completo || !r.objeto)
        throw ErroEntrada(primeiro.string() + " holds something other than a number where a number belongs");
    s.fechada = *r.objeto != 0.0;

    if (comGrade) {
        const long long pedidos = static_cast<long long>(gradeI) * gradeJ;
        if (pedidos != nos)
            throw ErroEntrada("--grid " + std::to_string(gradeI) + " " + std::to_string(gradeJ) + " has " +
                              std::to_string(pedidos) + " nodes, but " + primeiro.string() + " holds " +
                              std::to_string(nos));
        s.gradeI = gradeI;
        s.gradeJ = gradeJ;
    } else if (const auto g = gradeDaFormaInicial(valores, s.fechada)) {
        s.gradeI = g->first;
        s.gradeJ = g->second;
    } else {
        throw ErroEntrada("the grid cannot be told from the files (frame 1 holds " + std::to_string(nos) +
                          " nodes and is not the rest shape of exactly one grid): give --grid I J");
    }
    s.quadros = quadros > 0 ? quadros : ultimo;
    return s;
}

}  // namespace tevra
