#pragma once

#include "editor/records/Kelvo.h"

#include <string_view>
#include <vector>

namespace editor {

class LineEditorHost;
struct LineEditorContext;
struct LineEditorFields;

// The saved-text undo of bulk commands. true: saves the whole editor text; false: puts the
// saved text back. Either way the Undo button and undoFlag follow the flag.
void UndoMark(LineEditorContext& context, bool flag);
void UndoMark(LineEditorHost& host, LineEditorFields& fields, bool flag);

// "Undo": the editor's own history first; once that is exhausted, the saved text once.
void SpeedButton4Click(LineEditorContext& context);
void SpeedButton4Click(LineEditorHost& host, LineEditorFields& fields);
// "中止": ends the running write-back or text command after its current line.
void SpeedButton5Click(LineEditorContext& context);
void SpeedButton5Click(LineEditorHost& host);
// "クリア": empties the editor, saving its text first.
void N20Click(LineEditorContext& context);
void N20Click(LineEditorHost& host, LineEditorFields& fields);

// The caret moved to line caretY (from 1). With CheckBox9 on, pans the CAD view onto the
// line's record, or, past the records of a TEXT editor, onto where write-back would put a
// text typed there. Throws NumberConversionError when that needs dX/dY and a box holds no
// number; CAD errors are ignored.
void CaretYChanged(LineEditorContext& context, int caretY);

// The 200 ms status refresh: data count, caret position, selected rows, the background that
// marks a caret past the records, and the Undo button.
// It needs no CAD, so it also runs before the program is linked to one.
void refreshLineEditorStatus(LineEditorContext& context);
void refreshLineEditorStatus(LineEditorHost& host, const std::vector<Kelvo>& TextEntities, LineEditorFields& fields);

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
