#pragma once

#include <string>
#include <vector>

namespace ui {
class LineEditorWidget;
}

namespace textops::ui {

// The line editor seen as a list of lines, for the text commands. A command that replaces
// every line loads them afresh (the saved-text undo takes it back); a change at the selection
// is one step of the editor's own undo history.
class PlainTextLines {
public:
    explicit PlainTextLines(::ui::LineEditorWidget& editor) : editor_(editor) {}

    // The lines as the program reads them: none for an empty editor.
    std::vector<std::u16string> lines() const;
    int lineCount() const;
    std::u16string firstLine() const;

    // Replaces every line; the editor's own undo history starts afresh and the caret goes to
    // the start of the text.
    void replaceLines(const std::vector<std::u16string>& lines);

    // The selected text with line breaks as LF; empty when nothing is selected.
    std::u16string selectedText() const;
    // Puts text (line breaks CR, LF or CR LF) in place of the selection.
    void replaceSelection(const std::u16string& text);

    // The 0-based line that holds the start of the selection (the caret line without one).
    int selectionStartLine() const;
    // Inserts the items as whole lines above line `at`, or after the last line when `at` is
    // the line count.
    void insertLines(int at, const std::vector<std::u16string>& items);

private:
    ::ui::LineEditorWidget& editor_;
};

}  // namespace textops::ui
