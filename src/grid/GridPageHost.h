#pragma once

#include <string>

namespace grid {

// What the attribute grid's operations need from the page and the main window besides the
// grid itself. Control names are the page's.
class GridPageHost {
public:
    virtual ~GridPageHost() = default;

    // The item of ComboBox2 at its current index; empty when nothing is selected.
    virtual std::u16string ComboBox2Item() const = 0;

    // The result labels of the line editor page, which an acquisition empties.
    virtual void setLabel1Text(const std::u16string& text) = 0;
    virtual void setLabel2Text(const std::u16string& text) = 0;
    // The progress label of the grid page; a new text is painted at once.
    virtual void setLabel5Text(const std::u16string& text) = 0;

    // ProgressBar1: maximum and position 0 with step 1; one step forward, painted at once;
    // the position alone.
    virtual void resetProgressBar1(int maximum) = 0;
    virtual void stepProgressBar1() = 0;
    virtual void setProgressBar1Position(int position) = 0;

    virtual void setStatusPanelText(int panel, const std::u16string& text) = 0;

    virtual void setSpeedButton11Enabled(bool enabled) = 0;  // "更新"
    virtual void setSpeedButton12Enabled(bool enabled) = 0;  // "中止"

    // A plain message box with one OK button, centred on the screen.
    virtual void showMessage(const std::u16string& text) = 0;
    // Lets the window repaint and its buttons work; a Stop click lands here.
    virtual void processPendingMessages() = 0;
    // Waits that long doing the same all the while.
    virtual void waitProcessingMessages(int milliseconds) = 0;
    // The main window's runFlag, which the Stop buttons clear.
    virtual bool runFlag() const = 0;
    virtual void setRunFlag(bool value) = 0;
};

}  // namespace grid
