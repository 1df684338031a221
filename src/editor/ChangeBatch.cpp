#include "editor/ChangeBatch.h"

#include "automation/AutomationError.h"
#include "automation/Object.h"
#include "editor/LineEditorHost.h"

namespace editor {

void ChangeBatch::begin()
{
    host_.setRunFlag(true);
    host_.setSpeedButton5Enabled(true);
    host_.setLabel2Visible(true);
    host_.setSpeedButton3Visible(false);
}

void ChangeBatch::openUndoGroup()
{
    document_.call(u"StartUndoMark");
    undoGroupOpen_ = true;
}

void ChangeBatch::finish()
{
    if (undoGroupOpen_) {
        // Not closed a second time by fail() should this call itself fail.
        undoGroupOpen_ = false;
        document_.call(u"EndUndoMark");
    }
    host_.setLabel2Visible(false);
    host_.setSpeedButton3Visible(true);
    host_.setRunFlag(false);
    host_.setSpeedButton5Enabled(false);
}

void ChangeBatch::fail(const std::u16string& message)
{
    host_.showMessage(message);
    if (undoGroupOpen_) {
        undoGroupOpen_ = false;
        try {
            document_.call(u"EndUndoMark");
        } catch (const automation::AutomationError&) {
        }
    }
    // A run that has ended must not look as if it still ran.
    host_.setRunFlag(false);
    host_.setSpeedButton5Enabled(false);
}

}  // namespace editor
