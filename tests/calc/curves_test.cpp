// The two fitted functions against their value tables, to four decimals.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "calc/numtext.h"
#include "calc/slab.h"

namespace {

struct TSaturationCase {
    float TemperatureC;
    const char* Content;
};

TEST(SaturationVapourContent, ValueTableAcrossTheThreeRanges)
{
    const TSaturationCase cases[] = {
        {-40, "0.1323"},       {-10, "2.1463"},    {-1, "4.4817"},     {-0.0001f, "4.8499"},
        {0, "4.8359"},         {10, "9.3890"},     {20, "17.3442"},    {50, "82.8251"},
        {100, "598.0147"},     {100.0001f, "597.6745"}, {120, "1118.5754"}, {150, "2550.6633"},
    };
    for (const TSaturationCase& c : cases)
        EXPECT_EQ(FormatResult(SaturationVapourContent(c.TemperatureC)), c.Content) << c.TemperatureC;
}

TEST(SaturationVapourContent, RangesMeetWhereTheBoundariesSay)
{
    // Just below 0 is frost, 0 itself the polynomial; 100 is still the main range.
    EXPECT_EQ(FormatResult(SaturationVapourContent(-std::numeric_limits<float>::denorm_min())), "4.8500");
    EXPECT_EQ(FormatResult(SaturationVapourContent(std::nextafter(100.0f, 200.0f))), "597.6727");
}

TEST(SaturationVapourContent, FaultsInsteadOfInfinities)
{
    EXPECT_THROW(SaturationVapourContent(std::numeric_limits<float>::quiet_NaN()), FloatingPointError);
    try {
        SaturationVapourContent(1e30f);  // the high polynomial leaves the float range
        FAIL();
    } catch (const FloatingPointError& e) {
        EXPECT_STREQ(e.what(), "Floating point overflow");
    }
    EXPECT_EQ(SaturationVapourContent(-1e30f), 0.0f);  // too small is 0, no error
}

TEST(GroundFactorU0, GridOfRelativeThicknessAndLengthRatio)
{
    const float ratios[] = {0.8f, 1, 1.25f, 1.5f, 1.75f, 2, 3, 6, 10, 20};
    const struct {
        float S;
        const char* U0[10];
    } rows[] = {
        {0, {"1.0001", "1.0001", "1.0004", "1.0008", "1.0011", "1.0013", "1.0013", "1.0013", "1.0012", "1.0012"}},
        {0.25f, {"0.6068", "0.6068", "0.6284", "0.6499", "0.6610", "0.6721", "0.6750", "0.6840", "0.6960", "0.6960"}},
        {0.5f, {"0.4269", "0.4269", "0.4495", "0.4720", "0.4834", "0.4948", "0.4982", "0.5087", "0.5226", "0.5226"}},
        {1, {"0.2644", "0.2644", "0.2827", "0.3010", "0.3100", "0.3189", "0.3220", "0.3314", "0.3438", "0.3438"}},
        {2, {"0.1479", "0.1479", "0.1598", "0.1718", "0.1774", "0.1830", "0.1852", "0.1918", "0.2006", "0.2006"}},
    };
    for (const auto& row : rows)
        for (int i = 0; i < 10; ++i)
            EXPECT_EQ(FormatResult(GroundFactorU0(row.S, ratios[i])), row.U0[i])
                << "s " << row.S << " r " << ratios[i];
}

TEST(GroundFactorU0, InterpolationStartsFromTheAnchorCurve)
{
    // Just above an anchor the value is within float steps of the anchor's own.
    for (float anchor : {1.0f, 1.5f, 2.0f}) {
        const float at = GroundFactorU0(0.6f, anchor);
        const float above = GroundFactorU0(0.6f, std::nextafter(anchor, 100.0f));
        EXPECT_NEAR(at, above, 1e-6f) << anchor;
    }
    EXPECT_EQ(GroundFactorU0(0.6f, 10), GroundFactorU0(0.6f, 1000));
}

TEST(GroundFactorU0, NegativeThicknessHasNoPower)
{
    try {
        GroundFactorU0(-0.1f, 1.2f);
        FAIL();
    } catch (const FloatingPointError& e) {
        EXPECT_STREQ(e.what(), "Invalid floating point operation");
    }
}

}  // namespace
