#include "dynamics/simulacao.h"

#include <system_error>

#include "dynamics/arquivos.h"
#include "dynamics/forcas.h"
#include "dynamics/integradores.h"
#include "dynamics/restricoes.h"
#include "model/solver.h"

namespace tevra {

long long quadrosDaSimulacao(int quadros, int intervalo) {
    if (quadros < 1 || intervalo < 1) return 1;
    return 1 + (static_cast<long long>(quadros) - 1) / intervalo;
}

std::optional<std::string> verificarGravacao(int quadros, int intervalo) {
    if (intervalo < 1)
        return "The recording interval must be at least 1 (it is " + std::to_string(intervalo) + ")";
    const long long n = quadrosDaSimulacao(quadros, intervalo);
    if (n > kMaxQuadros)
        return "This run would write " + std::to_string(n) + " frames; at most " + std::to_string(kMaxQuadros) +
               " fit the four-digit file names (raise the interval or lower the iterations)";
    return std::nullopt;
}

namespace {

void integrar(ObjDeformavel& o, int i) {
    switch (o.solver) {
        case SolverEulerSemiExplicito: passoEuler(o); break;
        case SolverPontoMedio: passoPontoMedio(o, i); break;
        case SolverRungeKutta: passoRungeKutta(o, i); break;
        case SolverVerlet: passoVerlet(o); break;
        case SolverLeapfrog: passoLeapfrog(o, i); break;
        default: break;  // no integrator: the nodes stay where they are
    }
}

}  // namespace

void avancarPasso(ObjDeformavel& o, int i) {
    ++o.passoAtual;
    o.atualizarGeometria(i);
    atualizarRestricoes(o);
    calcularForcas(o, i);
    limparForcas(o, i);
    integrar(o, i);
    o.calcularNormais(i);
}

ResultadoSimulacao simular(ObjDeformavel& o, const OpcoesSimulacao& op) {
    ResultadoSimulacao res;
    auto anotar = [&res](const FalhaArquivo& f) {
        if (!f) return;
        if (res.falhas++ == 0) res.primeiraFalha = f.motivo;
    };
    std::error_code ec;
    std::filesystem::create_directories(op.pasta, ec);
    const std::filesystem::path pontos = op.pasta / kPadraoPontos;

    o.passoAtual = 1;
    o.inicializar();
    if (o.flagDados == 1) anotar(gravarDados(o, op.pasta / kPadraoDados, 1));
    int quadro = 1;
    anotar(gravarQuadro(o, pontos, quadro));
    ++res.quadros;
    if (op.quadroGravado) op.quadroGravado(quadro, nomeArquivoQuadro(pontos, quadro));
    ++quadro;

    const int total = o.quadros > 1 ? o.quadros - 1 : 0;
    for (int i = 1; i < o.quadros; ++i) {
        avancarPasso(o, i);
        if (o.intervalo > 0 && i % o.intervalo == 0) {
            anotar(gravarQuadro(o, pontos, quadro));
            ++res.quadros;
            if (o.flagDados == 1) anotar(gravarDados(o, op.pasta / kPadraoDedos, quadro));
            if (op.quadroGravado) op.quadroGravado(quadro, nomeArquivoQuadro(pontos, quadro));
            ++quadro;
        }
        res.passos = i;
        if (op.progresso) op.progresso(i, total);
        if (op.cancelar && op.cancelar->load(std::memory_order_relaxed) && i + 1 < o.quadros) {
            res.cancelado = true;
            break;
        }
    }
    res.passoFinal = o.passoAtual;
    return res;
}

}  // namespace tevra
