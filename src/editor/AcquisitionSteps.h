#pragma once

#include "editor/records/Kelvo.h"

#include <functional>
#include <vector>

namespace automation {
class Object;
}

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

// The frame both acquisitions share. Unless another CAD operation runs: the labels are
// emptied, ATTmode set, and, when the CAD application runs, pick gets the active document
// after the acquisition's window steps and says whether it loaded records; then loaded
// runs, if so. The main window comes back on every way out, an error included, so the user
// is never left without it.
void runAcquisition(LineEditorContext& context, bool attributeMode,
                    const std::function<bool(automation::Object& document)>& pick,
                    const std::function<void()>& loaded);

// Runs use with the document's work selection set, which is cleared and deleted afterwards
// whatever happens.
bool withWorkSelectionSet(automation::Object& document, const std::function<bool(automation::Object& set)>& use);

}  // namespace editor
