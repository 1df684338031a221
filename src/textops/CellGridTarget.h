#pragma once

#include "textops/CellBatch.h"

namespace grid {
class CellGrid;
class TUndoCells;
}  // namespace grid

namespace textops {

// Lets the text commands work on a grid: cell texts from the grid, undo records onto the
// grid's stack.
class CellGridTarget : public CellTarget {
public:
    CellGridTarget(grid::CellGrid& grid, grid::TUndoCells& undoCells) : grid_(grid), undoCells_(undoCells) {}

    std::u16string cellText(int column, int row) const override;
    void setCellText(int column, int row, const std::u16string& text) override;
    void pushUndo(int column, int row) override;

private:
    grid::CellGrid& grid_;
    grid::TUndoCells& undoCells_;
};

}  // namespace textops
