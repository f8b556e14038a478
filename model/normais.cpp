#include <cmath>

#include "model/obj_deformavel.h"

namespace tevra {

namespace {

// Neighbour pairs around a node, in quadrant order: (+i, +j), (+j, -i), (-i, -j), (-j, +i).
constexpr int kParDi[4][2] = {{+1, 0}, {0, -1}, {-1, 0}, {0, +1}};
constexpr int kParDj[4][2] = {{0, +1}, {+1, 0}, {0, -1}, {-1, 0}};

// Components below this are noise of the subtraction and are cleaned before normalising.
constexpr double kLimpeza = 1e-7;
// A quadrant is degenerate when sin^2 of the angle between its edges is not above this.
// Scaled by the edge lengths so that fine grids keep their normals.
constexpr double kSenoQuadrado = 1e-7;

}  // namespace

void ObjDeformavel::calcularNormais(int /*numPasso*/) {
    const int gi = grade_i;
    const int gj = grade_j;
    const double* px = pos[0];
    const double* py = pos[1];
    const double* pz = pos[2];

#pragma omp parallel for schedule(static)
    for (int i = 0; i < gi; ++i) {
        for (int j = 0; j < gj; ++j) {
            const int idx = i * gj + j;
            double n[3] = {0.0, 0.0, 0.0};
            for (int q = 0; q < 4; ++q) {
                const int i1 = i + kParDi[q][0], j1 = j + kParDj[q][0];
                const int i2 = i + kParDi[q][1], j2 = j + kParDj[q][1];
                if (i1 < 0 || i1 >= gi || j1 < 0 || j1 >= gj || i2 < 0 || i2 >= gi || j2 < 0 || j2 >= gj) {
                    nos.normalQuadrante[q][0][idx] = 0.0;
                    nos.normalQuadrante[q][1][idx] = -10.0;
                    nos.normalQuadrante[q][2][idx] = 0.0;
                    continue;
                }
                const int v1 = i1 * gj + j1;
                const int v2 = i2 * gj + j2;
                const double e1[3] = {px[v1] - px[idx], py[v1] - py[idx], pz[v1] - pz[idx]};
                const double e2[3] = {px[v2] - px[idx], py[v2] - py[idx], pz[v2] - pz[idx]};
                double c[3];
                for (int k = 0; k < 3; ++k) {
                    const int a = (k + 1) % 3, b = (k + 2) % 3;
                    c[k] = e1[a] * e2[b] - e1[b] * e2[a];
                    if (std::fabs(c[k]) <= kLimpeza) c[k] = 0.0;
                }
                const double len2 = c[0] * c[0] + c[1] * c[1] + c[2] * c[2];
                const double l1 = e1[0] * e1[0] + e1[1] * e1[1] + e1[2] * e1[2];
                const double l2 = e2[0] * e2[0] + e2[1] * e2[1] + e2[2] * e2[2];
                if (len2 > kSenoQuadrado * l1 * l2) {
                    const double len = std::sqrt(len2);
                    for (int k = 0; k < 3; ++k) c[k] = c[k] / len;
                } else {
                    c[0] = c[1] = c[2] = 0.0;
                }
                for (int k = 0; k < 3; ++k) {
                    nos.normalQuadrante[q][k][idx] = c[k];
                    n[k] = n[k] + c[k];
                }
            }
            const double len2 = n[0] * n[0] + n[1] * n[1] + n[2] * n[2];
            if (len2 > kLimpeza) {
                const double len = std::sqrt(len2);
                for (int k = 0; k < 3; ++k) nos.normal[k][idx] = n[k] / len;
            } else {
                for (int k = 0; k < 3; ++k) nos.normal[k][idx] = 0.0;
            }
        }
    }
}

}  // namespace tevra
