#include "grid/TUndoCells.h"

#include "grid/CellGrid.h"

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
    FPositions[&aGrid].push_back(FList.size() - 1);
    return *FList.back();
}

void TUndoCells::Undo(CellGrid& aGrid)
{
    const auto found = FPositions.find(&aGrid);
    if (found == FPositions.end())
        return;
    const std::size_t position = found->second.back();
    found->second.pop_back();
    if (found->second.empty())
        FPositions.erase(found);
    // The stack is consistent before the grid is touched: moving the current cell runs the
    // grid's selection handling, which may record again.
    std::unique_ptr<TUndoCell> record = takeAt(position);

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
    FPositions.clear();
    FList.clear();
    FHoles = 0;
}

const TUndoCell& TUndoCells::GetItem(int X) const
{
    if (X < 0 || X >= Count())
        throw std::out_of_range("undo record index out of range");
    if (FHoles > 0)
        squeeze();
    return *FList[static_cast<std::size_t>(X)];
}

TUndoCell* TUndoCells::TopItem(const CellGrid& aGrid) const
{
    const auto found = FPositions.find(&aGrid);
    return found == FPositions.end() ? nullptr : FList[found->second.back()].get();
}

TUndoCell* TUndoCells::FirstItem(const CellGrid& aGrid) const
{
    const auto found = FPositions.find(&aGrid);
    return found == FPositions.end() ? nullptr : FList[found->second.front()].get();
}

int TUndoCells::DropOldest(const CellGrid& aGrid)
{
    if (!FirstItem(aGrid))
        return 0;
    std::deque<std::size_t>& positions = FPositions.find(&aGrid)->second;
    const std::size_t first = positions.front();
    positions.pop_front();
    int level = 0;
    for (const std::size_t position : positions)
        FList[position]->setUndoLevel(level++);
    if (positions.empty())
        FPositions.erase(&aGrid);
    takeAt(first);
    return level;
}

std::unique_ptr<TUndoCell> TUndoCells::takeAt(std::size_t position)
{
    std::unique_ptr<TUndoCell> record = std::move(FList[position]);
    if (position + 1 == FList.size()) {
        FList.pop_back();
        while (!FList.empty() && !FList.back()) {
            FList.pop_back();
            --FHoles;
        }
    } else {
        ++FHoles;
        if (FHoles * 2 > FList.size())
            squeeze();
    }
    return record;
}

void TUndoCells::squeeze() const
{
    std::size_t kept = 0;
    for (std::size_t position = 0; position < FList.size(); ++position)
        if (FList[position]) {
            if (kept != position)
                FList[kept] = std::move(FList[position]);
            ++kept;
        }
    FList.resize(kept);
    FHoles = 0;
    for (auto& [grid, positions] : FPositions)
        positions.clear();
    for (std::size_t position = 0; position < FList.size(); ++position)
        FPositions[FList[position]->Grid()].push_back(position);
}

}  // namespace grid
