#pragma once

#include <string>

namespace editor {

// The main window's fields that belong to the line editor page.
struct LineEditorFields {
    bool ATTmode = false;         // the editor holds attribute values, not TEXT lines
    bool undoFlag = false;        // undoText may be restored
    std::u16string undoText;      // the editor text saved before a bulk change
    int iLineLast = 0;            // data lines shown in the status
    int CaretY_Old = 0;           // the caret line last handled by CaretYChanged
    // True while a CAD operation runs. Operations pump window messages, and a click that
    // starts a second one inside the first would interleave two undo groups and two passes
    // over TextEntities; such a click is ignored. Other pages may consult it too.
    bool cadOperationRunning = false;
};

}  // namespace editor
