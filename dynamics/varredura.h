#pragma once
// The step's sweeps. Each thread takes a band of rows and carries every row through metric,
// curvature, stress terms, their divergences, the internal and external forces and the
// integrator stage, keeping the few rows the next one needs in buffers of its own; the rows
// just outside its band it computes again rather than wait for its neighbours. After one
// barrier the threads take the normals (and, when another evaluation follows, sqrt(detG))
// of the new positions. One parallel region per evaluation; the area, a running sum in grid
// order that every stress term waits for, is added up between regions by the calling thread.

#include "dynamics/nucleo_forcas.h"
#include "model/caminho.h"
#include "model/obj_deformavel.h"

namespace tevra {

struct OpcoesVarredura {
    nucleo::Etapa etapa = nucleo::Etapa::Nenhuma;
    bool metricaDepois = false;  // area of the new positions: another evaluation follows
    bool guardarDados = false;   // fill the data dumps' arrays
    bool limpar = true;          // drop elastic terms of magnitude 1e-7 or less before the stage
};

// One force evaluation of the current positions (their area already computed)
// fused with an integrator stage, then the normals of the new positions, which become the
// object's. True when a new position or velocity is not finite.
bool varrer(ObjDeformavel& o, const OpcoesVarredura& op);

// The forces of the current positions (their area already computed) into the
// object's arrays, nothing moved: what calcularForcas leaves.
void avaliarForcas(ObjDeformavel& o, bool limpar);

// The midpoint's first half, which needs no force: every free component saved and moved half
// a step, then the normals and area of the moved positions.
void deslocarMeioPasso(ObjDeformavel& o);

// A row's stage (dynamics/etapa_linha.cpp): the stage kernels' view of row r (the positions `novo` receives the stage's
// result).
nucleo::LinhaEtapa linhaEtapa(ObjDeformavel& o, int r, double* const novo[3]);
nucleo::ParametrosEtapa parametrosEtapa(const ObjDeformavel& o, nucleo::Etapa e);
// Runs a stage over the columns [j0, j1) of row r, the restricted nodes through their own
// kernel; true as varrer.
bool etapaNaLinha(const ObjDeformavel& o, const nucleo::TabelaForcas& k, const nucleo::ParametrosEtapa& p,
                  const nucleo::LinhaEtapa& L, int r, int j0, int j1);

// The width of the column blocks a band is swept in (0: the engine's own); tests make it
// small so that small grids have several.
void definirColunasPorBloco(int n);

const nucleo::TabelaForcas& tabelaForcas(Caminho c);

}  // namespace tevra
