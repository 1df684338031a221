#pragma once

#include <string_view>

namespace editor {

struct LineEditorContext;

// The saved-text undo of bulk commands. true: saves the whole editor text; false: puts the
// saved text back. Either way the Undo button and undoFlag follow the flag.
void UndoMark(LineEditorContext& context, bool flag);

// "Undo": the editor's own history first; once that is exhausted, the saved text once.
void SpeedButton4Click(LineEditorContext& context);
// "中止": ends the running write-back or text command after its current line.
void SpeedButton5Click(LineEditorContext& context);
// "クリア": empties the editor, saving its text first.
void N20Click(LineEditorContext& context);

// The caret moved to line caretY (from 1). With CheckBox9 on, pans the CAD view onto the
// line's record, or, past the records of a TEXT editor, onto where write-back would put a
// text typed there. Throws NumberConversionError when that needs dX/dY and a box holds no
// number; CAD errors are ignored.
void CaretYChanged(LineEditorContext& context, int caretY);

// The 200 ms status refresh: data count, caret position, selected rows, the background that
// marks a caret past the records, and the Undo button.
void refreshLineEditorStatus(LineEditorContext& context);

// Lines a selection covers: line feeds, plus one unless it ends with a line feed; 0 for an
// empty selection.
int selectedRowCount(std::u16string_view selectedText);

// Which popup menu items are enabled when the menu opens.
struct PopupMenuEnabling {
    bool wholeText = false;  // N1, N4, N7, N14: the editor holds a line
    bool selection = false;  // N2, N5, N8, N10, N11, N15: something is selected
};
PopupMenuEnabling popupMenuEnabling(int lineCount, bool selectionEmpty);

}  // namespace editor
