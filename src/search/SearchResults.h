#pragma once

#include "grid/GridKeys.h"

#include <string>

namespace grid {
class GridClipboard;
}

namespace search {

struct SearchContext;

// The current row became current (click, key, or the program): its number in Label6, the
// hit's handle and X, Y in the status panels, and the CAD view panned onto the hit.
void StringGrid2Click(SearchContext& context);

// Makes the row current. Moving the current cell reports a click by itself; a row that is
// current already is shown here.
void showRow(SearchContext& context, int row);

// How a row is to be painted once the grid has drawn it.
struct RowPaint {
    bool locked = false;   // grey background: the hit lies on a locked layer
    bool changed = false;  // red text: the row differs from the hit's stored text
};
// Also puts the stored text back into a row the user emptied, and enables "更新" when the
// row is changed.
RowPaint StringGrid2DrawCell(SearchContext& context, int row);

// The in-cell editor opens on the row: its text before the edit is recorded.
void StringGrid2GetEditText(SearchContext& context, int col, int row);

// A key went down in the grid or its editor: Ctrl+Z, Enter, then the keys both grids share.
// A consumed key is set to 0.
void StringGrid2KeyDown(SearchContext& context, int& key, grid::KeyModifiers modifiers,
                        grid::GridClipboard& clipboard);

// Enter: writes the current row to its TEXT (with "Enter=更新"), then moves to the next row
// while the cell editor is open (with "Enter=[↓]").
void StringGrid2Enter(SearchContext& context);

// "更新": writes every changed row, in one undo step of the CAD, and reports the counts.
void SpeedButton15Click(SearchContext& context);

// The message of a batch update: `written` of `targeted` rows, `lockedRows` left alone.
std::u16string updateMessage(int written, int targeted, int lockedRows);

// "選択範囲を置換": replaces a string in the selected rows (only in the grid).
void N44Click(SearchContext& context);

// "すべて選択": every row.
void N47Click(SearchContext& context);

}  // namespace search
