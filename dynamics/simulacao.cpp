#include "dynamics/simulacao.h"

#include "base/limites.h"
#include "base/nomes_arquivos.h"
#include "base/pasta_saida.h"
#include "dynamics/arquivos.h"
#include "dynamics/divergencia.h"
#include "dynamics/forcas.h"
#include "dynamics/gravador_quadros.h"
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

namespace {

// A value frame `q` would print that is not finite, as a divergence of step `passo`.
std::optional<Divergencia> quadroNaoFinito(const VistaQuadro& q, const ObjDeformavel& o, int passo) {
    const std::optional<NaoFinito> v = primeiroNaoFinito(q);
    if (!v) return std::nullopt;
    Divergencia d;
    d.passo = passo;
    d.tempo = passo * o.passo;
    d.i = v->no < 0 ? -1 : v->no / o.grade_j;
    d.j = v->no < 0 ? -1 : v->no % o.grade_j;
    d.grandeza = v->grandeza;
    return d;
}

}  // namespace

ResultadoSimulacao simular(ObjDeformavel& o, const OpcoesSimulacao& op) {
    ResultadoSimulacao res;
    // True when f is a failure: the run stops there.
    auto anotar = [&res](Escrita f) {
        if (!f) return false;
        if (res.falhas++ == 0) res.primeiraFalha = std::move(f);
        return true;
    };
    if (anotar(prepararPastaSaida(op.pasta))) return res;
    Limpeza limpeza = removerSerieAnterior(op.pasta);
    res.removidos = limpeza.removidos;
    if (anotar(std::move(limpeza.falha))) return res;

    o.passoAtual = 1;
    o.inicializar();
    // Values too large for the surface itself (a tube of radius 1e308) show before any step.
    if ((res.divergencia = quadroNaoFinito(vistaDoObjeto(o, 1, false), o, 0))) {
        res.passoFinal = o.passoAtual;
        return res;
    }
    if (op.inicio) op.inicio(o);
    GravadorQuadros gravador(op.pasta, o.flagDados == 1, op.quadroNoDisco, op.quadroCopiado);
    const std::filesystem::path pontos = op.pasta / kPadraoPontos;
    int quadro = 1;
    // Frame `quadro` to the writer, then to the per-frame callback while the object still
    // holds it; false when the run must stop: a write failed, or a value the frame would
    // print is not finite (res.divergencia then tells which, as one of step `passo`).
    auto entregar = [&](int passo) {
        CopiaQuadro* c = gravador.reservar();
        if (!c) return false;
        if (!gravador.enviar(c, o, quadro)) {
            res.divergencia = quadroNaoFinito(c->vista(), o, passo);
            gravador.devolver(c);
            return false;
        }
        const int n = quadro++;
        return !(op.quadroGravado && anotar(op.quadroGravado(o, n, nomeArquivoQuadro(pontos, n))));
    };

    bool seguir = entregar(0);
    const int total = passosDaSimulacao(o.quadros);
    for (int i = 1; seguir && i < o.quadros && !gravador.falhou(); ++i) {
        avancarPasso(o, i);
        res.passos = i;
        if (algumNaoFinito(o)) {
            res.divergencia = localizarNaoFinito(o, i);
            break;
        }
        if (o.intervalo > 0 && i % o.intervalo == 0) {
            seguir = entregar(i);
            if (res.divergencia) break;
        }
        if (op.progresso) op.progresso(i, total);
        if (op.cancelar && op.cancelar->load(std::memory_order_relaxed) && i + 1 < o.quadros) {
            res.cancelado = true;
            break;
        }
    }
    GravadorQuadros::Balanco balanco = gravador.concluir();
    res.quadros = balanco.quadros;
    anotar(std::move(balanco.falha));
    res.passoFinal = o.passoAtual;
    return res;
}

}  // namespace tevra
