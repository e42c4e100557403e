// The report's layer sketch: a small raster picture with its own drawing primitives.
#pragma once

#include <QImage>
#include <QRgb>

// A 169 x 121 picture that keeps its pixels and its current fill colour from one
// sketch to the next; each report language owns one.
class TSketchSurface {
public:
    static constexpr int WidthPx = 169;
    static constexpr int HeightPx = 121;

    // A white picture with white as the current fill colour.
    TSketchSurface();

    // The picture as drawn so far.
    const QImage& Image() const { return FImage; }

    // The colour that rectangles are filled with and that BorderFill paints.
    QRgb FillColour() const { return FFillColour; }
    void SetFillColour(QRgb colour) { FFillColour = colour; }

    // Columns X1..X2-1, rows Y1..Y2-1: the outermost ring black, the inside in the fill
    // colour; only the part inside the picture is touched. Empty when X2 <= X1 or Y2 <= Y1.
    void Rectangle(int X1, int Y1, int X2, int Y2);

    // Paints every pixel 4-connected to (X, Y) through non-black pixels with the fill
    // colour; nothing when the seed is black or outside the picture.
    void BorderFill(int X, int Y);

private:
    QImage FImage;
    QRgb FFillColour;
};

// Draws the floor build-up to scale over whatever the surface holds: floor structure
// (when present), concrete and insulation from the top. Raises the FloatingPointError
// of the height arithmetic before anything is drawn.
void DrawLayerSketch(TSketchSurface& surface, float InsulationThicknessM,
                     float ConcreteThicknessM, bool HasFloorStructure);
