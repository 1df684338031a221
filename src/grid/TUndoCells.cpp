#include "grid/TUndoCells.h"

#include "grid/CellGrid.h"

#include <algorithm>
#include <stdexcept>

namespace grid {

TUndoCells::~TUndoCells()
{
    Clear();
}

TUndoCell& TUndoCells::Add(CellGrid& aGrid, int ACol, int ARow)
{
    auto record = std::make_unique<TUndoCell>();
    record->setText(aGrid.cellText(ACol, ARow));
    record->setX(ACol);
    record->setY(ARow);
    record->setGrid(&aGrid);

    int level = 0;
    if (const TUndoCell* top = TopItem(aGrid)) {
        level = top->UndoLevel() + 1;
        if (FUndoLevels > 0 && level > FUndoLevels - 1)
            level = DropOldest(aGrid);
    }
    record->setUndoLevel(level);
    FList.push_back(std::move(record));
    return *FList.back();
}

void TUndoCells::Undo(CellGrid& aGrid)
{
    TUndoCell* top = TopItem(aGrid);
    if (!top)
        return;
    const auto position = std::find_if(FList.begin(), FList.end(), [top](const auto& r) { return r.get() == top; });
    std::unique_ptr<TUndoCell> record = std::move(*position);
    FList.erase(position);

    // A paste may have recorded cells beyond the grid's edge; their text has nowhere to go
    // and the current cell must stay inside the grid, so such a record is only dropped.
    if (!aGrid.contains(record->X(), record->Y()))
        return;
    aGrid.setCellText(record->X(), record->Y(), record->Text());
    if (aGrid.Col() != record->X())
        aGrid.setCol(record->X());
    if (aGrid.Row() != record->Y())
        aGrid.setRow(record->Y());
}

void TUndoCells::Clear()
{
    FList.clear();
}

const TUndoCell& TUndoCells::GetItem(int X) const
{
    if (X < 0 || X >= Count())
        throw std::out_of_range("undo record index out of range");
    return *FList[static_cast<size_t>(X)];
}

TUndoCell* TUndoCells::TopItem(const CellGrid& aGrid) const
{
    TUndoCell* top = nullptr;
    for (const auto& record : FList)
        if (record->Grid() == &aGrid && (!top || record->UndoLevel() > top->UndoLevel()))
            top = record.get();
    return top;
}

TUndoCell* TUndoCells::FirstItem(const CellGrid& aGrid) const
{
    for (const auto& record : FList)
        if (record->Grid() == &aGrid)
            return record.get();
    return nullptr;
}

int TUndoCells::DropOldest(const CellGrid& aGrid)
{
    const TUndoCell* first = FirstItem(aGrid);
    if (!first)
        return 0;
    FList.erase(std::find_if(FList.begin(), FList.end(), [first](const auto& r) { return r.get() == first; }));
    int level = 0;
    for (const auto& record : FList)
        if (record->Grid() == &aGrid)
            record->setUndoLevel(level++);
    return level;
}

}  // namespace grid
