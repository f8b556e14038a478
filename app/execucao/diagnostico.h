#pragma once

#include <string>
#include <vector>

#include "dynamics/arquivos.h"
#include "model/nucleo.h"
#include "model/obj_deformavel.h"
#include "model/vetor3.h"

namespace tevra {

// How the surface stands at one recorded frame.
//
// Every node carries the same mass, the scene's total mass over the node count: the
// engine's `massa` is the total mass only until the first step, after which it holds the
// mass per unit of the current area, so the total is taken as the rest density times the
// rest area. The energies are those of point masses: no elastic energy (the model's forces
// are not the gradient of one).
struct Diagnostico {
    int quadro = 0;
    double tempo = 0.0;      // simulated time of the frame
    double cinetica = 0.0;   // sum of m |v|^2 / 2
    double potencial = 0.0;  // -sum m g . (x - x at frame 1): zero at frame 1
    double total = 0.0;      // cinetica + potencial
    double razaoArea = 0.0;  // area of the frame's positions over the rest area
    double maiorVelocidade = 0.0;
    double maiorDeslocamento = 0.0;  // largest distance of a node from where it started
    Vetor3 centro;                   // centre of mass
};

// Measures the frames of one run, in order; frame 1 (the first measured) fixes the rest
// positions and the zero of the potential energy. One sweep over the grid per frame, in
// grid order, on the calling thread: the values do not depend on the engine's threads.
class Diagnosticador {
public:
    // What stays fixed over the run (grid, spacing, gravity, mass) is taken from `obj` here.
    explicit Diagnosticador(const ObjDeformavel& obj);

    // A frame's copy that holds the velocities; any thread, one frame at a time.
    Diagnostico medir(const VistaQuadro& q);
    // The object as it stands, as frame `quadro`.
    Diagnostico medir(const ObjDeformavel& obj, int quadro);

private:
    void guardarRepouso(const VistaQuadro& q);

    nucleo::Grade grade_;
    Vetor3 acel_;
    double massaNo_;
    double area0_;
    double fator_;  // the area sum's weight of a cell corner

    std::vector<double> repouso_[3];
    std::vector<double> raizLinha_[2];  // sqrt(det G) of two rows of nodes, for the area
    std::vector<double> termos_[5];     // of one row: |v|^2, |x - x0|^2, g . (x - x0) by component
};

// The CSV's heading line and one frame's line (each ending in a line break); numbers in
// their shortest exact form with a point, whatever the locale.
std::string cabecalhoDiagnostico();
std::string linhaDiagnostico(const Diagnostico& d);

}  // namespace tevra
