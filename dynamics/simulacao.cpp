#include "dynamics/simulacao.h"

#include <system_error>

#include "base/limites.h"
#include "base/nomes_arquivos.h"
#include "dynamics/arquivos.h"
#include "dynamics/integradores.h"
#include "dynamics/restricoes.h"
#include "model/solver.h"

namespace tevra {

namespace {

void integrar(ObjDeformavel& o, int i) {
    switch (o.solver) {
        case SolverEulerSemiExplicito: passoEuler(o); break;
        case SolverPontoMedio: passoPontoMedio(o, i); break;
        case SolverRungeKutta: passoRungeKutta(o, i); break;
        case SolverVerlet: passoVerlet(o); break;
        case SolverLeapfrog: passoLeapfrog(o, i); break;
        default: passoSemIntegrador(o); break;  // the nodes stay where they are
    }
}

}  // namespace

// The integrator's step carries the geometry, the forces and the normals of the new
// positions in its sweeps (dynamics/varredura.h).
void avancarPasso(ObjDeformavel& o, int i) {
    ++o.passoAtual;
    atualizarRestricoes(o);
    integrar(o, i);
}

ResultadoSimulacao simular(ObjDeformavel& o, const OpcoesSimulacao& op) {
    ResultadoSimulacao res;
    auto anotar = [&res](Escrita f) {
        if (!f) return;
        if (res.falhas++ == 0) res.primeiraFalha = std::move(f);
    };
    std::error_code ec;
    std::filesystem::create_directories(op.pasta, ec);
    const std::filesystem::path pontos = op.pasta / kPadraoPontos;
    auto gravarQuadroDaVez = [&](int quadro) {
        anotar(gravarQuadro(o, pontos, quadro));
        ++res.quadros;
        if (o.flagDados == 1 && quadro > 1) anotar(gravarDados(o, op.pasta / kPadraoDedos, quadro));
        if (op.quadroGravado) anotar(op.quadroGravado(o, quadro, nomeArquivoQuadro(pontos, quadro)));
    };

    o.passoAtual = 1;
    o.inicializar();
    if (o.flagDados == 1) anotar(gravarDados(o, op.pasta / kPadraoDados, 1));
    int quadro = 1;
    gravarQuadroDaVez(quadro++);

    const int total = passosDaSimulacao(o.quadros);
    for (int i = 1; i < o.quadros; ++i) {
        avancarPasso(o, i);
        if (o.intervalo > 0 && i % o.intervalo == 0) gravarQuadroDaVez(quadro++);
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
