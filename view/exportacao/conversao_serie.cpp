#include "view/exportacao/conversao_serie.h"

#include <algorithm>
#include <cmath>
#include <regex>

#include "base/limites.h"
#include "base/nomes_arquivos.h"
#include "base/pasta_gravavel.h"
#include "view/exportacao/leitura_conferida.h"

namespace tevra {

namespace {

namespace fs = std::filesystem;

// Node indices of the writers and of the quad walk are ints.
constexpr std::int64_t kMaxNosConversao = 100'000'000;

std::string grade(int gi, int gj) { return std::to_string(gi) + " x " + std::to_string(gj); }

// The highest frame number of a pontosNNNN.txt in the folder; 0 when there is none.
int ultimoQuadroNaPasta(const fs::path& pasta) {
    static const std::regex padrao("pontos([0-9]{4})\\.txt");
    int ultimo = 0;
    std::error_code ec;
    for (fs::directory_iterator it(pasta, ec), fim; !ec && it != fim; it.increment(ec)) {
        std::smatch m;
        const std::string nome = it->path().filename().string();
        if (std::regex_match(nome, m, padrao)) ultimo = std::max(ultimo, std::stoi(m[1].str()));
    }
    return ultimo;
}

void conferirOpcoes(const OpcoesConversao& op) {
    if (op.gradeI < 1 || op.gradeJ < 1) throw ErroEntrada("the grid " + grade(op.gradeI, op.gradeJ) + " has no nodes");
    if (static_cast<std::int64_t>(op.gradeI) * op.gradeJ > kMaxNosConversao)
        throw ErroEntrada("the grid " + grade(op.gradeI, op.gradeJ) + " has more than " +
                          std::to_string(kMaxNosConversao) + " nodes");
    if (op.quadros < 0 || op.quadros > kMaxQuadros)
        throw ErroEntrada("the frame count " + std::to_string(op.quadros) + " is not between 1 and " +
                          std::to_string(kMaxQuadros));
    if (!std::isfinite(op.tempoPorQuadro) || op.tempoPorQuadro <= 0.0)
        throw ErroEntrada("the time between frames must be a positive number");
    std::error_code ec;
    if (!fs::is_directory(op.pasta, ec)) throw ErroEntrada(op.pasta.string() + " is not a folder");
}

// Frame 1 is the rest shape: a sheet's quads are equal parallelograms and a tube's have
// equal sides, so every step along j has one length and every step along i another. A grid
// with the files' node count but another number of rows puts some of its steps across a row
// end, where they are longer or shorter. Lengths are compared within what six digits allow.
bool formaDeRepousoNaGrade(const NosSuperficie& nos) {
    const int gi = nos.gradeI, gj = nos.gradeJ;
    double maior = 0.0;
    for (const auto* v : {&nos.x, &nos.y, &nos.z})
        for (double c : *v) maior = std::max(maior, std::fabs(c));
    const double tolerancia = 1e-5 * maior;
    auto passo = [&nos](int a, int b) {
        return std::hypot(nos.x[b] - nos.x[a], nos.y[b] - nos.y[a], nos.z[b] - nos.z[a]);
    };
    double aoLongoDeJ = -1.0, aoLongoDeI = -1.0;
    for (int i = 0; i < gi; ++i)
        for (int j = 0; j < gj; ++j) {
            const int v = i * gj + j;
            if (j + 1 < gj) {
                const double l = passo(v, v + 1);
                if (aoLongoDeJ < 0) aoLongoDeJ = l;
                if (std::fabs(l - aoLongoDeJ) > tolerancia) return false;
            }
            if (i + 1 < gi) {
                const double l = passo(v, v + gj);
                if (aoLongoDeI < 0) aoLongoDeI = l;
                if (std::fabs(l - aoLongoDeI) > tolerancia) return false;
            }
        }
    return true;
}

// The first frame that can be read decides whether the grid is the files' own; the series
// of another run's frames that a wrong grid would make is refused before anything is written.
void conferirGrade(const OpcoesConversao& op, int ultimo) {
    NosSuperficie nos;
    nos.alocar(op.gradeI, op.gradeJ);
    bool algum = false;
    for (int n = 1; n <= ultimo; ++n) {
        const fs::path arquivo = caminhoQuadro(op.pasta, n);
        const LeituraConferida l = lerQuadroConferido(arquivo, n == 1, nos);
        algum = algum || l.estado != EstadoConferido::Ausente;
        if (l.estado == EstadoConferido::Completo) {
            if (n == 1 && !formaDeRepousoNaGrade(nos))
                throw ErroEntrada("the grid " + grade(op.gradeI, op.gradeJ) +
                                  " does not match the files: frame 1, the surface at rest, is not an even grid of " +
                                  std::to_string(op.gradeI) + " rows of " + std::to_string(op.gradeJ) + " nodes");
            return;
        }
        if (l.estado == EstadoConferido::OutraGrade)
            throw ErroEntrada("the grid " + grade(op.gradeI, op.gradeJ) + " (" + std::to_string(nos.numNos()) +
                              " nodes) does not match the files: " + arquivo.filename().string() + " holds " +
                              (l.nosNoArquivo < 0 ? std::string("many more") : std::to_string(l.nosNoArquivo)) +
                              " nodes");
    }
    throw ErroEntrada(
        algum
            ? "no frame of " + op.pasta.string() + " between 1 and " + std::to_string(ultimo) + " can be read"
            : "no frame files (pontosNNNN.txt) for frames 1 to " + std::to_string(ultimo) + " in " + op.pasta.string());
}

MotivoIgnorado motivo(EstadoConferido e) {
    switch (e) {
        case EstadoConferido::Ausente: return MotivoIgnorado::Ausente;
        case EstadoConferido::OutraGrade: return MotivoIgnorado::OutraGrade;
        default: return MotivoIgnorado::Ilegivel;
    }
}

}  // namespace

ResultadoConversao converterSerie(const OpcoesConversao& op, const std::function<void(int, int)>& progresso,
                                  const std::atomic<bool>* parar) {
    conferirOpcoes(op);
    const int ultimo = op.quadros > 0 ? op.quadros : ultimoQuadroNaPasta(op.pasta);
    if (ultimo == 0) throw ErroEntrada("no frame files (pontosNNNN.txt) in " + op.pasta.string());
    conferirGrade(op, ultimo);

    ResultadoConversao r;
    r.saida = op.saida.empty() ? op.pasta : op.saida;
    r.quadros = ultimo;
    // The output folder is tried before the first frame: a folder that cannot take a file
    // is found at once, not after the whole series has been read.
    if (Escrita f = verificarPastaGravavel(r.saida)) {
        r.falha = std::move(f);
        r.saidaRecusada = true;
        return r;
    }
    std::error_code ec;
    fs::create_directories(r.saida, ec);

    SerieExportada serie(r.saida, op.formato);
    r.removidos = serie.removerAntigos();
    NosSuperficie nos;
    nos.alocar(op.gradeI, op.gradeJ);
    SuperficieExportada s;
    s.gradeI = op.gradeI;
    s.gradeJ = op.gradeJ;
    s.pos[0] = nos.x.data();
    s.pos[1] = nos.y.data();
    s.pos[2] = nos.z.data();
    CampoNos normal;
    normal.nome = "normal";
    normal.normais = true;
    normal.colunas[0] = nos.nx.data();
    normal.colunas[1] = nos.ny.data();
    normal.colunas[2] = nos.nz.data();
    s.campos.push_back(normal);

    for (int n = 1; n <= ultimo; ++n) {
        if (parar && parar->load(std::memory_order_relaxed)) {
            r.interrompida = true;
            break;
        }
        const LeituraConferida l = lerQuadroConferido(caminhoQuadro(op.pasta, n), n == 1, nos);
        if (n == 1) {
            // Only frame 1 says whether the surface is a tube.
            r.formaDesconhecida = l.estado != EstadoConferido::Completo || !l.objeto;
            s.fechada = !r.formaDesconhecida && *l.objeto != 0.0;
        }
        if (l.estado != EstadoConferido::Completo) {
            r.ignorados.push_back({n, motivo(l.estado), l.nosNoArquivo});
        } else if (Escrita f = serie.gravar(n, static_cast<double>(n - 1) * op.tempoPorQuadro, s)) {
            r.falha = std::move(f);
            break;
        } else {
            ++r.convertidos;
        }
        if (progresso) progresso(n, ultimo);
    }
    // The .pvd of the frames written, also when the series stopped early.
    if (Escrita f = serie.concluir(); f && !r.falha) r.falha = std::move(f);
    return r;
}

std::vector<std::string> textoIgnorados(const ResultadoConversao& r, int gradeI, int gradeJ) {
    std::vector<std::string> linhas;
    const std::pair<MotivoIgnorado, std::string> motivos[] = {
        {MotivoIgnorado::Ausente, "missing"},
        {MotivoIgnorado::Ilegivel, "unreadable (ended early, held a non-number or not a regular file)"},
        {MotivoIgnorado::OutraGrade, "of another grid (not " + grade(gradeI, gradeJ) + " = " +
                                         std::to_string(static_cast<std::int64_t>(gradeI) * gradeJ) + " nodes)"},
    };
    for (const auto& [m, texto] : motivos) {
        std::vector<int> ns;
        for (const QuadroIgnorado& q : r.ignorados)
            if (q.motivo == m) ns.push_back(q.n);
        if (ns.empty()) continue;
        // Runs of consecutive numbers as first-last.
        std::string lista;
        for (std::size_t a = 0; a < ns.size();) {
            std::size_t b = a;
            while (b + 1 < ns.size() && ns[b + 1] == ns[b] + 1) ++b;
            if (!lista.empty()) lista += ", ";
            lista += std::to_string(ns[a]);
            if (b > a) lista += "-" + std::to_string(ns[b]);
            a = b + 1;
        }
        linhas.push_back((ns.size() == 1 ? "frame " : "frames ") + texto + ": " + lista);
    }
    return linhas;
}

}  // namespace tevra
