#pragma once

namespace grid {

class CellGrid;
class TUndoCells;

// Ctrl+Z in a grid: the last group of undoCount records comes back and the count drops to 0,
// so that further presses take back one record each. With a count of 0 or less, one record.
void undoGroupByKey(TUndoCells& undoCells, CellGrid& grid, int& undoCount);

}  // namespace grid
