#include "calc/sketch.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "calc/slab.h"

namespace {

struct HeightCase {
    const char* what;
    float insulationM;
    float concreteM;
    bool floor;
    float insulationPx;
    float concretePx;
    float floorPx;
};

class SketchHeights : public ::testing::TestWithParam<HeightCase> {};

TEST_P(SketchHeights, MatchRoundedLayerHeights) {
    const HeightCase& c = GetParam();
    const TSketchHeights h = SketchLayerHeights(c.insulationM, c.concreteM, c.floor);
    EXPECT_EQ(h.InsulationPx, c.insulationPx) << c.what;
    EXPECT_EQ(h.ConcretePx, c.concretePx) << c.what;
    EXPECT_EQ(h.FloorPx, c.floorPx) << c.what;
}

// Thicknesses as the float the number reader stores; 60.5 and 59.5 go down and up to even.
INSTANTIATE_TEST_SUITE_P(
    Cases, SketchHeights,
    ::testing::Values(
        HeightCase{"defaults, exact halves go to even 60", 0.1f, 0.1f, false, 60, 60, 0},
        HeightCase{"defaults with a floor structure", 0.1f, 0.1f, true, 58, 58, 6},
        HeightCase{"0.2 / 0.1 add up to 121", 0.2f, 0.1f, false, 81, 40, 0},
        HeightCase{"no insulation: concrete fills the picture", 0.0f, 0.1f, false, 0, 121, 0},
        HeightCase{"thin floor band of 3", 0.3f, 0.1f, true, 89, 30, 3},
        HeightCase{"thin floor band of 2", 0.3f, 0.2f, true, 71, 47, 2},
        HeightCase{"61.5 up to 62, 59.5 up to 60", 123.0f, 119.0f, false, 62, 60, 0},
        HeightCase{"negative insulation", -0.05f, 0.1f, false, -121, 242, 0}));

TEST(SketchHeightsTest, NearlyCancellingThicknessesGiveHugeIntegralHeights) {
    const float insulation = std::nextafter(1.0f, 2.0f);
    const TSketchHeights h = SketchLayerHeights(insulation, -1.0f, false);
    EXPECT_GT(h.InsulationPx, 1e9f);
    EXPECT_LT(h.ConcretePx, -1e9f);
    EXPECT_EQ(h.InsulationPx, std::nearbyint(h.InsulationPx));
    EXPECT_EQ(h.ConcretePx, std::nearbyint(h.ConcretePx));
}

struct FaultCase {
    const char* what;
    float insulationM;
    float concreteM;
    bool floor;
    std::string message;
};

class SketchFaults : public ::testing::TestWithParam<FaultCase> {};

TEST_P(SketchFaults, RaiseTheFloatingPointError) {
    const FaultCase& c = GetParam();
    try {
        SketchLayerHeights(c.insulationM, c.concreteM, c.floor);
        FAIL() << c.what << ": no error";
    } catch (const FloatingPointError& e) {
        EXPECT_EQ(std::string(e.what()), c.message) << c.what;
    }
}

constexpr float FloatMax = std::numeric_limits<float>::max();
constexpr float NaN = std::numeric_limits<float>::quiet_NaN();
constexpr float Inf = std::numeric_limits<float>::infinity();

INSTANTIATE_TEST_SUITE_P(
    Cases, SketchFaults,
    ::testing::Values(
        FaultCase{"both zero", 0.0f, 0.0f, false, "Invalid floating point operation"},
        FaultCase{"cancelling", 0.1f, -0.1f, false, "Floating point division by zero"},
        FaultCase{"total beyond float", FloatMax, FloatMax, false, "Floating point overflow"},
        FaultCase{"height beyond float", 3e38f, -3e38f, true, "Floating point overflow"},
        FaultCase{"infinite insulation", Inf, 0.1f, false, "Floating point overflow"},
        // A NaN would otherwise come out as heights and be drawn as a picture.
        FaultCase{"NaN insulation", NaN, 0.1f, false, "Invalid floating point operation"},
        FaultCase{"NaN concrete with a floor", 0.1f, NaN, true, "Invalid floating point operation"},
        FaultCase{"opposite infinities", Inf, -Inf, false, "Invalid floating point operation"}));

}  // namespace
