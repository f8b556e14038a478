#include "app/cena/conversao_cena.h"

#include <cmath>
#include <optional>
#include <string>

#include "app/cena/configuracao.h"
#include "base/conversao.h"
#include "base/erros.h"
#include "base/texto_imprimivel.h"

namespace tevra {

int inteiroDoTexto(const std::string& texto) {
    const std::optional<int> v = paraInteiro(texto);
    if (!v) throw ErroEntrada(mensagemInteiroInvalido(texto));
    return *v;
}

double realDoTexto(const std::string& texto, char separador) {
    const std::optional<double> v = paraReal(texto, separador);
    if (!v) throw ErroEntrada(mensagemRealInvalido(texto));
    return *v;
}

// A real value truncated toward zero; "1e4" gives 10000 and "2.9" gives 2.
int realTruncadoDoTexto(const std::string& texto, char separador, const char* nome) {
    const double v = std::trunc(realDoTexto(texto, separador));
    if (!(v >= -2147483648.0 && v <= 2147483647.0))
        throw ErroEntrada("'" + textoImprimivel(texto) + "' is too large for the " + nome);
    return static_cast<int>(v);
}

namespace {

// Runs one conversion or check; a refusal that names no box names `origem`.
template <class Conversao>
auto naOrigem(const OrigemEntrada& origem, Conversao&& converter) {
    try {
        return converter();
    } catch (ErroEntrada& e) {
        if (!e.origem) e.origem = origem;
        throw;
    }
}

// Reads the window's texts in the set-up's order; every refusal names the box it read.
class Leitor {
public:
    Leitor(const FormularioCena& f, char sep) : f_(f), sep_(sep) {}

    int inteiro(const char* caixa) const {
        return naOrigem(OrigemEntrada{caixa}, [&] { return inteiroDoTexto(f_.texto(caixa)); });
    }
    double real(const char* caixa) const {
        return naOrigem(OrigemEntrada{caixa}, [&] { return realDoTexto(f_.texto(caixa), sep_); });
    }
    int realTruncado(const char* caixa, const char* nome) const {
        return naOrigem(OrigemEntrada{caixa}, [&] { return realTruncadoDoTexto(f_.texto(caixa), sep_, nome); });
    }

    Restricao restricao(int k) const {
        const auto& linha = f_.restricoes[static_cast<std::size_t>(k)];
        auto inteiroDa = [&](int coluna) {
            return naOrigem(OrigemEntrada{{}, k, coluna}, [&] { return inteiroDoTexto(linha[coluna - 1]); });
        };
        auto realDa = [&](int coluna) {
            return naOrigem(OrigemEntrada{{}, k, coluna}, [&] { return realDoTexto(linha[coluna - 1], sep_); });
        };
        Restricao r;
        r.u = inteiroDa(1);
        r.v = inteiroDa(2);
        r.tipo = (linha[2] == "forca") ? RestricaoForca : RestricaoFixa;
        r.inicio = inteiroDa(4);
        r.fim = inteiroDa(5);
        // The type is known before X, Y, Z: a force takes reals, a fixing integer switches.
        for (int c = 0; c < 3; ++c) {
            if (r.tipo == RestricaoForca)
                r.forca[c] = realDa(6 + c);
            else
                r.eixo[c] = inteiroDa(6 + c);
        }
        return r;
    }

private:
    const FormularioCena& f_;
    char sep_;
};

// The box that makes a shape without area: the first zero of its extents.
const char* caixaDaForma(const Cena& c) {
    if (c.objeto == ObjetoPlano) return c.comp[0] == 0.0 ? caixa::comp[0] : caixa::comp[1];
    return c.raio == 0.0 ? caixa::raio : caixa::comprimento;
}

}  // namespace

Cena converterCena(const FormularioCena& f, char sep) {
    const Leitor ler(f, sep);
    Cena c;
    const std::optional<int> solver = codigoSolver(f.solver);
    if (!solver) throw ErroEntrada(mensagemSolverDesconhecido(f.solver), OrigemEntrada{caixa::solver});
    c.solver = *solver;
    c.grade_j = ler.inteiro(caixa::grade_j);
    c.grade_i = ler.inteiro(caixa::grade_i);
    naOrigem(OrigemEntrada{c.grade_i < 2 || c.grade_j >= 2 ? caixa::grade_i : caixa::grade_j},
             [&] { verificarGrade(c.grade_i, c.grade_j, c.solver); });

    c.massa = ler.real(caixa::massa);
    for (int a = 0; a < 4; ++a) c.eta[a / 2][a % 2] = ler.real(caixa::eta[a]);
    for (int a = 0; a < 4; ++a) c.qsi[a / 2][a % 2] = ler.real(caixa::qsi[a]);
    for (int a = 0; a < 4; ++a) c.psi[a / 2][a % 2] = ler.real(caixa::psi[a]);
    c.objeto = (f.objeto == "plano") ? ObjetoPlano : ObjetoCilindro;
    if (c.objeto == ObjetoPlano) {
        for (int k = 0; k < 3; ++k) c.comp[k] = ler.real(caixa::comp[k]);
    } else {
        c.raio = ler.real(caixa::raio);
        c.comprimento = ler.real(caixa::comprimento);
    }
    c.gama = ler.real(caixa::gama);
    for (int k = 0; k < 3; ++k) c.velInicial[k] = ler.real(caixa::vel[k]);
    for (int k = 0; k < 3; ++k) c.acel[k] = ler.real(caixa::acel[k]);
    // Any text at all in "damp R", even a blank, switches the fluid on.
    if (!f.texto(caixa::fluido_cte).empty()) {
        for (int k = 0; k < 3; ++k) c.fluido[k] = ler.real(caixa::fluido[k]);
        c.fluido_cte = ler.real(caixa::fluido_cte);
        c.fluidoAtivo = true;
    }
    c.passo = ler.real(caixa::passo);
    c.quadros = ler.realTruncado(caixa::quadros, "iteration count");
    c.intervalo = ler.realTruncado(caixa::intervalo, "recording interval");
    c.tempo = ler.real(caixa::tempo);

    const int n = static_cast<int>(f.restricoes.size());
    c.restricoes.reserve(f.restricoes.size());
    for (int k = 0; k < n; ++k) c.restricoes.push_back(ler.restricao(k));

    naOrigem(OrigemEntrada{caixaDaForma(c)}, [&] { verificarForma(c); });
    naOrigem(OrigemEntrada{!(c.massa > 0.0) ? caixa::massa : !(c.passo > 0.0) ? caixa::passo : caixa::quadros},
             [&] { verificarValores(c); });
    naOrigem(OrigemEntrada{c.intervalo < 1 ? caixa::intervalo : caixa::quadros},
             [&] { verificarGravacao(c.quadros, c.intervalo); });
    return c;
}

}  // namespace tevra
