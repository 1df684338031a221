#include "kelvocad/dxf/DxfAlignment.h"

namespace kelvocad {

int alignmentFromDxf(DxfJustification j)
{
    if (j.horizontal >= 3 && j.horizontal <= 5)
        return j.horizontal;  // aligned, middle and fit ignore the vertical code
    if (j.horizontal < 0 || j.horizontal > 2)
        return 0;
    switch (j.vertical) {
    case 3: return 6 + j.horizontal;   // top
    case 2: return 9 + j.horizontal;   // middle
    case 1: return 12 + j.horizontal;  // bottom
    default: return j.horizontal;      // baseline
    }
}

DxfJustification dxfFromAlignment(int alignment)
{
    if (alignment >= 0 && alignment <= 5)
        return {alignment, 0};
    if (alignment >= 6 && alignment <= 14)
        return {(alignment - 6) % 3, 3 - (alignment - 6) / 3};
    return {0, 0};
}

}  // namespace kelvocad
