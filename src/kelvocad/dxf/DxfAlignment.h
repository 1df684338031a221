#pragma once

namespace kelvocad {

// A TEXT's or attribute's alignment as the Automation Alignment value (0 left, 1 center,
// 2 right, 3 aligned, 4 middle, 5 fit, 6 top-left .. 14 bottom-right) and as the DXF pair
// of horizontal (72) and vertical (73 in TEXT, 74 in ATTRIB/ATTDEF) justification.
struct DxfJustification {
    int horizontal = 0;
    int vertical = 0;
};

// Pairs no CAD writes (a horizontal code out of range) read as left.
int alignmentFromDxf(DxfJustification justification);
DxfJustification dxfFromAlignment(int alignment);

}  // namespace kelvocad
