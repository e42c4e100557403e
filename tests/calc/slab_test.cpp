// The seven worked examples, to four decimals and bit for bit, and the faults.
#include <gtest/gtest.h>

#include <bit>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>

#include "calc/numtext.h"
#include "calc/slab.h"

namespace {

TSlabInput ExampleInput(float lengthM, bool floor, bool barrier)
{
    TSlabInput in;
    in.IndoorTemp = 20;
    in.Width = 10;
    in.Length = lengthM;
    in.ConcreteThickness = 0.1f;
    in.InsulationThickness = 0.1f;
    in.MoistureSupplement = 4;
    in.HasFloorCovering = floor;
    in.HasVapourBarrier = barrier;
    in.City = {"Example", 7, 6.5f, 0, 11};
    in.Concrete = {"Example", 1.7f, 0.000001f};
    in.Insulation = {"Example", 0.036f, 0.000005f};
    in.Soil = {"Example", 2};
    in.Floor = {"Example", 500000, 0.1f};
    return in;
}

struct TExample {
    float LengthM;
    bool Floor;
    bool Barrier;
    // Four-decimal texts: TotalResistance, EquivalentThickness, U0, GroundTemp,
    // GroundVapourContent, ConcreteTopTemp, ConcreteTopVapourContent, ConcreteTopRH,
    // JulyRH ("" for none), DeltaT.
    const char* Text[10];
    // The same ten as float bit patterns (0 for none).
    std::uint32_t Bits[10];
};

const TExample Examples[] = {
    {12, true, true,
     {"3.0666", "6.1332", "0.3928", "12.1062", "10.7292", "19.4079", "12.9449", "64.0397", "77.2747", "7.8938"},
     {0x40444333, 0x40C44333, 0x3EC91AA7, 0x4141B2D4, 0x412BAAA6, 0x419B437B, 0x414F1E75, 0x42801451, 0x429A8CA3, 0x40FC9A58}},
    {15, true, false,
     {"3.0666", "6.1332", "0.4189", "12.4456", "10.9606", "19.4334", "11.3554", "64.8001", "67.6842", "7.5544"},
     {0x40444333, 0x40C44333, 0x3ED67895, 0x414720FC, 0x412F5ECC, 0x419B779D, 0x4135AF8C, 0x428199A3, 0x42875E52, 0x40F1BE08}},
    {17.5f, false, false,
     {"2.9666", "5.9332", "0.4384", "12.6992", "11.1365", "19.6801", "17.0220", "65.4244", "", "7.3008"},
     {0x403DDCCC, 0x40BDDCCC, 0x3EE07632, 0x414B3004, 0x41322F47, 0x419D70C9, 0x41882D10, 0x4282D94A, 0, 0x40E99FF8}},
    {20, false, true,
     {"2.9666", "5.9332", "0.4494", "12.8420", "11.2367", "19.6863", "17.0283", "65.9883", "", "7.1580"},
     {0x403DDCCC, 0x40BDDCCC, 0x3EE615FF, 0x414D78F0, 0x4133C95A, 0x419D7D9A, 0x418839E0, 0x4283FA02, 0, 0x40E50E20}},
    {40, true, true,
     {"3.0666", "6.1332", "0.4476", "12.8188", "11.2203", "19.4614", "12.9568", "66.7444", "77.1028", "7.1812"},
     {0x40444333, 0x40C44333, 0x3EE52C2F, 0x414D19F3, 0x41338689, 0x419BB0F3, 0x414F4F3E, 0x42857D26, 0x429A34A8, 0x40E5CC1A}},
    {120, true, false,
     {"3.0666", "6.1332", "0.4684", "13.0892", "11.4118", "19.4817", "11.7192", "66.7788", "69.6547", "6.9108"},
     {0x40444333, 0x40C44333, 0x3EEFD1D7, 0x41516D40, 0x413696B9, 0x419BDA79, 0x413B81CF, 0x42858EBD, 0x428B4F3A, 0x40DD2580}},
    {8, true, true,
     {"3.0666", "6.1332", "0.3754", "11.8799", "10.5773", "19.3910", "12.9413", "63.2014", "77.3299", "8.1201"},
     {0x40444333, 0x40C44333, 0x3EC0315D, 0x413E140E, 0x41293C86, 0x419B20BA, 0x414F0F5F, 0x427CCE38, 0x429AA8EB, 0x4101EBF2}},
};

std::optional<float> Field(const TSlabResult& r, int i)
{
    switch (i) {
    case 0: return r.TotalResistance;
    case 1: return r.EquivalentThickness;
    case 2: return r.U0;
    case 3: return r.GroundTemp;
    case 4: return r.GroundVapourContent;
    case 5: return r.ConcreteTopTemp;
    case 6: return r.ConcreteTopVapourContent;
    case 7: return r.ConcreteTopRH;
    case 8: return r.JulyRH;
    default: return r.DeltaT;
    }
}

class WorkedExample : public testing::TestWithParam<TExample> {};

TEST_P(WorkedExample, MatchesTextAndBits)
{
    const TExample& e = GetParam();
    const TSlabResult r = CalculateSlab(ExampleInput(e.LengthM, e.Floor, e.Barrier));
    for (int i = 0; i < 10; ++i) {
        const std::optional<float> v = Field(r, i);
        SCOPED_TRACE("field " + std::to_string(i));
        if (std::string(e.Text[i]).empty()) {
            EXPECT_FALSE(v.has_value());
            continue;
        }
        ASSERT_TRUE(v.has_value());
        EXPECT_EQ(FormatResult(*v), e.Text[i]);
        EXPECT_EQ(std::bit_cast<std::uint32_t>(*v), e.Bits[i]);
    }
}

INSTANTIATE_TEST_SUITE_P(Slab, WorkedExample, testing::ValuesIn(Examples));

TEST(Slab, VapourBarrierIgnoredWithoutFloorStructure)
{
    TSlabInput in = ExampleInput(17.5f, false, false);
    in.Floor = {"ignored", 0, 99};  // plays no part, not even its heat resistance
    const TSlabResult plain = CalculateSlab(in);
    in.HasVapourBarrier = true;
    const TSlabResult barrier = CalculateSlab(in);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(Field(plain, i), Field(barrier, i)) << i;
    EXPECT_EQ(FormatResult(plain.TotalResistance), "2.9666");
}

TEST(Slab, OpenFloorStructureGivesIndoorVapourContentAtThePoint)
{
    // Zf = 0 without a barrier: V = vo + dv, so RH = (6.5 + 4) / Vs * 100.
    TSlabInput in = ExampleInput(15, true, false);
    in.Floor.VapourResistance = 0;
    const TSlabResult r = CalculateSlab(in);
    const float vs = SaturationVapourContent(r.ConcreteTopTemp);
    EXPECT_EQ(r.ConcreteTopRH, static_cast<float>(static_cast<long double>(10.5f) / vs * 100));
}

TEST(Slab, ZeroInsulationAddsNothing)
{
    TSlabInput in = ExampleInput(17.5f, false, false);
    in.InsulationThickness = 0;
    const TSlabResult r = CalculateSlab(in);
    EXPECT_EQ(r.TotalResistance, static_cast<float>(static_cast<long double>(0.1f) / 1.7f + 0.13L));
}

TEST(Slab, NoStateCarriesBetweenCalls)
{
    const TSlabResult before = CalculateSlab(ExampleInput(17.5f, false, false));
    CalculateSlab(ExampleInput(12, true, true));
    const TSlabResult after = CalculateSlab(ExampleInput(17.5f, false, false));
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(Field(before, i), Field(after, i)) << i;
}

struct TFault {
    const char* Name;
    void (*Change)(TSlabInput&);
    const char* Message;
};

const TFault Faults[] = {
    {"zero width", [](TSlabInput& in) { in.Width = 0; }, "Floating point division by zero"},
    {"zero concrete conductivity", [](TSlabInput& in) { in.Concrete.Conductivity = 0; },
     "Floating point division by zero"},
    {"zero thickness over zero conductivity",
     [](TSlabInput& in) { in.InsulationThickness = 0; in.Insulation.Conductivity = 0; },
     "Invalid floating point operation"},
    {"negative total resistance", [](TSlabInput& in) { in.InsulationThickness = -1; },
     "Invalid floating point operation"},
    {"zero concrete permeability with floor",
     [](TSlabInput& in) { in.HasFloorCovering = true; in.Concrete.Permeability = 0; },
     "Floating point division by zero"},
    {"zero insulation permeability with floor",
     [](TSlabInput& in) { in.HasFloorCovering = true; in.Insulation.Permeability = 0; },
     "Floating point division by zero"},
    {"no vapour resistance anywhere",
     [](TSlabInput& in) {
         in.HasFloorCovering = true;
         in.ConcreteThickness = 0;
         in.InsulationThickness = 0;
         in.Floor.VapourResistance = 0;
     },
     "Invalid floating point operation"},
    {"resistance beyond float",
     [](TSlabInput& in) { in.ConcreteThickness = 3e38f; in.Concrete.Conductivity = 1e-3f; },
     "Floating point overflow"},
    {"not a number", [](TSlabInput& in) { in.IndoorTemp = std::numeric_limits<float>::quiet_NaN(); },
     "Invalid floating point operation"},
    {"infinite length", [](TSlabInput& in) { in.Length = std::numeric_limits<float>::infinity(); },
     "Invalid floating point operation"},
};

class SlabFault : public testing::TestWithParam<TFault> {};

TEST_P(SlabFault, RaisesItsText)
{
    TSlabInput in = ExampleInput(15, false, false);
    GetParam().Change(in);
    try {
        CalculateSlab(in);
        FAIL() << "no error";
    } catch (const FloatingPointError& e) {
        EXPECT_STREQ(e.what(), GetParam().Message);
    }
}

INSTANTIATE_TEST_SUITE_P(Slab, SlabFault, testing::ValuesIn(Faults),
                         [](const auto& info) {
                             std::string name = info.param.Name;
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c)))
                                     c = '_';
                             return name;
                         });

TEST(Slab, ShortBuildingUsesTheFirstCurve)
{
    // r = 0.8 and r = 1 give the same u0.
    const TSlabResult shortOne = CalculateSlab(ExampleInput(8, false, false));
    const TSlabResult square = CalculateSlab(ExampleInput(10, false, false));
    EXPECT_EQ(shortOne.U0, square.U0);
}

}  // namespace
