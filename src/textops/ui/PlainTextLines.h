#pragma once

#include <string>
#include <vector>

class QPlainTextEdit;

namespace textops::ui {

// The line editor seen as a list of lines, for the text commands. Every change made here is
// one step of the editor's own undo history, so one Undo takes a whole command back.
class PlainTextLines {
public:
    explicit PlainTextLines(QPlainTextEdit& editor) : editor_(editor) {}

    // An empty editor has no line; otherwise every block is a line, an empty last one included.
    std::vector<std::u16string> lines() const;
    int lineCount() const;
    std::u16string firstLine() const;

    // Replaces every line; the caret goes to the start of the text.
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
    QPlainTextEdit& editor_;
};

}  // namespace textops::ui
