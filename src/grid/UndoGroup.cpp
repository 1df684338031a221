#include "grid/UndoGroup.h"

#include "grid/TUndoCells.h"

namespace grid {

void undoGroupByKey(TUndoCells& undoCells, CellGrid& grid, int& undoCount)
{
    if (undoCount <= 0) {
        undoCells.Undo(grid);
        return;
    }
    for (int i = 0; i < undoCount; ++i)
        undoCells.Undo(grid);
    undoCount = 0;
}

}  // namespace grid
