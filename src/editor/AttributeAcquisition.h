#pragma once

namespace editor {

struct LineEditorContext;

// "ATTR": the user picks block references; the values of the tag named in ComboBox1 become
// the editor lines, and the editor works in attribute mode.
void SpeedButton8Click(LineEditorContext& context);

}  // namespace editor
