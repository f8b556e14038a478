#pragma once

#include "model/obj_deformavel.h"

namespace tevra {

// One time step of each integrator. The forces of the current state are already computed;
// the multi-stage ones re-evaluate them between stages. Held components never change.
void passoEuler(ObjDeformavel& obj);
void passoPontoMedio(ObjDeformavel& obj, int numPasso);
void passoRungeKutta(ObjDeformavel& obj, int numPasso);
void passoLeapfrog(ObjDeformavel& obj, int numPasso);
void passoVerlet(ObjDeformavel& obj);

// Normals, geometry and forces for the positions as they now stand (no restriction update).
void reavaliarForcas(ObjDeformavel& obj, int numPasso);

}  // namespace tevra
