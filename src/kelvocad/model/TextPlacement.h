#pragma once

#include "kelvocad/model/Point3.h"

namespace kelvocad {

// How writing a point or the alignment places a text (TEXT or attribute). A left-aligned
// text (alignment 0) stands at its insertion point; any other alignment places it by its
// alignment point. Writing the point that places the text moves the whole text, so the
// other point follows by the same distance.
template <class T>
void placeByInsertionPoint(T& text, const Point3& point)
{
    const Point3 delta = point - text.insertionPoint;
    text.insertionPoint = point;
    if (text.alignment != 0)
        text.alignmentPoint = text.alignmentPoint + delta;
}

template <class T>
void placeByAlignmentPoint(T& text, const Point3& point)
{
    if (text.alignment == 0) {
        // Kept for a later change of alignment; it does not move a left-aligned text.
        text.alignmentPoint = point;
        return;
    }
    const Point3 delta = point - text.alignmentPoint;
    text.alignmentPoint = point;
    text.insertionPoint = text.insertionPoint + delta;
}

// Changing the alignment keeps the text where it is: a text that becomes aligned gets its
// insertion point as alignment point.
template <class T>
void changeAlignment(T& text, int alignment)
{
    if (text.alignment == 0 && alignment != 0)
        text.alignmentPoint = text.insertionPoint;
    text.alignment = alignment;
}

// The alignments a TEXT can have: left, centre, right, aligned, middle, fit, and the nine
// top/middle/bottom combinations.
inline bool isValidAlignment(int alignment)
{
    return alignment >= 0 && alignment <= 14;
}

}  // namespace kelvocad
