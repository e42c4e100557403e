// CalculateSlab per call beside two naive evaluations of the same formulas
// (no fault checks, no rounding of named quantities): one in long double, the
// floor for the precision owed, and one in double, for context.
#include <benchmark/benchmark.h>

#include <cmath>

#include "calc/slab.h"

namespace {

TSlabInput Example(float lengthM)
{
    TSlabInput in;
    in.IndoorTemp = 20;
    in.Width = 10;
    in.Length = lengthM;
    in.ConcreteThickness = 0.1f;
    in.InsulationThickness = 0.1f;
    in.MoistureSupplement = 4;
    in.HasFloorCovering = true;
    in.HasVapourBarrier = true;
    in.City = {"", 7, 6.5f, 0, 11};
    in.Concrete = {"", 1.7f, 0.000001f};
    in.Insulation = {"", 0.036f, 0.000005f};
    in.Soil = {"", 2};
    in.Floor = {"", 500000, 0.1f};
    return in;
}

template <typename T>
T Exp(T x) { if constexpr (sizeof(T) > sizeof(double)) return expl(x); else return std::exp(x); }
template <typename T>
T Log(T x) { if constexpr (sizeof(T) > sizeof(double)) return logl(x); else return std::log(x); }

template <typename T>
T NaiveSaturation(T t)
{
    static const T main[] = {4.835882f, 0.3767354f, -0.002939927f, 0.001715012f, -8.735158e-05f,
                             2.8583818e-06f, -5.3015345e-08f, 5.7253197e-10f, -3.3201042e-12f,
                             7.984423e-15f};
    static const T high[] = {-41214.117f, 1955.2039f, -38.95306f, 0.42303854f, -0.0026963877f,
                             1.0132248e-05f, -2.0671395e-08f, 1.7711532e-11f};
    if (t < 0)
        return Exp(-(T(138.56891f) - t) * (T(138.56891f) - t) / (T(41.96504f) * T(41.96504f) * 2)) *
               T(1130.7107f);
    const T* c = t <= 100 ? main : high;
    const int n = t <= 100 ? 10 : 8;
    T sum = c[1] * t + c[0];
    T p = t;
    for (int k = 2; k < n; ++k) {
        p *= t;
        sum += p * c[k];
    }
    return sum;
}

template <typename T>
T NaiveCurve(T s, T c, T k, T p) { return 1 / (Exp(p * Log(s)) * k + c); }

template <typename T>
T NaiveU0(T s, T r)
{
    // Only the curves of the band are evaluated, each with its own logarithm.
    const auto a1 = [&] { return NaiveCurve<T>(s, 0.99988437f, 2.7815802f, 1.0508575f); };
    const auto a15 = [&] { return NaiveCurve<T>(s, 0.99922454f, 2.322887f, 1.0532802f); };
    const auto a2 = [&] { return NaiveCurve<T>(s, 0.99865633f, 2.136807f, 1.0633042f); };
    const auto a10 = [&] { return NaiveCurve<T>(s, 0.9987897f, 1.9094698f, 1.0620095f); };
    if (r <= 1) return a1();
    if (r < 1.5f) { const T lo = a1(); return lo + (a15() - lo) * ((r - 1) * 2); }
    if (r == 1.5f) return a15();
    if (r < 2) { const T lo = a15(); return lo + (a2() - lo) * ((r - 1.5f) * 2); }
    if (r == 2) return a2();
    if (r < 10) { const T lo = a2(); return lo + (a10() - lo) * ((r - 2) / 8); }
    return a10();
}

template <typename T>
TSlabResult Naive(const TSlabInput& in)
{
    const T ti = in.IndoorTemp;
    const T rfl = in.HasFloorCovering ? in.Floor.HeatResistance : 0;
    const T total = T(in.ConcreteThickness) / in.Concrete.Conductivity + T(0.13L) +
                    T(in.InsulationThickness) / in.Insulation.Conductivity + rfl;
    const T d = total * in.Soil.Conductivity;
    const T u0 = NaiveU0<T>(d / in.Width, T(in.Length) / in.Width);
    const T ground = ti - (1 - u0) * (ti - in.City.Temperature);
    const T groundV = NaiveSaturation<T>(ground);
    const T top = ti - (T(0.13L) + rfl) / total * (ti - ground);
    const T vs = NaiveSaturation<T>(top);
    TSlabResult out;
    out.TotalResistance = float(total);
    out.EquivalentThickness = float(d);
    out.U0 = float(u0);
    out.GroundTemp = float(ground);
    out.GroundVapourContent = float(groundV);
    out.ConcreteTopTemp = float(top);
    out.DeltaT = float(ti - ground);
    const T zc = T(in.ConcreteThickness) / in.Concrete.Permeability;
    const T zi = T(in.InsulationThickness) / in.Insulation.Permeability;
    const T zf = T(in.Floor.VapourResistance) + (in.HasVapourBarrier ? 2e7f : 0);
    const T v = groundV - (zc + zi) / (zc + zi + zf) * (groundV - (T(in.City.VapourContent) + in.MoistureSupplement));
    const T zbj = zc + zi + (in.HasVapourBarrier ? 2e7f : 0);
    const T vj = groundV - zbj / (zbj + in.Floor.VapourResistance) * (groundV - (T(in.City.JulyVapourContent) + 2));
    out.ConcreteTopRH = float(v / vs * 100);
    out.JulyRH = float(vj / vs * 100);
    out.ConcreteTopVapourContent = float(vj);
    return out;
}

void BM_CalculateSlab(benchmark::State& state)
{
    TSlabInput in = Example(static_cast<float>(state.range(0)) / 10);
    for (auto _ : state) {
        benchmark::DoNotOptimize(in);
        benchmark::DoNotOptimize(CalculateSlab(in));
    }
}

void BM_NaiveLongDouble(benchmark::State& state)
{
    TSlabInput in = Example(static_cast<float>(state.range(0)) / 10);
    for (auto _ : state) {
        benchmark::DoNotOptimize(in);
        benchmark::DoNotOptimize(Naive<long double>(in));
    }
}

void BM_NaiveDouble(benchmark::State& state)
{
    TSlabInput in = Example(static_cast<float>(state.range(0)) / 10);
    for (auto _ : state) {
        benchmark::DoNotOptimize(in);
        benchmark::DoNotOptimize(Naive<double>(in));
    }
}

// Length in decimetres: 15 m is an anchor ratio (one curve), 12 m interpolates (two).
BENCHMARK(BM_NaiveLongDouble)->Arg(150)->Arg(120);
BENCHMARK(BM_CalculateSlab)->Arg(150)->Arg(120);
BENCHMARK(BM_NaiveDouble)->Arg(150)->Arg(120);

}  // namespace
