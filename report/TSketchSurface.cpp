#include "report/TSketchSurface.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "calc/sketch.h"

namespace {

constexpr QRgb Black = qRgb(0, 0, 0);
constexpr QRgb White = qRgb(255, 255, 255);
constexpr QRgb FloorRed = qRgb(255, 0, 0);
constexpr QRgb ConcreteGrey = qRgb(128, 128, 128);
constexpr QRgb InsulationBlue = qRgb(0, 0, 255);

// Heights can reach float max. Any coordinate below -1 or above limit + 1 draws the same
// as -1 or limit + 1 (an outline row outside the picture), so clamping there is exact
// for what the picture shows and keeps every later sum and loop small.
int ClampCoordinate(long double value, int limit) {
    if (std::isnan(value)) return -1;
    return static_cast<int>(std::clamp(value, -1.0L, static_cast<long double>(limit) + 1));
}

}  // namespace

TSketchSurface::TSketchSurface()
    : FImage(WidthPx, HeightPx, QImage::Format_RGB32), FFillColour(White) {
    FImage.fill(White);
}

void TSketchSurface::Rectangle(int X1, int Y1, int X2, int Y2) {
    if (X2 <= X1 || Y2 <= Y1) return;
    // The ring belongs to the whole rectangle; the loops run over its visible part only.
    const int left = std::max(X1, 0);
    const int right = static_cast<int>(std::min<long long>(X2, WidthPx));
    const int top = std::max(Y1, 0);
    const int bottom = static_cast<int>(std::min<long long>(Y2, HeightPx));
    const long long lastX = static_cast<long long>(X2) - 1;
    const long long lastY = static_cast<long long>(Y2) - 1;
    for (int y = top; y < bottom; ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(FImage.scanLine(y));
        const bool edgeRow = y == Y1 || y == lastY;
        for (int x = left; x < right; ++x)
            row[x] = edgeRow || x == X1 || x == lastX ? Black : FFillColour;
    }
}

void TSketchSurface::BorderFill(int X, int Y) {
    if (X < 0 || X >= WidthPx || Y < 0 || Y >= HeightPx) return;
    uchar* const bits = FImage.bits();
    const qsizetype stride = FImage.bytesPerLine();
    const auto row = [&](int y) { return reinterpret_cast<QRgb*>(bits + y * stride); };
    // Runs of a row at a time, with marks of their own: pixels that already have the fill
    // colour are passed through, not treated as a border. Only unmarked pixels are
    // tested for black, and they still have the colour they had before the fill.
    std::vector<std::uint8_t> marked(WidthPx * HeightPx, 0);
    const auto open = [&](const QRgb* pixels, const std::uint8_t* marks, int x) {
        return !marks[x] && pixels[x] != Black;
    };
    struct TSeed {
        int X, Y;
    };
    std::vector<TSeed> pending;
    pending.reserve(64);
    pending.push_back({X, Y});
    while (!pending.empty()) {
        const TSeed seed = pending.back();
        pending.pop_back();
        QRgb* const pixels = row(seed.Y);
        std::uint8_t* const marks = &marked[seed.Y * WidthPx];
        if (!open(pixels, marks, seed.X)) continue;
        int left = seed.X;
        while (left > 0 && open(pixels, marks, left - 1)) --left;
        int right = seed.X;
        while (right + 1 < WidthPx && open(pixels, marks, right + 1)) ++right;
        for (int x = left; x <= right; ++x) {
            pixels[x] = FFillColour;
            marks[x] = 1;
        }
        // One seed for each run still open above and below the run just filled.
        for (const int y : {seed.Y - 1, seed.Y + 1}) {
            if (y < 0 || y >= HeightPx) continue;
            const QRgb* const next = row(y);
            const std::uint8_t* const nextMarks = &marked[y * WidthPx];
            bool inRun = false;
            for (int x = left; x <= right; ++x) {
                const bool isOpen = open(next, nextMarks, x);
                if (isOpen && !inRun) pending.push_back({x, y});
                inRun = isOpen;
            }
        }
    }
}

void DrawLayerSketch(TSketchSurface& surface, float InsulationThicknessM,
                     float ConcreteThicknessM, bool HasFloorStructure) {
    const TSketchHeights h =
        SketchLayerHeights(InsulationThicknessM, ConcreteThicknessM, HasFloorStructure);
    constexpr int Right = TSketchSurface::WidthPx - 1;  // column 168 is never drawn
    constexpr int SeedX = 70;
    constexpr int Rows = TSketchSurface::HeightPx;
    // Band edges as exact sums of the integral heights, then clamped to the picture.
    const long double floorBottom = HasFloorStructure ? h.FloorPx : 0.0L;
    const long double concreteBottom = floorBottom + h.ConcretePx;
    const long double insulationBottom = concreteBottom + h.InsulationPx;
    const int yFloor = ClampCoordinate(floorBottom, Rows);
    const int yConcrete = ClampCoordinate(concreteBottom, Rows);
    const int yInsulation = ClampCoordinate(insulationBottom, Rows);

    if (HasFloorStructure) {
        surface.Rectangle(0, 0, Right, yFloor);
        surface.SetFillColour(FloorRed);
        surface.BorderFill(SeedX, 2);
        surface.Rectangle(0, yFloor, Right, yConcrete);
        surface.SetFillColour(ConcreteGrey);
        surface.BorderFill(SeedX, ClampCoordinate(floorBottom + 5, Rows));
    } else {
        surface.Rectangle(0, 0, Right, yConcrete);
        surface.SetFillColour(ConcreteGrey);
        surface.BorderFill(SeedX, 1);
    }
    surface.Rectangle(0, yConcrete, Right, yInsulation);
    surface.SetFillColour(InsulationBlue);
    surface.BorderFill(SeedX, ClampCoordinate(concreteBottom + 5, Rows));
}
