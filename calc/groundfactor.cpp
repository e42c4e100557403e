// Ground factor u0: four fitted curves in the relative thickness s, one per
// anchor length ratio, interpolated linearly in the length ratio r.
#include <cmath>

#include "calc/extended.h"
#include "calc/slab.h"

namespace {

using vilo::calc::Ext;

struct TAnchorCurve {
    float C;
    float K;
    float P;
};

constexpr TAnchorCurve Anchor1 = {0.99988437f, 2.7815802f, 1.0508575f};
constexpr TAnchorCurve Anchor15 = {0.99922454f, 2.322887f, 1.0532802f};
constexpr TAnchorCurve Anchor2 = {0.99865633f, 2.136807f, 1.0633042f};
constexpr TAnchorCurve Anchor10 = {0.9987897f, 1.9094698f, 1.0620095f};

// s^p = exp(p ln s), formed from ln s so that two curves at the same s share one
// logarithm; s = 0 gives 0 and a negative s has no logarithm.
class TRelativeThickness {
public:
    explicit TRelativeThickness(float s) : IsZero(s == 0)
    {
        if (s < 0)
            throw FloatingPointError::Invalid();
        if (!IsZero)
            LnS = logl(Ext(s));
    }

    Ext Power(float p) const { return IsZero ? Ext(0) : expl(p * LnS); }

private:
    bool IsZero;
    Ext LnS = 0;
};

// u = 1 / (s^p * k + c), kept extended.
Ext Curve(const TAnchorCurve& anchor, const TRelativeThickness& s)
{
    return vilo::calc::Div(1, s.Power(anchor.P) * anchor.K + anchor.C);
}

Ext Interpolate(const TAnchorCurve& low, const TAnchorCurve& high, Ext factor,
                const TRelativeThickness& s)
{
    const Ext uLow = Curve(low, s);
    const Ext uHigh = Curve(high, s);
    return uLow + (uHigh - uLow) * factor;
}

}  // namespace

float GroundFactorU0(float s, float r)
{
    using namespace vilo::calc;
    const TRelativeThickness thickness(Finite(s));
    const Ext ratio = Finite(r);
    if (ratio <= 1)
        return Round(Curve(Anchor1, thickness));
    if (ratio < 1.5f)
        return Round(Interpolate(Anchor1, Anchor15, (ratio - 1) * 2, thickness));
    if (ratio == 1.5f)
        return Round(Curve(Anchor15, thickness));
    if (ratio < 2)
        return Round(Interpolate(Anchor15, Anchor2, (ratio - 1.5f) * 2, thickness));
    if (ratio == 2)
        return Round(Curve(Anchor2, thickness));
    if (ratio < 10)
        return Round(Interpolate(Anchor2, Anchor10, (ratio - 2) / 8, thickness));
    return Round(Curve(Anchor10, thickness));
}
