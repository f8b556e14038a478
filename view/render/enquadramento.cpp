#include "view/render/enquadramento.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tevra {

void Caixa::incluir(const QuadroCompacto& q) {
    const std::size_t n = q.numNos();
    for (std::size_t k = 0; k < n; ++k) {
        const Vetor3 p{q.pos[3 * k], q.pos[3 * k + 1], q.pos[3 * k + 2]};
        if (vazia) {
            min = max = p;
            vazia = false;
            continue;
        }
        min = {std::min(min.x, p.x), std::min(min.y, p.y), std::min(min.z, p.z)};
        max = {std::max(max.x, p.x), std::max(max.y, p.y), std::max(max.z, p.z)};
    }
}

namespace {

constexpr double kGrau = 3.14159265358979323846 / 180.0;

// The view turns a point by x, then y, then z (glRotate in that order): p' = Rx Ry Rz p.
Vetor3 girar(const Vetor3& rotacao, Vetor3 p) {
    auto eixo = [](double angulo, double& a, double& b) {
        const double c = std::cos(angulo * kGrau), s = std::sin(angulo * kGrau);
        const double na = c * a - s * b, nb = s * a + c * b;
        a = na;
        b = nb;
    };
    eixo(rotacao.z, p.x, p.y);
    eixo(rotacao.y, p.z, p.x);
    eixo(rotacao.x, p.y, p.z);
    return p;
}

// The view volume of the window's projections: the frustum (-8 .. 8 at the near plane 18,
// far plane 45) seen from the camera at z = 30, or the box -15 .. 15 on every axis.
constexpr double kCamera = 30, kPerto = 18, kLonge = 45, kLadoPerto = 8, kLadoOrto = 15;

}  // namespace

void enquadrar(const Caixa& caixa, EstadoVista& vista) {
    const Vetor3 c = caixa.vazia ? Vetor3{0, 0, 0} : caixa.centro();
    double s = std::numeric_limits<double>::infinity();
    // The picture is the image of the box's corners: the box is convex, and so is its projection.
    auto limitar = [&s](double numerador, double denominador) {
        if (denominador > 0) s = std::min(s, numerador / denominador);
    };
    for (int k = 0; k < 8 && !caixa.vazia; ++k) {
        const Vetor3 canto{(k & 1 ? caixa.max.x : caixa.min.x) - c.x, (k & 2 ? caixa.max.y : caixa.min.y) - c.y,
                           (k & 4 ? caixa.max.z : caixa.min.z) - c.z};
        const Vetor3 p = girar(vista.rotacao, canto);
        if (vista.perspectiva) {
            // x on the picture = (near / half side) * x / (camera - z), within the margin:
            // s * (2.25 |x| + m z) <= m * camera; likewise y. Depth: near <= camera - s z <= far.
            const double f = kPerto / kLadoPerto;
            limitar(kMargemEnquadramento * kCamera, f * std::abs(p.x) + kMargemEnquadramento * p.z);
            limitar(kMargemEnquadramento * kCamera, f * std::abs(p.y) + kMargemEnquadramento * p.z);
            limitar(0.99 * (kCamera - kPerto), p.z);
            limitar(0.99 * (kLonge - kCamera), -p.z);
        } else {
            limitar(kMargemEnquadramento * kLadoOrto, std::abs(p.x));
            limitar(kMargemEnquadramento * kLadoOrto, std::abs(p.y));
            limitar(0.99 * kLadoOrto, std::abs(p.z));
        }
    }
    if (!std::isfinite(s) || s <= 0) s = 1;
    vista.escala = {s, s, s};
    // Translation comes before the scale in the view's transform: -s c puts the centre at the origin.
    vista.translacao = {-s * c.x, -s * c.y, -s * c.z};
}

}  // namespace tevra
