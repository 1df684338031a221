#pragma once

#include <string>

namespace grid {

// A rectangle of cells, both ends included: columns Left..Right, rows Top..Bottom.
struct GridRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    bool operator==(const GridRect&) const = default;
};

// A string grid as the grid operations see it: columns and rows counted from 0, fixed rows
// and columns at the top and left, a text and an integer object per cell. The ui implements
// it over its table widget; tests over plain vectors.
class CellGrid {
public:
    virtual ~CellGrid() = default;

    virtual int ColCount() const = 0;
    virtual int RowCount() const = 0;
    virtual void setColCount(int count) = 0;
    virtual void setRowCount(int count) = 0;
    virtual int FixedCols() const = 0;
    virtual int FixedRows() const = 0;
    virtual void setFixedCols(int count) = 0;

    // Cells outside the grid read as empty with object 0; writes there are ignored.
    virtual std::u16string cellText(int col, int row) const = 0;
    virtual void setCellText(int col, int row, const std::u16string& text) = 0;
    // The cell's object: a positive number links the cell to a record, 0 is none.
    virtual int cellObject(int col, int row) const = 0;
    virtual void setCellObject(int col, int row, int object) = 0;

    virtual GridRect selection() const = 0;
    // The anchor becomes (Left, Top) and the current cell (Right, Bottom).
    virtual void setSelection(const GridRect& rect) = 0;

    // The current cell. Setting either moves it the way a user's click does: an open cell
    // editor closes and the grid's click handling runs.
    virtual int Col() const = 0;
    virtual int Row() const = 0;
    virtual void setCol(int col) = 0;
    virtual void setRow(int row) = 0;

    // Repainting suspended while the grid is filled; the calls nest.
    virtual void beginUpdate() = 0;
    virtual void endUpdate() = 0;

    // Width in pixels of a text drawn in the grid's font, and the column widths.
    virtual int textWidth(const std::u16string& text) const = 0;
    virtual int colWidth(int col) const = 0;
    virtual void setColWidth(int col, int width) = 0;

    bool contains(int col, int row) const { return col >= 0 && row >= 0 && col < ColCount() && row < RowCount(); }
};

}  // namespace grid
