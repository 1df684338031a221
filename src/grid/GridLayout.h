#pragma once

namespace grid {

class CellGrid;

// Every cell of the grid's current size, fixed ones included, emptied with object 0.
void ClearGridCells(CellGrid& grid);

// Each column that holds any text gets the width of its widest cell text plus margin
// pixels; a column whose cells are all empty keeps its width.
void AutoFitColumns(CellGrid& grid, int margin);

}  // namespace grid
