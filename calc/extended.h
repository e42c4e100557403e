// Checked extended-precision arithmetic shared by the calculation's formulas.
// Inside a formula values stay long double; a named quantity is rounded to
// float when formed. Faults are detected here instead of producing inf/NaN.
#pragma once

#include <cmath>

#include "calc/slab.h"

namespace vilo::calc {

using Ext = long double;

// Quotient with the two division faults the calculation reports.
inline Ext Div(Ext dividend, Ext divisor)
{
    if (divisor == 0) {
        if (dividend == 0)
            throw FloatingPointError::Invalid();
        throw FloatingPointError::DivisionByZero();
    }
    return dividend / divisor;
}

// Rounds a formula's value to the float that names it; beyond float is an overflow.
inline float Round(Ext value)
{
    if (std::isnan(value))
        throw FloatingPointError::Invalid();
    const float rounded = static_cast<float>(value);
    if (std::isinf(rounded))
        throw FloatingPointError::Overflow();
    return rounded;
}

// Inputs that are not finite never reach a formula.
inline float Finite(float value)
{
    if (!std::isfinite(value))
        throw FloatingPointError::Invalid();
    return value;
}

}  // namespace vilo::calc
