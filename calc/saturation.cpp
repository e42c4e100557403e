// Saturation vapour content of air: three fitted curves, one per temperature range.
#include <array>
#include <cmath>

#include "calc/extended.h"
#include "calc/slab.h"

namespace {

using vilo::calc::Ext;

// Frost range (T < 0): a * exp(-(b - T)^2 / (2 c^2)).
constexpr float FrostA = 1130.7107f;
constexpr float FrostB = 138.56891f;
constexpr float FrostC = 41.96504f;

// Main range (0 <= T <= 100), coefficient k of T^k.
constexpr std::array<float, 10> MainCoefficients = {
    4.835882f,       0.3767354f,      -0.002939927f,   0.001715012f,   -8.735158e-05f,
    2.8583818e-06f,  -5.3015345e-08f, 5.7253197e-10f,  -3.3201042e-12f, 7.984423e-15f,
};

// High range (T > 100), coefficient m of T^m.
constexpr std::array<float, 8> HighCoefficients = {
    -41214.117f,     1955.2039f,      -38.95306f,      0.42303854f,
    -0.0026963877f,  1.0132248e-05f,  -2.0671395e-08f, 1.7711532e-11f,
};

// Sum c1*T + c0 + c2*T^2 + ... with the powers formed by repeated multiplication;
// the sum stays extended throughout.
template <std::size_t N>
Ext Polynomial(const std::array<float, N>& coefficients, float temperatureC)
{
    const Ext t = temperatureC;
    Ext sum = coefficients[1] * t + coefficients[0];
    Ext power = t;
    for (std::size_t k = 2; k < N; ++k) {
        power = power * t;
        sum = sum + power * coefficients[k];
    }
    return sum;
}

}  // namespace

float SaturationVapourContent(float TemperatureC)
{
    using namespace vilo::calc;
    const float t = Finite(TemperatureC);
    if (t < 0) {
        const Ext distance = Ext(FrostB) - t;
        const Ext exponent = -(distance * distance) / (Ext(FrostC) * FrostC * 2);
        return Round(expl(exponent) * FrostA);
    }
    if (t <= 100)
        return Round(Polynomial(MainCoefficients, t));
    return Round(Polynomial(HighCoefficients, t));
}
