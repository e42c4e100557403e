// The slab calculation on any float bit patterns: a complete, finite result, or one of
// the three arithmetic errors with its exact text.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "calc/slab.h"
#include "fuzz/FuzzCheck.h"

namespace {

using vilo::fuzz::Require;

bool IsArithmeticErrorText(std::string_view text)
{
    return text == "Floating point division by zero" ||
           text == "Invalid floating point operation" || text == "Floating point overflow";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    vilo::fuzz::TInputReader reader(data, size);
    TSlabInput in;
    const std::uint8_t flags = reader.Byte();
    in.HasFloorCovering = flags & 1;
    in.HasVapourBarrier = flags & 2;
    for (float* field :
         {&in.IndoorTemp, &in.Width, &in.Length, &in.ConcreteThickness, &in.InsulationThickness,
          &in.MoistureSupplement, &in.City.Temperature, &in.City.VapourContent, &in.City.Column3,
          &in.City.JulyVapourContent, &in.Concrete.Conductivity, &in.Concrete.Permeability,
          &in.Insulation.Conductivity, &in.Insulation.Permeability, &in.Soil.Conductivity,
          &in.Floor.VapourResistance, &in.Floor.HeatResistance})
        *field = reader.FloatBits();

    try {
        const TSlabResult out = CalculateSlab(in);
        for (float value : {out.TotalResistance, out.EquivalentThickness, out.U0, out.GroundTemp,
                            out.GroundVapourContent, out.ConcreteTopTemp,
                            out.ConcreteTopVapourContent, out.ConcreteTopRH, out.DeltaT})
            Require(std::isfinite(value), "every result value is finite");
        Require(out.JulyRH.has_value() == in.HasFloorCovering,
                "a July humidity exactly with a floor structure");
        if (out.JulyRH)
            Require(std::isfinite(*out.JulyRH), "the July humidity is finite");
    } catch (const FloatingPointError& e) {
        Require(IsArithmeticErrorText(e.what()), "an arithmetic error has one of three texts");
    }
    return 0;
}
