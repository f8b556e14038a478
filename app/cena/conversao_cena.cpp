#include "app/cena/conversao_cena.h"

#include <cmath>
#include <optional>
#include <string>

#include "app/cena/configuracao.h"
#include "base/conversao.h"
#include "base/erros.h"
#include "base/texto_imprimivel.h"

namespace tevra {

namespace {

int inteiro(const std::string& texto) {
    const std::optional<int> v = paraInteiro(texto);
    if (!v) throw ErroEntrada(mensagemInteiroInvalido(texto));
    return *v;
}

double real(const std::string& texto, char sep) {
    const std::optional<double> v = paraReal(texto, sep);
    if (!v) throw ErroEntrada(mensagemRealInvalido(texto));
    return *v;
}

// A real value truncated toward zero; "1e4" gives 10000 and "2.9" gives 2.
int realTruncado(const std::string& texto, char sep, const char* nome) {
    const double v = std::trunc(real(texto, sep));
    if (!(v >= -2147483648.0 && v <= 2147483647.0))
        throw ErroEntrada("'" + textoImprimivel(texto) + "' is too large for the " + nome);
    return static_cast<int>(v);
}

Restricao restricaoDaLinha(const std::array<std::string, 8>& linha, char sep) {
    Restricao r;
    r.u = inteiro(linha[0]);
    r.v = inteiro(linha[1]);
    r.tipo = (linha[2] == "forca") ? RestricaoForca : RestricaoFixa;
    r.inicio = inteiro(linha[3]);
    r.fim = inteiro(linha[4]);
    // The type is known before X, Y, Z: a force takes reals, a fixing integer switches.
    for (int c = 0; c < 3; ++c) {
        if (r.tipo == RestricaoForca)
            r.forca[c] = real(linha[5 + c], sep);
        else
            r.eixo[c] = inteiro(linha[5 + c]);
    }
    return r;
}

}  // namespace

Cena converterCena(const FormularioCena& f, char sep) {
    Cena c;
    const std::optional<int> solver = codigoSolver(f.solver);
    if (!solver) throw ErroEntrada(mensagemSolverDesconhecido(f.solver));
    c.solver = *solver;
    c.grade_j = inteiro(f.texto(caixa::grade_j));
    c.grade_i = inteiro(f.texto(caixa::grade_i));
    verificarGrade(c.grade_i, c.grade_j, c.solver);

    c.massa = real(f.texto(caixa::massa), sep);
    for (int a = 0; a < 4; ++a) c.eta[a / 2][a % 2] = real(f.texto(caixa::eta[a]), sep);
    for (int a = 0; a < 4; ++a) c.qsi[a / 2][a % 2] = real(f.texto(caixa::qsi[a]), sep);
    for (int a = 0; a < 4; ++a) c.psi[a / 2][a % 2] = real(f.texto(caixa::psi[a]), sep);
    c.objeto = (f.objeto == "plano") ? ObjetoPlano : ObjetoCilindro;
    if (c.objeto == ObjetoPlano) {
        for (int k = 0; k < 3; ++k) c.comp[k] = real(f.texto(caixa::comp[k]), sep);
    } else {
        c.raio = real(f.texto(caixa::raio), sep);
        c.comprimento = real(f.texto(caixa::comprimento), sep);
    }
    c.gama = real(f.texto(caixa::gama), sep);
    for (int k = 0; k < 3; ++k) c.velInicial[k] = real(f.texto(caixa::vel[k]), sep);
    for (int k = 0; k < 3; ++k) c.acel[k] = real(f.texto(caixa::acel[k]), sep);
    // Any text at all in "damp R", even a blank, switches the fluid on.
    if (!f.texto(caixa::fluido_cte).empty()) {
        for (int k = 0; k < 3; ++k) c.fluido[k] = real(f.texto(caixa::fluido[k]), sep);
        c.fluido_cte = real(f.texto(caixa::fluido_cte), sep);
        c.fluidoAtivo = true;
    }
    c.passo = real(f.texto(caixa::passo), sep);
    c.quadros = realTruncado(f.texto(caixa::quadros), sep, "iteration count");
    c.intervalo = realTruncado(f.texto(caixa::intervalo), sep, "recording interval");
    c.tempo = real(f.texto(caixa::tempo), sep);

    c.restricoes.reserve(f.restricoes.size());
    for (const auto& linha : f.restricoes) c.restricoes.push_back(restricaoDaLinha(linha, sep));

    verificarForma(c);
    verificarValores(c);
    verificarGravacao(c.quadros, c.intervalo);
    return c;
}

int inteiroDoTexto(const std::string& texto) { return inteiro(texto); }

double realDoTexto(const std::string& texto, char separador) { return real(texto, separador); }

int realTruncadoDoTexto(const std::string& texto, char separador, const char* nome) {
    return realTruncado(texto, separador, nome);
}

}  // namespace tevra
