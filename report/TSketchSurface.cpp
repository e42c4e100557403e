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
    if (FImage.pixel(X, Y) == Black) return;
    // Iterative, with its own visited marks: pixels that already have the fill colour
    // are passed through, not treated as a border.
    std::vector<std::uint8_t> visited(WidthPx * HeightPx, 0);
    std::vector<int> pending{Y * WidthPx + X};
    visited[pending.back()] = 1;
    while (!pending.empty()) {
        const int index = pending.back();
        pending.pop_back();
        const int x = index % WidthPx;
        const int y = index / WidthPx;
        reinterpret_cast<QRgb*>(FImage.scanLine(y))[x] = FFillColour;
        const auto visit = [&](int nx, int ny) {
            if (nx < 0 || nx >= WidthPx || ny < 0 || ny >= HeightPx) return;
            const int next = ny * WidthPx + nx;
            if (visited[next]) return;
            visited[next] = 1;
            if (reinterpret_cast<const QRgb*>(FImage.constScanLine(ny))[nx] != Black)
                pending.push_back(next);
        };
        visit(x - 1, y);
        visit(x + 1, y);
        visit(x, y - 1);
        visit(x, y + 1);
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
