#pragma once

#include "automation/Variant.h"

#include <cstdint>
#include <string_view>

namespace editor {

// The member whose point places a text: a left-aligned text (alignment 0) stands at its
// InsertionPoint, any other at its TextAlignmentPoint.
inline std::u16string_view placingPointMember(int32_t alignment)
{
    return alignment == 0 ? std::u16string_view(u"InsertionPoint") : std::u16string_view(u"TextAlignmentPoint");
}

// A copy of the point with X and Y replaced; Z keeps what the point carried.
inline automation::Variant withXY(automation::Variant point, double x, double y)
{
    point.setAt(0, x);
    point.setAt(1, y);
    return point;
}

}  // namespace editor
