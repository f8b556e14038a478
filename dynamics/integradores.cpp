#include "dynamics/integradores.h"

#include "dynamics/varredura.h"

namespace tevra {

namespace {

using nucleo::Etapa;

// The last evaluation of a step: it fills the dumps' arrays when something asked for them
// (the data dumps, an export).
void ultimaAvaliacao(ObjDeformavel& o, Etapa e) {
    OpcoesVarredura op;
    op.etapa = e;
    op.guardarDados = o.temDados();
    o.naoFinito = varrer(o, op);
}

void avaliacaoIntermediaria(ObjDeformavel& o, Etapa e) {
    OpcoesVarredura op;
    op.etapa = e;
    op.metricaDepois = true;
    varrer(o, op);
}

// Area and density of the positions the step starts from: every stress term waits for them.
void inicioDoPasso(ObjDeformavel& o) {
    if (o.flagDados == 1) o.prepararDados();
    o.calcularRaizes(o.pos);
    o.atualizarArea();
}

}  // namespace

void passoEuler(ObjDeformavel& o) {
    inicioDoPasso(o);
    ultimaAvaliacao(o, Etapa::Euler);
}

// The velocity kick is half a step: the stored velocity is the half-step one, which is
// what the leapfrog start needs. The forces of the starting positions move nothing here,
// and everything they would fill is filled again at the half step: they are not computed.
void passoPontoMedio(ObjDeformavel& o, int /*numPasso*/) {
    if (o.flagDados == 1) o.prepararDados();
    deslocarMeioPasso(o);
    ultimaAvaliacao(o, Etapa::MedioVolta);
}

// Each increment is dt times the velocity after its stage's kick.
void passoRungeKutta(ObjDeformavel& o, int /*numPasso*/) {
    inicioDoPasso(o);
    avaliacaoIntermediaria(o, Etapa::RungeKutta1);
    avaliacaoIntermediaria(o, Etapa::RungeKutta2);
    avaliacaoIntermediaria(o, Etapa::RungeKutta3);
    ultimaAvaliacao(o, Etapa::RungeKutta4);
}

void passoLeapfrog(ObjDeformavel& o, int numPasso) {
    if (numPasso == 1) {
        passoPontoMedio(o, numPasso);
        return;
    }
    inicioDoPasso(o);
    ultimaAvaliacao(o, Etapa::Leapfrog);
}

// posAnterior holds the previous positions; on step 1 those are the initial ones.
void passoVerlet(ObjDeformavel& o) {
    inicioDoPasso(o);
    ultimaAvaliacao(o, Etapa::Verlet);
}

void passoSemIntegrador(ObjDeformavel& o) {
    inicioDoPasso(o);
    ultimaAvaliacao(o, Etapa::Nenhuma);
}

}  // namespace tevra
