#pragma once

// The tables the two builds of the number writer share (numero_texto.cpp, one value at a time,
// and numero_texto_avx2.cpp, four): both must take the same steps to give the same bytes.

#include <array>
#include <cstdint>
#include <limits>

namespace tevra::texto {

// Exact powers of ten: every one up to 1e22 is a double without rounding.
inline constexpr double kPotencias[23] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                          1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// The decimal exponent x of a double with binary exponent field e, or one less: its binary
// exponent times log10(2) (78913 / 2^18). |v| * 10^(5 - x) then lies in [1e5, 1e7).
constexpr int expoenteDecimal(int e) { return ((e - 1023) * 78913) >> 18; }

// By exponent field, 10^(4 - x) where x runs from -17 to 4: there both powers a value can
// need, 10^(5 - x) and 10^(4 - x), are exact, and the first is the second times ten without
// rounding. Every value of such a binade lands in [1e5, 1e6) scaled by one of the two (the
// ends are tested: rounding is monotonic). Zero for the zero field, so that zero scales to
// zero; elsewhere not a number, which fails the writers' tie test and sends the value
// (large, tiny, infinite or not a number) to the general path.
inline constexpr std::array<double, 2048> kEscalas = [] {
    std::array<double, 2048> t{};
    for (int e = 0; e < 2048; ++e) {
        const int x = expoenteDecimal(e);
        t[e] = e == 0 ? 0.0 : std::numeric_limits<double>::quiet_NaN();
        if (e == 0 || e == 0x7ff || x < -17 || x > 4) continue;
        double menor = 1.0;
        for (int k = 1023; k < e; ++k) menor *= 2;
        for (int k = e; k < 1023; ++k) menor /= 2;
        const double maior = menor * (2 - 0x1p-52);
        if (menor * kPotencias[5 - x] < 1e5 || maior * kPotencias[4 - x] >= 1e6) continue;
        t[e] = kPotencias[4 - x];
    }
    return t;
}();

// Half an integer less what the scaled value may be off by (under 6e-11: one rounding below
// 1e6): a rounded value whose distance to its integer is under this rounds as the exact one.
inline constexpr double kForaDoEmpate = 0.5 - 1e-9;

inline constexpr std::uint64_t kZeros = 0x303030303030ULL;          // "000000"
inline constexpr std::uint64_t kZeroPonto = 0x3030303030302e30ULL;  // "0.000000"

}  // namespace tevra::texto
