#include "calc/sketch.h"

#include <cmath>

#include "calc/extended.h"
#include "calc/slab.h"

namespace {

// The floor structure is drawn as a 0.01 m layer; 1.21 = 121 * 0.01. Both are held in
// extended precision, as the heights are formed there.
constexpr long double FloorLayerThicknessM = 0.01L;
constexpr long double FloorLayerRows = 1.21L;
constexpr long double PictureRows = 121.0L;

using vilo::calc::Round;

// numerator / denominator in extended precision, rounded to float, then to an integer
// with halves going to the even neighbour.
float RoundedQuotient(long double numerator, float denominator) {
    if (denominator == 0.0f) {
        if (numerator == 0.0L) throw FloatingPointError::Invalid();
        throw FloatingPointError::DivisionByZero();
    }
    return std::nearbyint(Round(numerator / denominator));
}

}  // namespace

TSketchHeights SketchLayerHeights(float InsulationThicknessM, float ConcreteThicknessM,
                                  bool HasFloorStructure) {
    long double total = static_cast<long double>(InsulationThicknessM) + ConcreteThicknessM;
    if (HasFloorStructure) total += FloorLayerThicknessM;
    const float totalM = Round(total);

    TSketchHeights heights;
    heights.InsulationPx = RoundedQuotient(InsulationThicknessM * PictureRows, totalM);
    heights.ConcretePx = RoundedQuotient(ConcreteThicknessM * PictureRows, totalM);
    if (HasFloorStructure) heights.FloorPx = RoundedQuotient(FloorLayerRows, totalM);
    return heights;
}
