// Reading a typed number from any bytes: a finite float, or the documented errors.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "calc/numtext.h"
#include "calc/slab.h"
#include "fuzz/FuzzCheck.h"

namespace {

using vilo::fuzz::Require;

enum class TOutcome { Value, NotANumber, Overflow };

struct TRead {
    TOutcome Outcome;
    float Value = 0;
};

TRead Read(std::string_view text, char separator)
{
    try {
        const float value = ReadNumber(text, separator);
        Require(std::isfinite(value), "a read number is finite");
        return {TOutcome::Value, value};
    } catch (const ConversionError& e) {
        // what() ends at a NUL byte of the text, as any C string does.
        const std::string expected = "'" + std::string(text) + "' is not a valid floating point value";
        Require(std::strcmp(e.what(), expected.c_str()) == 0, "the conversion error quotes the text");
        return {TOutcome::NotANumber};
    } catch (const FloatingPointError& e) {
        Require(std::string_view(e.what()) == "Floating point overflow",
                "the only arithmetic error of reading is an overflow");
        return {TOutcome::Overflow};
    }
    // Any other exception leaves this function and ends the run.
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const TRead point = Read(text, '.');
    const TRead comma = Read(text, ',');

    // The separator matters only where the text holds one.
    if (text.find_first_of(".,") == std::string_view::npos) {
        Require(point.Outcome == comma.Outcome, "same outcome with either separator");
        Require(point.Outcome != TOutcome::Value || point.Value == comma.Value,
                "same value with either separator");
    }
    return 0;
}
