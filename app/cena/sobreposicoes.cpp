#include "app/cena/sobreposicoes.h"

#include <array>
#include <optional>

#include "app/cena/configuracao.h"
#include "app/cena/conversao_cena.h"
#include "base/conversao.h"
#include "base/erros.h"
#include "base/texto_imprimivel.h"
#include "model/solver.h"

namespace tevra {

namespace {

// Override values are script texts: the point is their decimal separator.
constexpr char kSeparador = '.';

double real(const std::string& t) { return realDoTexto(t, kSeparador); }

// The values of a keyword that holds several, split at the commas; exactly `n` of them.
std::vector<std::string> valores(const std::string& valor, std::size_t n, const char* forma) {
    std::vector<std::string> v;
    std::size_t inicio = 0;
    for (;;) {
        const std::size_t virgula = valor.find(',', inicio);
        v.push_back(valor.substr(inicio, virgula == std::string::npos ? std::string::npos : virgula - inicio));
        if (virgula == std::string::npos) break;
        inicio = virgula + 1;
    }
    if (v.size() != n)
        throw ErroEntrada(std::to_string(n) + " values separated by commas expected (" + forma + "), not " +
                          std::to_string(v.size()));
    return v;
}

// Position of `comp` among `nomes`, or nothing.
template <std::size_t N>
std::optional<int> posicao(std::string_view comp, const std::array<const char*, N>& nomes) {
    for (std::size_t k = 0; k < N; ++k)
        if (comp == nomes[k]) return static_cast<int>(k);
    return std::nullopt;
}

template <std::size_t N>
std::string lista(const std::array<const char*, N>& nomes) {
    std::string s;
    for (const char* n : nomes) {
        if (!s.empty()) s += ", ";
        s += '.';
        s += n;
    }
    return s;
}

// The component named in the key, or a message that lists the ones there are.
template <std::size_t N>
int componente(std::string_view palavra, std::string_view comp, const std::array<const char*, N>& nomes) {
    if (const std::optional<int> k = posicao(comp, nomes)) return *k;
    throw ErroEntrada("'" + textoImprimivel(palavra) + "' has no component '" + textoImprimivel(comp) +
                      "'; its components are " + lista(nomes));
}

void semComponente(std::string_view palavra, std::string_view comp) {
    if (!comp.empty()) throw ErroEntrada("'" + textoImprimivel(palavra) + "' holds one value and has no components");
}

constexpr std::array<const char*, 3> kEixos = {"x", "y", "z"};
constexpr std::array<const char*, 2> kGrade = {"i", "j"};
constexpr std::array<const char*, 4> kTensor = {"00", "01", "10", "11"};
constexpr std::array<const char*, 4> kFluido = {"cte", "x", "y", "z"};
constexpr std::array<const char*, 3> kPlano = {"x", "y", "z"};
constexpr std::array<const char*, 2> kCilindro = {"raio", "comprimento"};
constexpr std::array<const char*, 7> kRestricao = {"u", "v", "inicio", "fim", "x", "y", "z"};

void vetor(Vetor3& v, std::string_view palavra, std::string_view comp, const std::string& valor) {
    if (comp.empty()) {
        const auto t = valores(valor, 3, "X,Y,Z");
        for (int k = 0; k < 3; ++k) v[k] = real(t[k]);
    } else {
        v[componente(palavra, comp, kEixos)] = real(valor);
    }
}

void tensor(double (&w)[2][2], std::string_view palavra, std::string_view comp, const std::string& valor) {
    if (comp.empty()) {
        const auto t = valores(valor, 4, "A00,A01,A10,A11");
        for (int a = 0; a < 4; ++a) w[a / 2][a % 2] = real(t[a]);
    } else {
        const int a = componente(palavra, comp, kTensor);
        w[a / 2][a % 2] = real(valor);
    }
}

void grade(Cena& c, std::string_view comp, const std::string& valor) {
    if (comp.empty()) {
        const auto t = valores(valor, 2, "I,J");
        c.grade_i = inteiroDoTexto(t[0]);
        c.grade_j = inteiroDoTexto(t[1]);
    } else {
        (componente("grid", comp, kGrade) == 0 ? c.grade_i : c.grade_j) = inteiroDoTexto(valor);
    }
}

// A scene without a fluid holds zeros for it, as one loaded from a script without the block.
void fluido(Cena& c, std::string_view comp, const std::string& valor) {
    if (comp.empty()) {
        if (valor == "off") {
            c.fluidoAtivo = false;
            c.fluido_cte = 0.0;
            c.fluido = Vetor3{};
            return;
        }
        const auto t = valores(valor, 4, "CTE,X,Y,Z or off");
        c.fluido_cte = real(t[0]);
        for (int k = 0; k < 3; ++k) c.fluido[k] = real(t[1 + k]);
        c.fluidoAtivo = true;
        return;
    }
    const int k = componente("fluido", comp, kFluido);
    if (!c.fluidoAtivo) throw ErroEntrada("the scene has no fluid; give the whole block: fluido=CTE,X,Y,Z");
    if (k == 0)
        c.fluido_cte = real(valor);
    else
        c.fluido[k - 1] = real(valor);
}

// The values of the shape not chosen are zero, as the set-up leaves them.
void forma(Cena& c, std::string_view comp, const std::string& valor) {
    if (comp.empty()) {
        const std::string palavra = valor.substr(0, valor.find(','));
        if (palavra == "plano") {
            const auto t = valores(valor, 4, "plano,X,Y,Z");
            for (int k = 0; k < 3; ++k) c.comp[k] = real(t[1 + k]);
            c.objeto = ObjetoPlano;
            c.raio = c.comprimento = 0.0;
        } else if (palavra == "cilindro") {
            const auto t = valores(valor, 3, "cilindro,R,L");
            c.raio = real(t[1]);
            c.comprimento = real(t[2]);
            c.objeto = ObjetoCilindro;
            for (double& x : c.comp) x = 0.0;
        } else {
            // A script takes any other word for the tube; here it is more likely a typing slip.
            throw ErroEntrada("the shape is 'plano' or 'cilindro', not '" + textoImprimivel(palavra) + "'");
        }
        return;
    }
    if (c.objeto == ObjetoPlano) {
        if (posicao(comp, kCilindro))
            throw ErroEntrada("the scene's surface is a sheet (plano); the tube's ." + std::string(comp) +
                              " needs obj_deformavel=cilindro,R,L");
        c.comp[componente("obj_deformavel", comp, kPlano)] = real(valor);
    } else {
        if (posicao(comp, kPlano))
            throw ErroEntrada("the scene's surface is a tube (cilindro); the sheet's ." + std::string(comp) +
                              " needs obj_deformavel=plano,X,Y,Z");
        (componente("obj_deformavel", comp, kCilindro) == 0 ? c.raio : c.comprimento) = real(valor);
    }
}

// "K.F": field F of row K; x, y and z are switches of a holding row and reals of a force.
void restricao(Cena& c, std::string_view comp, const std::string& valor) {
    const std::size_t ponto = comp.find('.');
    if (comp.empty() || ponto == std::string_view::npos)
        throw ErroEntrada("give a row and a field: restricoes.K.F, F one of u, v, inicio, fim, x, y, z");
    const std::string textoLinha(comp.substr(0, ponto));
    const std::string_view campo = comp.substr(ponto + 1);
    const std::optional<int> linha = paraInteiro(textoLinha);
    const int n = static_cast<int>(c.restricoes.size());
    if (!linha || textoLinha.find_first_not_of("0123456789") != std::string::npos || *linha >= n)
        throw ErroEntrada("the scene has " + std::to_string(n) +
                          " restriction row(s), numbered from 0; there is no row '" + textoImprimivel(textoLinha) +
                          "'");
    if (campo == "tipo") throw ErroEntrada("the type of a restriction row comes from the script");
    Restricao& r = c.restricoes[*linha];
    const int f = componente("restricoes." + textoLinha, campo, kRestricao);
    switch (f) {
        case 0: r.u = inteiroDoTexto(valor); break;
        case 1: r.v = inteiroDoTexto(valor); break;
        case 2: r.inicio = inteiroDoTexto(valor); break;
        case 3: r.fim = inteiroDoTexto(valor); break;
        default:
            if (r.tipo == RestricaoForca)
                r.forca[f - 4] = real(valor);
            else
                r.eixo[f - 4] = inteiroDoTexto(valor);
    }
}

void aplicar(Cena& c, std::string_view palavra, std::string_view comp, const std::string& valor) {
    auto um = [&]() -> const std::string& {
        semComponente(palavra, comp);
        return valor;
    };
    if (palavra == "delta_t")
        c.passo = real(um());
    else if (palavra == "n_passos")
        c.quadros = realTruncadoDoTexto(um(), kSeparador, "iteration count");
    else if (palavra == "pula")
        c.intervalo = realTruncadoDoTexto(um(), kSeparador, "recording interval");
    else if (palavra == "tempo_animacao")
        c.tempo = real(um());
    else if (palavra == "grid")
        grade(c, comp, valor);
    else if (palavra == "aceleracao")
        vetor(c.acel, palavra, comp, valor);
    else if (palavra == "velocidade")
        vetor(c.velInicial, palavra, comp, valor);
    else if (palavra == "eta")
        tensor(c.eta, palavra, comp, valor);
    else if (palavra == "qsi")
        tensor(c.qsi, palavra, comp, valor);
    else if (palavra == "psi")
        tensor(c.psi, palavra, comp, valor);
    else if (palavra == "massa")
        c.massa = real(um());
    else if (palavra == "gama")
        c.gama = real(um());
    else if (palavra == "fluido")
        fluido(c, comp, valor);
    else if (palavra == "obj_deformavel")
        forma(c, comp, valor);
    else if (palavra == "restricoes")
        restricao(c, comp, valor);
    else if (palavra == "solver") {
        const std::optional<int> s = codigoSolver(um());
        if (!s) throw ErroEntrada(mensagemSolverDesconhecido(valor));
        c.solver = *s;
    } else if (palavra == "n_restricoes")
        throw ErroEntrada("the restriction rows come from the script; change a row's values with restricoes.K.F");
    else if (palavra == "fronteira")
        throw ErroEntrada("the boundary block has no effect on a run");
    else
        throw ErroEntrada("unknown key '" + textoImprimivel(palavra) + "'; the keys are " + textoChavesSobreposicao());
}

}  // namespace

std::string textoChavesSobreposicao() {
    return "delta_t, n_passos, pula, tempo_animacao, grid, aceleracao, velocidade, eta, qsi, psi, massa, gama, "
           "fluido, obj_deformavel, restricoes.K.F and solver";
}

void aplicarSobreposicao(Cena& c, std::string_view texto) {
    const std::string dado(texto);
    const std::size_t igual = dado.find('=');
    try {
        if (igual == std::string::npos || igual == 0)
            throw ErroEntrada("an override is KEY=VALUE, for example delta_t=1e-4 or eta.01=5");
        const std::string chave = dado.substr(0, igual);
        const std::size_t ponto = chave.find('.');
        const std::string_view palavra = std::string_view(chave).substr(0, ponto);
        const std::string_view comp =
            ponto == std::string::npos ? std::string_view() : std::string_view(chave).substr(ponto + 1);
        if (ponto != std::string::npos && comp.empty())
            throw ErroEntrada("'" + textoImprimivel(chave) + "' names no component after the point");
        // On a copy: a list value that fails half-way leaves the scene as it was.
        Cena nova = c;
        aplicar(nova, palavra, comp, dado.substr(igual + 1));
        c = std::move(nova);
    } catch (const ErroEntrada& e) {
        throw ErroEntrada(textoImprimivel(dado) + ": " + e.what());
    }
}

void aplicarSobreposicoes(Cena& c, const std::vector<std::string>& lista) {
    for (const std::string& s : lista) aplicarSobreposicao(c, s);
}

}  // namespace tevra
