#pragma once

#include "textops/CellBatch.h"
#include "textops/ReplaceCommands.h"

#include <optional>
#include <string>
#include <vector>

namespace search {

// One row of the result grid: its text and its tag. Tag k in 1..n names hit k - 1; any other
// tag (0 in practice) marks a row that holds no hit.
struct GridRow {
    std::u16string text;
    int tag = 0;
};

// What the search page's operations need from the page. The ui implements it over the
// controls of page 3; tests implement it with plain fields. Control names are the page's.
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

    // StringGrid2, one column. Row numbers from 0.
    virtual int rowCount() const = 0;
    virtual void setRows(const std::vector<GridRow>& rows) = 0;
    virtual int rowTag(int row) const = 0;
    virtual std::u16string rowText(int row) const = 0;
    virtual void setRowText(int row, const std::u16string& text) = 0;
    virtual int currentRow() const = 0;
    // Moves the current cell without reporting a click; the operation runs StringGrid2Click
    // itself where it needs it.
    virtual void setCurrentRow(int row) = 0;
    // True while the grid's in-cell editor is open.
    virtual bool cellEditorOpen() const = 0;
    virtual textops::CellRect selection() const = 0;
    virtual void setSelection(const textops::CellRect& rect) = 0;

    // The grid's cell undo stack FUndoCells2: record a cell before it changes, take back the
    // newest record, forget every record.
    virtual void pushCellUndo(int column, int row) = 0;
    virtual void undoCell() = 0;
    virtual void clearCellUndo() = 0;

    // The replace dialog, prefilled from the text of the selection's top-left cell; its two
    // fields when it ends with OK, nothing when it is cancelled.
    virtual std::optional<textops::TikanFields> runReplaceDialog(const std::u16string& topLeftText) = 0;

    // An information message box with one OK button, centred on the screen.
    virtual void showInformation(const std::u16string& text) = 0;
    // Lets the window repaint and its buttons work; a Stop click lands here.
    virtual void processPendingMessages() = 0;
    // The main window's runFlag, which the Stop buttons of every page clear.
    virtual bool runFlag() const = 0;
    virtual void setRunFlag(bool value) = 0;
};

}  // namespace search
