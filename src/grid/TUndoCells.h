#pragma once

#include "grid/TUndoCell.h"

#include <memory>
#include <vector>

namespace grid {

class CellGrid;

// The cell undo stack. It keeps the records of any number of grids in one list and serves
// each grid on its own: levels, the limit and undo are all per grid. Edits in a grid are
// recorded here before they happen; undo puts recorded texts back, newest first.
class TUndoCells {
public:
    TUndoCells() = default;
    ~TUndoCells();
    TUndoCells(const TUndoCells&) = delete;
    TUndoCells& operator=(const TUndoCells&) = delete;

    // Records the current text of cell (ACol, ARow) of aGrid; call it before the change.
    TUndoCell& Add(CellGrid& aGrid, int ACol, int ARow);
    // Puts the newest record of aGrid back into its cell and makes that cell current.
    // Nothing happens when aGrid has no record.
    void Undo(CellGrid& aGrid);
    void Clear();

    const TUndoCell& Items(int X) const { return GetItem(X); }
    int Count() const { return static_cast<int>(FList.size()); }
    // Greatest number of records kept per grid; 0 or less keeps them all.
    int UndoLevels() const { return FUndoLevels; }
    void setUndoLevels(int levels) { FUndoLevels = levels; }

private:
    const TUndoCell& GetItem(int X) const;
    TUndoCell* TopItem(const CellGrid& aGrid) const;
    TUndoCell* FirstItem(const CellGrid& aGrid) const;
    int DropOldest(const CellGrid& aGrid);

    std::vector<std::unique_ptr<TUndoCell>> FList;
    int FUndoLevels = 0;
};

}  // namespace grid
