#pragma once

namespace editor {

struct LineEditorContext;

// "TEXT": the user picks TEXT entities on the CAD screen; those not on locked layers become
// the records and the editor lines, in pick order or by coordinates, and the step between
// the last two is proposed as dX/dY.
void SpeedButton1Click(LineEditorContext& context);

}  // namespace editor
