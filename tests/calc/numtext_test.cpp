// Number texts as typed, and result texts as shown.
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <cmath>
#include <limits>
#include <string>

#include "calc/numtext.h"
#include "calc/slab.h"

namespace {

struct TReadCase {
    const char* Text;
    char Separator;
    float Value;
};

TEST(ReadNumber, AcceptedTexts)
{
    const TReadCase cases[] = {
        {"12", '.', 12},         {"  12  ", ',', 12},     {",1", ',', 0.1f},
        {".1", '.', 0.1f},       {"0,13", ',', 0.13f},    {"0.13", '.', 0.13f},
        {"-4", '.', -4},         {"+4", '.', 4},          {"5.", '.', 5},
        {",", ',', 0},           {"-,", ',', 0},          {"1e3", '.', 1000},
        {"1,5E-2", ',', 0.015f}, {"2e+1", '.', 20},       {"007", '.', 7},
        {"1e-60", '.', 0},       {"0.1", '.', 0.1f},
        // Taken in extended precision, then rounded once to float.
        {"16777217", '.', 16777216}, {"16777217.0000000001", '.', 16777218},
    };
    for (const TReadCase& c : cases)
        EXPECT_EQ(ReadNumber(c.Text, c.Separator), c.Value) << '"' << c.Text << '"';
    EXPECT_TRUE(std::signbit(ReadNumber("-0", '.')));
}

TEST(ReadNumber, RejectedTextsNameTheTextExactly)
{
    const struct {
        const char* Text;
        char Separator;
    } cases[] = {
        {"", '.'},       {" ", ','},       {",1", '.'},      {"1.5", ','},   {"1 000", '.'},
        {"1,000.5", '.'}, {"\t1", '.'},    {"1\t", '.'},     {"+", '.'},     {"-", ','},
        {"e5", '.'},     {"1e", '.'},      {"1e+", '.'},     {"1.2.3", '.'}, {"--1", '.'},
        {"abc", '.'},    {"12a", '.'},     {"0x10", '.'},    {"inf", '.'},   {"nan", '.'},
        {"\xe2\x88\x92" "1", '.'},  // U+2212 minus
    };
    for (const auto& c : cases) {
        try {
            ReadNumber(c.Text, c.Separator);
            ADD_FAILURE() << "accepted \"" << c.Text << '"';
        } catch (const ConversionError& e) {
            EXPECT_EQ(e.what(), "'" + std::string(c.Text) + "' is not a valid floating point value");
        }
    }
}

TEST(ReadNumber, BeyondFloatIsAnOverflow)
{
    for (const char* text : {"1e39", "-4e38", "1e99999"}) {
        try {
            ReadNumber(text, '.');
            ADD_FAILURE() << text;
        } catch (const FloatingPointError& e) {
            EXPECT_STREQ(e.what(), "Floating point overflow");
        }
    }
    EXPECT_EQ(ReadNumber("3.4028234e38", '.'), std::numeric_limits<float>::max());
}

TEST(ReadNumber, ExtendedValueForDoubleStorage)
{
    EXPECT_EQ(ParseNumberText(" 0,13 ", ','), 0.13L);
    EXPECT_FALSE(ParseNumberText("0.13", ','));
}

TEST(FormatResult, FourDecimalsHalvesAwayFromZero)
{
    const struct {
        float Value;
        const char* Text;
    } cases[] = {
        {0.13f, "0.1300"},        {10, "10.0000"},          {0, "0.0000"},
        {0.03125f, "0.0313"},     {-0.03125f, "-0.0313"},   {0.00005f, "0.0000"},
        {-0.00001f, "-0.0000"},   {-0.00004f, "-0.0000"},   {9.99995f, "10.0000"},
        {99999.99f, "99999.9922"}, {1e10f, "10000000000.0000"}, {-12.5f, "-12.5000"},
        {std::numeric_limits<float>::max(), "340282346638528859811704183484516925440.0000"},
        {std::numeric_limits<float>::denorm_min(), "0.0000"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatResult(c.Value), c.Text) << c.Value;
}

TEST(FormatResult, TieIsDecidedOnTheExactFloat)
{
    // Exact binary ties go away from zero, where printf's "%.4f" would go to even.
    EXPECT_EQ(FormatResult(0.15625f), "0.1563");
    EXPECT_EQ(FormatResult(-1.03125f), "-1.0313");
    // Decimal "ties" that no float holds are decided by the float's true value.
    EXPECT_EQ(FormatResult(0.00015f), "0.0002");  // 0.000150000007...
    EXPECT_EQ(FormatResult(1.00005f), "1.0000");  // 1.000049948...
}

}  // namespace
