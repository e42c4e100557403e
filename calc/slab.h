// The slab-on-ground moisture calculation: reference records, input, result.
// Pure C++; every number is single precision, arithmetic inside a formula is
// carried in long double (see slab.cpp for the rounding discipline).
#pragma once

#include <optional>
#include <stdexcept>
#include <string>

struct TCityRecord {
    std::string Name;
    float Temperature = 0;        // annual mean, degrees C
    float VapourContent = 0;      // annual mean, g/m3
    float Column3 = 0;            // read and converted, never used
    float JulyVapourContent = 0;  // g/m3
};

struct TConcreteRecord {
    std::string Name;
    float Conductivity = 0;  // W/(m K)
    float Permeability = 0;  // m2/s
};

struct TInsulationRecord {
    std::string Name;
    float Conductivity = 0;  // W/(m K)
    float Permeability = 0;  // m2/s
};

struct TSoilRecord {
    std::string Name;
    float Conductivity = 0;  // W/(m K)
};

struct TFloorRecord {
    std::string Name;
    float VapourResistance = 0;  // s/m
    float HeatResistance = 0;    // m2K/W
};

struct TSlabInput {
    float IndoorTemp = 0;           // degrees C
    float Width = 0;                // m
    float Length = 0;               // m
    float ConcreteThickness = 0;    // m
    float InsulationThickness = 0;  // m
    float MoistureSupplement = 0;   // g/m3
    bool HasFloorCovering = false;
    bool HasVapourBarrier = false;  // counts only with HasFloorCovering
    TCityRecord City;
    TConcreteRecord Concrete;
    TInsulationRecord Insulation;
    TSoilRecord Soil;
    TFloorRecord Floor;
};

struct TSlabResult {
    float TotalResistance = 0;           // m2K/W
    float EquivalentThickness = 0;       // m
    float U0 = 0;                        // dimensionless
    float GroundTemp = 0;                // degrees C
    float GroundVapourContent = 0;       // g/m3
    float ConcreteTopTemp = 0;           // degrees C
    float ConcreteTopVapourContent = 0;  // g/m3
    float ConcreteTopRH = 0;             // %
    float DeltaT = 0;                    // degrees C
    std::optional<float> JulyRH;         // %, only with a floor structure
};

// An arithmetic fault; what() is one of the three texts below, exactly.
class FloatingPointError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
    static FloatingPointError DivisionByZero();  // "Floating point division by zero"
    static FloatingPointError Invalid();         // "Invalid floating point operation"
    static FloatingPointError Overflow();        // "Floating point overflow"
};

// Complete result for one input, or FloatingPointError; never a partial result.
TSlabResult CalculateSlab(const TSlabInput& input);

// Saturation vapour content of air in g/m3 at TemperatureC (three curve fits).
float SaturationVapourContent(float TemperatureC);

// Ground factor u0 for relative thickness s and length ratio r.
float GroundFactorU0(float s, float r);
