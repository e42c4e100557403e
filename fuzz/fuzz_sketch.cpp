// The report's layer sketch on any thicknesses, several sketches on one surface as the
// report draws them: integral heights or a documented error, and a picture that stays
// the surface's own size, in the sketch's colours, untouched when the heights fail.
#include <QImage>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "calc/sketch.h"
#include "calc/slab.h"
#include "fuzz/FuzzCheck.h"
#include "report/TSketchSurface.h"

namespace {

using vilo::fuzz::Require;

bool IsArithmeticErrorText(std::string_view text)
{
    return text == "Floating point division by zero" ||
           text == "Invalid floating point operation" || text == "Floating point overflow";
}

bool IsSketchColour(QRgb colour)
{
    switch (colour & 0xffffff) {
    case 0x000000:  // outline
    case 0xffffff:  // fresh picture
    case 0xff0000:  // floor structure
    case 0x808080:  // concrete
    case 0x0000ff:  // insulation
        return true;
    default:
        return false;
    }
}

bool IsIntegral(float value) { return std::isfinite(value) && std::nearbyint(value) == value; }

// The heights, or the error text they raise.
std::optional<std::string> HeightsError(float insulationM, float concreteM, bool floor)
{
    try {
        const TSketchHeights h = SketchLayerHeights(insulationM, concreteM, floor);
        Require(IsIntegral(h.InsulationPx) && IsIntegral(h.ConcretePx) && IsIntegral(h.FloorPx),
                "every height is a finite integral value");
        Require(floor || h.FloorPx == 0, "no floor band without a floor structure");
        return std::nullopt;
    } catch (const FloatingPointError& e) {
        Require(IsArithmeticErrorText(e.what()), "a height error has one of three texts");
        return std::string(e.what());
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    vilo::fuzz::TInputReader reader(data, size);
    TSketchSurface surface;
    // Nine bytes a sketch: insulation, concrete, flags; at least one sketch.
    do {
        const float insulationM = reader.FloatBits();
        const float concreteM = reader.FloatBits();
        const bool floor = reader.Byte() & 1;

        const std::optional<std::string> expected = HeightsError(insulationM, concreteM, floor);
        const QImage before = surface.Image().copy();
        const QRgb fillBefore = surface.FillColour();
        try {
            DrawLayerSketch(surface, insulationM, concreteM, floor);
            Require(!expected, "the drawing succeeds where the heights do");
        } catch (const FloatingPointError& e) {
            Require(expected && *expected == e.what(),
                    "the drawing raises the heights' error, with the same text");
            Require(surface.Image() == before && surface.FillColour() == fillBefore,
                    "nothing is drawn before the error");
        }

        const QImage& image = surface.Image();
        Require(image.width() == TSketchSurface::WidthPx &&
                    image.height() == TSketchSurface::HeightPx &&
                    image.format() == QImage::Format_RGB32,
                "the picture keeps its size and format");
        Require(IsSketchColour(surface.FillColour()), "the fill colour is a sketch colour");
        for (int y = 0; y < image.height(); ++y) {
            const QRgb* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            for (int x = 0; x < image.width(); ++x)
                Require(IsSketchColour(row[x]), "every pixel has a sketch colour");
        }
    } while (!reader.AtEnd());
    return 0;
}
