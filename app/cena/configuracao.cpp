#include "app/cena/configuracao.h"

#include <charconv>
#include <new>

#include "app/cena/conversao_cena.h"
#include "app/cena/escrita_script.h"
#include "base/erros.h"
#include "base/limites.h"
#include "base/memoria.h"
#include "base/texto_imprimivel.h"
#include "dynamics/gravador_quadros.h"

namespace tevra {

namespace {

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

std::string textoGrade(int gi, int gj) { return std::to_string(gi) + " x " + std::to_string(gj); }

void copiar(const double (&de)[2][2], double (&para)[2][2]) {
    for (int k = 0; k < 2; ++k)
        for (int l = 0; l < 2; ++l) para[k][l] = de[k][l];
}

}  // namespace

std::string mensagemSolverDesconhecido(std::string_view texto) {
    // Appended piece by piece: GCC 12 warns falsely about "'" + s + "...".
    std::string m(1, '\'');
    m += textoImprimivel(texto);
    m += "' is not a solver; choose ";
    const int n = static_cast<int>(std::size(nomesSolver));
    for (int k = 0; k < n; ++k) {
        m += nomesSolver[k];
        if (k + 2 < n)
            m += ", ";
        else if (k + 2 == n)
            m += " or ";
    }
    return m;
}

void verificarGrade(int gi, int gj, int solver, bool dados) {
    if (gi < 2 || gj < 2)
        throw ErroEntrada("The grid must have at least 2 nodes along i and along j; " + textoGrade(gi, gj) +
                          " is too small");
    const bool cabeIndice = static_cast<long long>(gi) * gj <= 2147483647LL / 16;
    // The surface, and the frame writer's copies and text.
    const unsigned long long precisa =
        ObjDeformavel::bytesNecessarios(gi, gj, solver) +
        static_cast<unsigned long long>(gi) * static_cast<unsigned long long>(gj) * GravadorQuadros::bytesPorNo(dados);
    const unsigned long long tem = memoriaDisponivel();
    if (!cabeIndice || (tem > 0 && precisa > tem))
        throw ErroEntrada("A grid of " + textoGrade(gi, gj) + " nodes needs " + emBytes(precisa) + " of memory" +
                          (dados ? " with the data dumps" : "") + "; " + emBytes(tem) + " is available");
}

void verificarValores(const Cena& c) {
    // Written so that a value that is not a number is refused too.
    if (!(c.massa > 0.0)) throw ErroEntrada("The mass must be greater than 0 (it is " + textoReal(c.massa) + ")");
    if (!(c.passo > 0.0)) throw ErroEntrada("The time step must be greater than 0 (it is " + textoReal(c.passo) + ")");
    if (c.quadros < 0)
        throw ErroEntrada("The iteration count must not be negative (it is " + std::to_string(c.quadros) + ")");
}

void verificarForma(const Cena& c) {
    // A surface without area has no density and no differences to divide by.
    if (c.objeto == ObjetoPlano) {
        if (c.comp[0] == 0.0 || (c.comp[1] == 0.0 && c.comp[2] == 0.0))
            throw ErroEntrada("The sheet has no area: its x extent and its y or z extent must not be 0");
    } else if (c.raio == 0.0 || c.comprimento == 0.0) {
        throw ErroEntrada("The tube has no area: its radius and its length must not be 0");
    }
}

void verificarGravacao(int quadros, int intervalo) {
    if (intervalo < 1)
        throw ErroEntrada("The recording interval must be at least 1 (it is " + std::to_string(intervalo) + ")");
    const long long n = quadrosDaSimulacao(quadros, intervalo);
    if (n > kMaxQuadros)
        throw ErroEntrada("This run would write " + std::to_string(n) + " frames; at most " +
                          std::to_string(kMaxQuadros) +
                          " fit the four-digit file names (raise the interval or lower the iterations)");
}

void verificarCena(const Cena& c) {
    if (!nomeSolver(c.solver)) throw ErroEntrada("Solver code " + std::to_string(c.solver) + " names no integrator");
    verificarGrade(c.grade_i, c.grade_j, c.solver);
    verificarForma(c);
    verificarValores(c);
    verificarGravacao(c.quadros, c.intervalo);
}

std::unique_ptr<ObjDeformavel> criarObjeto(const Cena& c) {
    verificarCena(c);
    return construirObjeto(c);
}

std::unique_ptr<ObjDeformavel> construirObjeto(const Cena& c) {
    std::unique_ptr<ObjDeformavel> o;
    try {
        o = std::make_unique<ObjDeformavel>(c.grade_i, c.grade_j, c.solver);
    } catch (const std::bad_alloc&) {
        throw ErroEntrada("A grid of " + textoGrade(c.grade_i, c.grade_j) + " nodes needs " +
                          emBytes(ObjDeformavel::bytesNecessarios(c.grade_i, c.grade_j, c.solver)) +
                          " of memory, which could not be allocated");
    }
    o->massa = c.massa;
    copiar(c.eta, o->eta);
    copiar(c.qsi, o->qsi);
    copiar(c.psi, o->psi);
    o->objeto = c.objeto;
    for (int k = 0; k < 3; ++k) o->comp[k] = c.comp[k];
    o->raio = c.raio;
    o->comprimento = c.comprimento;
    o->gama = c.gama;
    o->velInicial = c.velInicial;
    o->acel = c.acel;
    if (c.fluidoAtivo) {
        o->fluido = c.fluido;
        o->fluido_cte = c.fluido_cte;
        o->fluidoAtivo = 1;
    }
    o->passo = c.passo;
    o->quadros = c.quadros;
    o->intervalo = c.intervalo;
    o->tempo = c.tempo;
    o->restricoes = c.restricoes;
    o->nRestricoes = static_cast<int>(c.restricoes.size());
    return o;
}

std::unique_ptr<ObjDeformavel> criarObjeto(const FormularioCena& form, char separador) {
    return criarObjeto(converterCena(form, separador));
}

}  // namespace tevra
