#pragma once

#include "grid/TUndoCell.h"

#include <cstddef>
#include <deque>
#include <memory>
#include <unordered_map>
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
    int Count() const { return static_cast<int>(FList.size() - FHoles); }
    // Greatest number of records kept per grid; 0 or less keeps them all.
    int UndoLevels() const { return FUndoLevels; }
    void setUndoLevels(int levels) { FUndoLevels = levels; }

private:
    const TUndoCell& GetItem(int X) const;
    TUndoCell* TopItem(const CellGrid& aGrid) const;
    TUndoCell* FirstItem(const CellGrid& aGrid) const;
    int DropOldest(const CellGrid& aGrid);

    // Empties slot `position` of the list; the grid's own index must already be updated.
    std::unique_ptr<TUndoCell> takeAt(std::size_t position);
    void squeeze() const;

    // All records in the order they were added. A record taken out of the middle (an undo in
    // one grid while another grid recorded later, or a dropped oldest record) leaves an empty
    // slot; the slots are squeezed out once they outnumber the records, or before a read by
    // position, so that Add and Undo never walk the whole list.
    mutable std::vector<std::unique_ptr<TUndoCell>> FList;
    mutable std::size_t FHoles = 0;
    // Per grid, the list positions of its records in list order: the back is its newest
    // record, the front its oldest, and the level of each is its place here.
    mutable std::unordered_map<const CellGrid*, std::deque<std::size_t>> FPositions;
    int FUndoLevels = 0;
};

}  // namespace grid
