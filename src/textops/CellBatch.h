#pragma once

#include "textops/StepControl.h"

#include <functional>
#include <string>

namespace textops {

// A grid selection: columns left to right and rows top to bottom, both ends included.
struct CellRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// What a grid command needs from its grid. The ui implements it over the grid and its cell
// undo stack.
class CellTarget {
public:
    virtual ~CellTarget() = default;
    virtual std::u16string cellText(int column, int row) const = 0;
    virtual void setCellText(int column, int row, const std::u16string& text) = 0;
    // Saves the cell's current text as one record of the grid's cell undo stack.
    virtual void pushUndo(int column, int row) = 0;
};

// Converts one cell text in place; true when the command applies to it.
using CellTransform = std::function<bool(std::u16string& text)>;

enum class CellUndo {
    EveryCell,     // every cell of the rectangle is saved and written back, changed or not
    AppliedCells,  // only the cells the command applies to are saved and written
};

// The loop of the grid commands, row by row and in each row column by column. Returns the
// undo group count: the records pushed, at least 1, so one UNDO takes the command back.
// With EveryCell the window processes its messages after each cell the command applies to.
int transformCells(CellTarget& grid, const CellRect& rect, const CellTransform& transform, CellUndo undo,
                   const StepControl& control = {});

}  // namespace textops
