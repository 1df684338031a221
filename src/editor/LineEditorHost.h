#pragma once

#include <optional>
#include <string>
#include <vector>

namespace editor {

// The editor's background, as the status refresh chooses it.
enum class EditorBackground {
    Window,    // the system window colour
    Yellow,    // RGB 255, 255, 0: caret past the records, attribute mode
    PaleCyan,  // RGB 221, 255, 253: caret past the records, TEXT mode
};

// What the line editor's operations need from the page they run on. The ui implements it
// over SynEdit1 and the page's controls; tests implement it with plain fields. Control
// names are the page's, so a reader can go from a call here to the control it moves.
class LineEditorHost {
public:
    virtual ~LineEditorHost() = default;

    // The editor's lines. line() at or beyond the end yields an empty string.
    virtual int lineCount() const = 0;
    virtual std::u16string line(int index) const = 0;
    // Clears the editor and adds the lines inside one update bracket (no repaint per line).
    virtual void replaceLines(const std::vector<std::u16string>& lines) = 0;
    virtual void caretToStart() = 0;
    // The whole text, lines joined by line breaks; setting it splits at CR, LF and CR LF.
    virtual std::u16string text() const = 0;
    virtual void setText(const std::u16string& text) = 0;
    // Caret line and column, both from 1.
    virtual int caretLine() const = 0;
    virtual int caretColumn() const = 0;
    virtual std::u16string selectedText() const = 0;
    // The editor's own history of typed edits.
    virtual bool canUndo() const = 0;
    virtual void undoOneStep() = 0;
    virtual EditorBackground editorBackground() const = 0;
    virtual void setEditorBackground(EditorBackground background) = 0;

    // dX (Edit1) and dY (Edit2), and their font colour: red marks a zero pitch.
    virtual std::u16string Edit1Text() const = 0;
    virtual std::u16string Edit2Text() const = 0;
    virtual void setEdit1Text(const std::u16string& text) = 0;
    virtual void setEdit2Text(const std::u16string& text) = 0;
    virtual void setPitchBoxesRed(bool red) = 0;

    // "%.2f" and its reading, in the user's locale. parseNumber gives nothing for a text
    // that is not a number.
    virtual std::u16string formatNumber(double value) const = 0;
    virtual std::optional<double> parseNumber(const std::u16string& text) const = 0;

    virtual void setLabel1(const std::u16string& text) = 0;
    // Label2 is the progress label; a new text is painted at once.
    virtual void setLabel2(const std::u16string& text) = 0;
    virtual void setLabel2Visible(bool visible) = 0;
    // Status bar panels 0 (caret position) and 1 (selected rows).
    virtual std::u16string statusPanelText(int panel) const = 0;
    virtual void setStatusPanelText(int panel, const std::u16string& text) = 0;

    virtual void setSpeedButton2Enabled(bool enabled) = 0;  // write-back
    virtual void setSpeedButton3Visible(bool visible) = 0;  // select all
    virtual bool SpeedButton4Enabled() const = 0;           // Undo
    virtual void setSpeedButton4Enabled(bool enabled) = 0;
    virtual void setSpeedButton5Enabled(bool enabled) = 0;  // Stop
    virtual void setSpeedButton6Enabled(bool enabled) = 0;  // Align

    virtual bool CheckBox1Checked() const = 0;  // "座標順取得": order by coordinates
    virtual bool CheckBox9Checked() const = 0;  // "PAN (Zoom Center)": follow the caret line
    virtual std::u16string ComboBox1Text() const = 0;

    // A plain message box with one OK button, centred on the screen.
    virtual void showMessage(const std::u16string& text) = 0;
    // Lets the window repaint and its buttons work; a Stop click lands here.
    virtual void processPendingMessages() = 0;
    // The main window's runFlag, which the Stop buttons of every page clear.
    virtual bool runFlag() const = 0;
    virtual void setRunFlag(bool value) = 0;
};

}  // namespace editor
