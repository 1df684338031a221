#pragma once

namespace editor {

class LineEditorHost;
struct LineEditorContext;

// The dX/dY step between neighbouring lines' texts.
struct Pitch {
    double dX = 0.0;
    double dY = 0.0;
};

// The numbers in Edit1 and Edit2; a box that holds no number counts as 0.
Pitch readPitch(const LineEditorHost& host);
// The same, but a box that holds no number throws NumberConversionError.
Pitch readPitchStrict(const LineEditorHost& host);

enum class ZeroPitchMessage { Show, Suppress };

// After an acquisition: proposes the step between the last two records in Edit1/Edit2,
// counts the values as shown (rounded to two decimals), and marks a zero step red.
void proposePitch(LineEditorContext& context, ZeroPitchMessage message);

}  // namespace editor
