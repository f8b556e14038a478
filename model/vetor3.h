#pragma once

namespace tevra {

// Three doubles: accelerations, velocities, forces, and the view's rotation, scale and lights.
struct Vetor3 {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;

    double& operator[](int c) { return c == 0 ? x : (c == 1 ? y : z); }
    double operator[](int c) const { return c == 0 ? x : (c == 1 ? y : z); }
    bool operator==(const Vetor3&) const = default;
};

}  // namespace tevra
