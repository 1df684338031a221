#pragma once

#include "textops/ReplaceCommands.h"

#include <optional>
#include <string>

namespace search {

// What the search page's operations need from the page besides the result grid. The ui
// implements it over the controls of page 3; tests implement it with plain fields. Control
// names are the page's.
class SearchHost {
public:
    virtual ~SearchHost() = default;

    virtual std::u16string Edit3Text() const = 0;  // the search text
    virtual void setEdit3Enabled(bool enabled) = 0;
    virtual bool CheckBox3Checked() const = 0;  // "先頭一致": prefix instead of partial match
    virtual bool CheckBox5Checked() const = 0;  // "Enter=更新": Enter writes the current row
    virtual bool CheckBox8Checked() const = 0;  // "Enter=[↓]": Enter moves on while editing

    // The search button, which is also the Stop button while a search runs.
    virtual std::u16string SpeedButton14Caption() const = 0;
    virtual void setSpeedButton14Caption(const std::u16string& caption) = 0;
    virtual bool SpeedButton15Enabled() const = 0;  // "更新"
    virtual void setSpeedButton15Enabled(bool enabled) = 0;

    // Label6: counts and progress; Label7: the pattern. A new text is painted at once.
    virtual void setLabel6(const std::u16string& text) = 0;
    virtual void setLabel7(const std::u16string& text) = 0;
    virtual void setStatusPanelText(int panel, const std::u16string& text) = 0;
    // "%.3f, %.3f" with the user locale's decimal separator.
    virtual std::u16string formatPoint(double x, double y) const = 0;

    // True while StringGrid2's in-cell editor is open.
    virtual bool cellEditorOpen() const = 0;

    // The replace dialog, prefilled from the text of the selection's top-left cell; its two
    // fields when it ends with OK, nothing when it is cancelled.
    virtual std::optional<textops::TikanFields> runReplaceDialog(const std::u16string& topLeftText) = 0;

    // An information message box with one OK button, centred on the screen.
    virtual void showInformation(const std::u16string& text) = 0;
    // Lets the window repaint and its buttons work; a Stop click lands here.
    virtual void processPendingMessages() = 0;
    // Lets the window repaint and its timers tick, holding clicks and keys back until later.
    virtual void processMessagesHoldingInput() = 0;
    // The main window's runFlag, which the Stop buttons of every page clear.
    virtual bool runFlag() const = 0;
    virtual void setRunFlag(bool value) = 0;
};

}  // namespace search
