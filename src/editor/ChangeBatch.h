#pragma once

#include <string>

namespace automation {
class Object;
}

namespace editor {

class LineEditorHost;

// The frame of a batch of changes that the line editor makes to the drawing (write-back,
// Align): Stop and the progress label while it runs, and one CAD undo group that is closed
// on every way out, an error included, so that the user's next commands never land in it.
class ChangeBatch {
public:
    ChangeBatch(LineEditorHost& host, automation::Object& document) : host_(host), document_(document) {}
    ChangeBatch(const ChangeBatch&) = delete;
    ChangeBatch& operator=(const ChangeBatch&) = delete;

    // runFlag set, Stop enabled, the progress label shown in place of select-all.
    void begin();
    void openUndoGroup();
    // The batch ran to its end (or was stopped): the undo group closed, Stop and the
    // progress label put away.
    void finish();
    // The batch failed: the message, then the undo group closed and Stop put away.
    void fail(const std::u16string& message);

private:
    LineEditorHost& host_;
    automation::Object& document_;
    bool undoGroupOpen_ = false;
};

}  // namespace editor
