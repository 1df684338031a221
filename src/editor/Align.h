#pragma once

namespace editor {

struct LineEditorContext;

// "整列": puts the TEXT of line i at the first record's point + i x (dX, dY), writing each
// line's text on the way, in one CAD undo group. Blank lines delete their TEXT, lines
// without one get a copy of the template, and TEXTs of records past the lines are deleted.
void SpeedButton6Click(LineEditorContext& context);

}  // namespace editor
