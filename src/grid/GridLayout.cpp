#include "grid/GridLayout.h"

#include "grid/CellGrid.h"

#include <algorithm>

namespace grid {

void ClearGridCells(CellGrid& grid)
{
    for (int row = 0; row < grid.RowCount(); ++row) {
        for (int col = 0; col < grid.ColCount(); ++col) {
            grid.setCellText(col, row, {});
            grid.setCellObject(col, row, 0);
        }
    }
}

void AutoFitColumns(CellGrid& grid, int margin)
{
    for (int col = 0; col < grid.ColCount(); ++col) {
        int widest = 0;
        for (int row = 0; row < grid.RowCount(); ++row)
            widest = std::max(widest, grid.textWidth(grid.cellText(col, row)));
        if (widest > 0)
            grid.setColWidth(col, widest + margin);
    }
}

}  // namespace grid
