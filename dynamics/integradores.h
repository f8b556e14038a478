#pragma once

#include "model/obj_deformavel.h"

namespace tevra {

// One whole time step of each integrator from the current state: the metric and area of the
// positions, then every force evaluation the integrator needs, each fused with its stage, and
// the normals of the new positions. The restriction table of the step is already built.
// Held components never change. Each leaves `naoFinito` set when a position or velocity is
// not finite afterwards.
void passoEuler(ObjDeformavel& obj);
void passoPontoMedio(ObjDeformavel& obj, int numPasso);
void passoRungeKutta(ObjDeformavel& obj, int numPasso);
void passoLeapfrog(ObjDeformavel& obj, int numPasso);
void passoVerlet(ObjDeformavel& obj);
// A solver code that names no integrator: the forces are evaluated (the dumps print them),
// nothing moves.
void passoSemIntegrador(ObjDeformavel& obj);

}  // namespace tevra
