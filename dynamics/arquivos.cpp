#include "dynamics/arquivos.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <initializer_list>

#include "base/gravacao.h"
#include "base/numero_texto.h"
#include "dynamics/copia_verificada.h"

namespace tevra {

namespace {

constexpr std::size_t kFolgaCabecalho = 256;

// Numbers as the stream's default notation prints them (%g, 6 significant digits).
class Escritor {
public:
    Escritor(std::vector<char>& buffer, std::size_t limite) {
        if (buffer.size() < limite) buffer.resize(limite);
        inicio_ = p_ = buffer.data();
    }
    Escritor& operator<<(const char* s) {
        const std::size_t n = std::strlen(s);
        std::memcpy(p_, s, n);
        p_ += n;
        return *this;
    }
    Escritor& operator<<(int v) {
        p_ = escreverInteiro(p_, v);
        return *this;
    }
    Escritor& operator<<(double v) {
        p_ = escreverReal(p_, v);
        return *this;
    }
    // For each node, one line "idx: x y z" a trio of columns (escreverLinhas).
    void linhas(std::initializer_list<const double*> colunas, int nos) {
        p_ = escreverLinhas(p_, colunas.begin(), static_cast<int>(colunas.size() / 3), nos);
    }
    std::string_view texto() const { return {inicio_, static_cast<std::size_t>(p_ - inicio_)}; }

private:
    char* inicio_;
    char* p_;
};

// Arrays of a copy, one per component, in the order the copy keeps them.
constexpr int kArraysQuadro = 6;             // pos, normal
constexpr int kArraysVelocidade = 3;
constexpr int kArraysDados = 4 * 3 + 4 * 3;  // aceleracao, forcaExterna, forcaInterna, e_tio; e_chapeu

}  // namespace

std::size_t bytesTextoQuadroPorNo() { return 2 * kMaxLinha; }
std::size_t bytesTextoDadosPorNo() { return 10 * kMaxLinha; }

std::size_t CopiaQuadro::bytesPorNo(bool dados) {
    return sizeof(double) * (kArraysQuadro + kArraysVelocidade + (dados ? kArraysDados : 0));
}

VistaQuadro vistaDoObjeto(const ObjDeformavel& o, int n, bool dados) {
    VistaQuadro q;
    q.n = n;
    q.nos = o.numNos();
    q.objeto = o.objeto;
    q.area = n == 1 ? o.area0 : o.area;
    q.densidade0 = o.densidade0;
    q.tempo = (o.passoAtual - 1) * o.passo;
    for (int c = 0; c < 3; ++c) {
        q.pos[c] = o.pos[c];
        q.normal[c] = o.nos.normal[c];
        if (!dados) continue;
        q.aceleracao[c] = o.aceleracao[c];
        q.forcaExterna[c] = o.forcaExterna[c];
        q.forcaInterna[c] = o.forcaInterna[c];
        q.e_tio[c] = o.e_tio[c];
        for (int t = 0; t < 4; ++t) q.e_chapeu[t][c] = o.e_chapeu[t][c];
    }
    return q;
}

namespace {

constexpr std::uint64_t kExpoente = 0x7ff0000000000000ULL;  // all ones: infinite or NaN
constexpr std::uint64_t kUmNoExpoente = 0x0010000000000000ULL;

// Whether any of the n values is infinite or NaN, on the exponent bits: one added to the
// exponent field carries into the sign bit only when the field is all ones. Masks, adds and
// ors only, so that the loop vectorises (a comparison per value kept it scalar).
bool algumNaoFinito(const double* v, std::size_t n) {
    std::uint64_t ruim = 0;
    for (std::size_t k = 0; k < n; ++k) {
        std::uint64_t b;
        std::memcpy(&b, v + k, sizeof b);
        ruim |= (b & kExpoente) + kUmNoExpoente;
    }
    return (ruim >> 63) != 0;
}

}  // namespace

bool CopiaQuadro::copiar(const ObjDeformavel& o, int n, bool dados, bool velocidades) {
    const VistaQuadro origem = vistaDoObjeto(o, n, dados);
    const std::size_t nos = static_cast<std::size_t>(origem.nos);
    const int arrays = kArraysQuadro + (velocidades ? kArraysVelocidade : 0) + (dados ? kArraysDados : 0);
    if (valores_.size() < nos * arrays) valores_.resize(nos * arrays);
    vista_ = origem;
    double* livre = valores_.data();
    auto copia = [&](const double*& destino) {
        copiarParaOutroNucleo(destino, livre, nos);
        destino = livre;
        livre += nos;
    };
    // Each printed array is tested in its copy's own pass.
    bool ruim = !std::isfinite(vista_.area) || !std::isfinite(vista_.densidade0);
    for (auto* v : {vista_.pos, vista_.normal})
        for (int c = 0; c < 3; ++c) {
            ruim = copiarVerificando(v[c], livre, nos) || ruim;
            v[c] = livre;
            livre += nos;
        }
    if (velocidades)
        for (int c = 0; c < 3; ++c) {
            vista_.vel[c] = o.vel[c];
            copia(vista_.vel[c]);
        }
    if (!dados) return !ruim;
    for (auto* v : {vista_.aceleracao, vista_.forcaExterna, vista_.forcaInterna, vista_.e_tio})
        for (int c = 0; c < 3; ++c) copia(v[c]);
    for (auto& t : vista_.e_chapeu)
        for (int c = 0; c < 3; ++c) copia(t[c]);
    return !ruim;
}

std::optional<NaoFinito> primeiroNaoFinito(const VistaQuadro& q) {
    static const char* const nomes[2][3] = {{"position x", "position y", "position z"},
                                            {"normal x", "normal y", "normal z"}};
    if (!std::isfinite(q.area)) return NaoFinito{-1, "area"};
    if (!std::isfinite(q.densidade0)) return NaoFinito{-1, "mass density"};
    // One pass that only tests first; the node is looked for only when something is off.
    bool ruim = false;
    for (const double* const* v : {q.pos, q.normal})
        for (int c = 0; c < 3; ++c) ruim = algumNaoFinito(v[c], static_cast<std::size_t>(q.nos)) || ruim;
    if (!ruim) return std::nullopt;
    for (int idx = 0; idx < q.nos; ++idx)
        for (int v = 0; v < 2; ++v)
            for (int c = 0; c < 3; ++c)
                if (!std::isfinite((v == 0 ? q.pos : q.normal)[c][idx])) return NaoFinito{idx, nomes[v][c]};
    return std::nullopt;
}

std::string_view textoQuadro(const VistaQuadro& q, std::vector<char>& buffer) {
    Escritor t(buffer, static_cast<std::size_t>(q.nos) * bytesTextoQuadroPorNo() + kFolgaCabecalho);
    if (q.n == 1) t << "Objeto: " << q.objeto << "\n";
    t << "Area: " << q.area << "\n";
    t << "Densidade de Massa:  " << q.densidade0 << "\n";
    t.linhas({q.pos[0], q.pos[1], q.pos[2], q.normal[0], q.normal[1], q.normal[2]}, q.nos);
    return t.texto();
}

std::string_view textoDados(const VistaQuadro& q, std::vector<char>& buffer) {
    Escritor t(buffer, static_cast<std::size_t>(q.nos) * bytesTextoDadosPorNo() + kFolgaCabecalho);
    auto secao = [&](const char* titulo, const double* const* v) {
        t << titulo << "\n";
        t.linhas({v[0], v[1], v[2]}, q.nos);
    };
    secao("Pontos:", q.pos);
    secao("Vetor Normal:", q.normal);
    secao("\nAcelera\xE7\xE3o:", q.aceleracao);  // ISO 8859-1, as the files have always been
    secao("\nForca Externa:", q.forcaExterna);
    secao("\nForca Interna:", q.forcaInterna);
    secao("\ne_tio:", q.e_tio);
    t << "\nTermos e_chapeu:\n";
    const auto& c = q.e_chapeu;
    t.linhas(
        {c[0][0], c[0][1], c[0][2], c[1][0], c[1][1], c[1][2], c[2][0], c[2][1], c[2][2], c[3][0], c[3][1], c[3][2]},
        q.nos);
    return t.texto();
}

FalhaEscrita numeroSemNome(int n) {
    return FalhaEscrita{{}, "frame number " + std::to_string(n) + " does not fit a four-digit file name"};
}

Escrita gravarQuadro(const ObjDeformavel& obj, const std::filesystem::path& padrao, int n) {
    const std::filesystem::path nome = nomeArquivoQuadro(padrao, n);
    if (nome.empty()) return numeroSemNome(n);
    std::vector<char> buffer;
    return gravarArquivoAtomico(nome, textoQuadro(vistaDoObjeto(obj, n, false), buffer));
}

Escrita gravarDados(const ObjDeformavel& obj, const std::filesystem::path& padrao, int n) {
    const std::filesystem::path nome = nomeArquivoQuadro(padrao, n);
    if (nome.empty()) return numeroSemNome(n);
    std::vector<char> buffer;
    return gravarArquivoAtomico(nome, textoDados(vistaDoObjeto(obj, n, true), buffer));
}

}  // namespace tevra
