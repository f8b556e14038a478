#include "app/cena/configuracao.h"

#include <cmath>
#include <charconv>
#include <new>
#include <optional>
#include <string>
#include <unistd.h>

#include "base/conversao.h"
#include "dynamics/simulacao.h"
#include "model/solver.h"

namespace tevra {

namespace {

int inteiro(const std::string& texto) {
    const std::optional<int> v = paraInteiro(texto);
    if (!v) throw ErroConfiguracao(mensagemInteiroInvalido(texto));
    return *v;
}

double real(const std::string& texto, char sep) {
    const std::optional<double> v = paraReal(texto, sep);
    if (!v) throw ErroConfiguracao(mensagemRealInvalido(texto));
    return *v;
}

// A real value truncated toward zero; "1e4" gives 10000 and "2.9" gives 2.
int realTruncado(const std::string& texto, char sep, const char* nome) {
    const double v = std::trunc(real(texto, sep));
    if (!(v >= -2147483648.0 && v <= 2147483647.0))
        throw ErroConfiguracao("'" + texto + "' is too large for the " + nome);
    return static_cast<int>(v);
}

std::string emBytes(unsigned long long b) {
    const char* unidades[] = {"bytes", "KB", "MB", "GB", "TB", "PB", "EB"};
    double v = static_cast<double>(b);
    int u = 0;
    while (v >= 1024.0 && u < 6) {
        v /= 1024.0;
        ++u;
    }
    // to_chars: the user's locale must not turn the point into a comma here either.
    char buf[32];
    auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, u == 0 ? 0 : 1);
    return std::string(buf, r.ptr) + " " + unidades[u];
}

std::unique_ptr<ObjDeformavel> construir(int gi, int gj, int solver) {
    const std::string grade = std::to_string(gi) + " x " + std::to_string(gj);
    if (gi < 2 || gj < 2)
        throw ErroConfiguracao("The grid must have at least 2 nodes along i and along j; " + grade + " is too small");
    const unsigned long long precisa = ObjDeformavel::bytesNecessarios(gi, gj, solver);
    const unsigned long long tem = memoriaFisica();
    const bool caberIndice = static_cast<long long>(gi) * gj <= 2147483647LL / 16;
    if (!caberIndice || (tem > 0 && precisa > tem))
        throw ErroConfiguracao("A grid of " + grade + " nodes needs " + emBytes(precisa) +
                               " of memory; this machine has " + emBytes(tem));
    try {
        return std::make_unique<ObjDeformavel>(gi, gj, solver);
    } catch (const std::bad_alloc&) {
        throw ErroConfiguracao("A grid of " + grade + " nodes needs " + emBytes(precisa) +
                               " of memory, which could not be allocated");
    }
}

}  // namespace

unsigned long long memoriaFisica() {
    const long paginas = sysconf(_SC_PHYS_PAGES);
    const long tamanho = sysconf(_SC_PAGE_SIZE);
    if (paginas <= 0 || tamanho <= 0) return 0;
    return static_cast<unsigned long long>(paginas) * static_cast<unsigned long long>(tamanho);
}

std::unique_ptr<ObjDeformavel> criarObjeto(const FormularioCena& f, char sep) {
    const std::optional<int> solver = codigoSolver(f.solver);
    if (!solver)
        throw ErroConfiguracao("'" + f.solver +
                               "' is not a solver; choose Semi-explicit Euler, Midpoint, Runge-Kutta, Leapfrog or Verlet");
    const int gj = inteiro(f.texto(caixa::grade_j));
    const int gi = inteiro(f.texto(caixa::grade_i));
    std::unique_ptr<ObjDeformavel> o = construir(gi, gj, *solver);

    o->massa = real(f.texto(caixa::massa), sep);
    for (int a = 0; a < 4; ++a) o->eta[a / 2][a % 2] = real(f.texto(caixa::eta[a]), sep);
    for (int a = 0; a < 4; ++a) o->qsi[a / 2][a % 2] = real(f.texto(caixa::qsi[a]), sep);
    for (int a = 0; a < 4; ++a) o->psi[a / 2][a % 2] = real(f.texto(caixa::psi[a]), sep);
    o->objeto = (f.objeto == "plano") ? ObjetoPlano : ObjetoCilindro;
    if (o->objeto == ObjetoPlano) {
        for (int c = 0; c < 3; ++c) o->comp[c] = real(f.texto(caixa::comp[c]), sep);
    } else {
        o->raio = real(f.texto(caixa::raio), sep);
        o->comprimento = real(f.texto(caixa::comprimento), sep);
    }
    o->gama = real(f.texto(caixa::gama), sep);
    for (int c = 0; c < 3; ++c) o->velInicial[c] = real(f.texto(caixa::vel[c]), sep);
    for (int c = 0; c < 3; ++c) o->acel[c] = real(f.texto(caixa::acel[c]), sep);
    if (!f.texto(caixa::fluido_cte).empty()) {
        for (int c = 0; c < 3; ++c) o->fluido[c] = real(f.texto(caixa::fluido[c]), sep);
        o->fluido_cte = real(f.texto(caixa::fluido_cte), sep);
        o->fluidoAtivo = 1;
    }
    o->passo = real(f.texto(caixa::passo), sep);
    o->quadros = realTruncado(f.texto(caixa::quadros), sep, "iteration count");
    o->intervalo = realTruncado(f.texto(caixa::intervalo), sep, "recording interval");
    o->tempo = real(f.texto(caixa::tempo), sep);

    o->nRestricoes = static_cast<int>(f.restricoes.size());
    o->restricoes.resize(f.restricoes.size());
    for (std::size_t r = 0; r < f.restricoes.size(); ++r) {
        const auto& linha = f.restricoes[r];
        Restricao& rest = o->restricoes[r];
        rest.u = inteiro(linha[0]);
        rest.v = inteiro(linha[1]);
        rest.tipo = (linha[2] == "forca") ? RestricaoForca : RestricaoFixa;
        rest.inicio = inteiro(linha[3]);
        rest.fim = inteiro(linha[4]);
        for (int c = 0; c < 3; ++c) {
            if (rest.tipo == RestricaoForca)
                rest.forca[c] = real(linha[5 + c], sep);
            else
                rest.eixo[c] = inteiro(linha[5 + c]);
        }
    }

    // A surface without area has no density and no differences to divide by.
    if (o->objeto == ObjetoPlano) {
        if (o->comp[0] == 0.0 || (o->comp[1] == 0.0 && o->comp[2] == 0.0))
            throw ErroConfiguracao("The sheet has no area: its x extent and its y or z extent must not be 0");
    } else if (o->raio == 0.0 || o->comprimento == 0.0) {
        throw ErroConfiguracao("The tube has no area: its radius and its length must not be 0");
    }
    if (auto erro = verificarGravacao(o->quadros, o->intervalo)) throw ErroConfiguracao(*erro);
    return o;
}

}  // namespace tevra
