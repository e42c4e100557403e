// Layer heights of the report's floor sketch: pure arithmetic, no drawing.
#pragma once

// Heights in pixels of the sketch's three bands, each an integral value held as float:
// thicknesses that nearly cancel give heights far beyond any picture (up to float max),
// and a float holds them without wrapping. The drawing clamps them to its picture.
struct TSketchHeights {
    float InsulationPx = 0;
    float ConcretePx = 0;
    float FloorPx = 0;  // 0 without a floor structure
};

// The picture's 121 rows stand for the total thickness; a floor structure counts as 0.01 m.
// Raises FloatingPointError: "Invalid floating point operation" for 0/0 or a NaN, "Floating point
// division by zero" for x/0, "Floating point overflow" for a value beyond float.
TSketchHeights SketchLayerHeights(float InsulationThicknessM, float ConcreteThicknessM,
                                  bool HasFloorStructure);
