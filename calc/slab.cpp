// The slab calculation. Each named quantity is rounded to float when formed
// (Round); inside one formula the arithmetic is long double, evaluated as written.
#include "calc/slab.h"

#include "calc/extended.h"

FloatingPointError FloatingPointError::DivisionByZero()
{
    return FloatingPointError("Floating point division by zero");
}

FloatingPointError FloatingPointError::Invalid()
{
    return FloatingPointError("Invalid floating point operation");
}

FloatingPointError FloatingPointError::Overflow()
{
    return FloatingPointError("Floating point overflow");
}

namespace {

using vilo::calc::Div;
using vilo::calc::Ext;
using vilo::calc::Finite;
using vilo::calc::Round;

// Indoor surface resistance, m2K/W, held in extended precision.
constexpr Ext IndoorSurfaceResistance = 0.13L;
// Vapour barrier resistance, s/m.
constexpr float VapourBarrierResistance = 20000000.0f;
// Added to the July outdoor vapour content, g/m3.
constexpr float JulyMoistureSupplement = 2.0f;
constexpr float Percent = 100.0f;

// Vapour content at the point between a saturated ground and a room, placed in
// proportion to the resistances below and above it.
float PointVapourContent(float groundContent, float below, float above, float room)
{
    return Round(groundContent - Div(below, Ext(below) + above) * (Ext(groundContent) - room));
}

void CheckInputsFinite(const TSlabInput& in)
{
    for (float v : {in.IndoorTemp, in.Width, in.Length, in.ConcreteThickness,
                    in.InsulationThickness, in.MoistureSupplement, in.City.Temperature,
                    in.City.VapourContent, in.City.JulyVapourContent, in.Concrete.Conductivity,
                    in.Concrete.Permeability, in.Insulation.Conductivity,
                    in.Insulation.Permeability, in.Soil.Conductivity})
        Finite(v);
    if (in.HasFloorCovering) {
        Finite(in.Floor.VapourResistance);
        Finite(in.Floor.HeatResistance);
    }
}

}  // namespace

TSlabResult CalculateSlab(const TSlabInput& in)
{
    CheckInputsFinite(in);
    TSlabResult out;

    const float ti = in.IndoorTemp;
    const float dc = in.ConcreteThickness;
    const float di = in.InsulationThickness;
    const float lambdaC = in.Concrete.Conductivity;
    const float lambdaI = in.Insulation.Conductivity;
    const float floorR = in.HasFloorCovering ? in.Floor.HeatResistance : 0.0f;

    // Total resistance, the floor structure as a fourth term.
    {
        Ext sum = Div(dc, lambdaC) + IndoorSurfaceResistance + Div(di, lambdaI);
        if (in.HasFloorCovering)
            sum = sum + floorR;
        out.TotalResistance = Round(sum);
    }

    // Equivalent thickness through the rounded insulation product.
    const float insulationProduct = Round(Ext(out.TotalResistance) * lambdaI);
    out.EquivalentThickness =
        Round(Div(Ext(insulationProduct) * in.Soil.Conductivity, lambdaI));

    const float s = Round(Div(out.EquivalentThickness, in.Width));
    const float r = Round(Div(in.Length, in.Width));
    out.U0 = GroundFactorU0(s, r);

    const float drop = Round((1 - Ext(out.U0)) * (Ext(ti) - in.City.Temperature));
    out.GroundTemp = Round(Ext(ti) - drop);
    out.GroundVapourContent = SaturationVapourContent(out.GroundTemp);

    out.ConcreteTopTemp = Round(
        ti - Div(IndoorSurfaceResistance + floorR, out.TotalResistance) * (Ext(ti) - out.GroundTemp));
    const float topSaturation = SaturationVapourContent(out.ConcreteTopTemp);

    if (!in.HasFloorCovering) {
        out.ConcreteTopRH = Round(Div(out.GroundVapourContent, topSaturation) * Percent);
        out.ConcreteTopVapourContent = topSaturation;
    } else {
        const float concreteZ = Round(Div(dc, in.Concrete.Permeability));
        const float insulationZ = Round(Div(di, in.Insulation.Permeability));
        const float floorZ = in.Floor.VapourResistance;

        // Annual step: the barrier lies above the point.
        const float roomContent = Round(Ext(in.City.VapourContent) + in.MoistureSupplement);
        const float above = in.HasVapourBarrier ? Round(Ext(floorZ) + VapourBarrierResistance) : floorZ;
        const float below = Round(Ext(concreteZ) + insulationZ);
        const float pointContent =
            PointVapourContent(out.GroundVapourContent, below, above, roomContent);
        out.ConcreteTopRH = Round(Div(pointContent, topSaturation) * Percent);

        // July step: the barrier lies below the point.
        const float julyRoomContent =
            Round(Ext(in.City.JulyVapourContent) + JulyMoistureSupplement);
        const float julyBelow =
            in.HasVapourBarrier
                ? Round(Ext(concreteZ) + insulationZ + VapourBarrierResistance)
                : Round(Ext(concreteZ) + insulationZ);
        const float julyContent =
            PointVapourContent(out.GroundVapourContent, julyBelow, floorZ, julyRoomContent);
        out.JulyRH = Round(Div(julyContent, topSaturation) * Percent);
        out.ConcreteTopVapourContent = julyContent;
    }

    out.DeltaT = Round(Ext(ti) - out.GroundTemp);
    return out;
}
