#pragma once

#include "editor/Kelvo.h"

#include <vector>

namespace cadlink {
struct CadLink;
}

namespace editor {

class LineEditorHost;
struct LineEditorContext;

// The steps both acquisitions share.

// Label1, Label2 and both status panels emptied.
void clearAcquisitionLabels(LineEditorHost& host);

// Makes the records the editor's content: TextEntities := records, line i := record i's
// text, caret at the start. The saved-text undo no longer fits the new lines.
void loadIntoEditor(LineEditorContext& context, std::vector<Kelvo> records);

// The main window back to its normal state and in front.
void restoreMainWindow(const cadlink::CadLink& link);

}  // namespace editor
