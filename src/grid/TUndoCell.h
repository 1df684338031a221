#pragma once

#include <string>

namespace grid {

class CellGrid;

// One recorded cell: its grid, position and the text it held before a change.
class TUndoCell {
public:
    CellGrid* Grid() const { return FGrid; }
    void setGrid(CellGrid* grid) { FGrid = grid; }
    const std::u16string& Text() const { return FText; }
    void setText(std::u16string text) { FText = std::move(text); }
    int X() const { return FX; }
    void setX(int x) { FX = x; }
    int Y() const { return FY; }
    void setY(int y) { FY = y; }
    // Sequence number among the records of the same grid, 0 for the oldest.
    int UndoLevel() const { return FUndoLevel; }
    void setUndoLevel(int level) { FUndoLevel = level; }

private:
    CellGrid* FGrid = nullptr;  // not owned
    std::u16string FText;
    int FX = 0;
    int FY = 0;
    int FUndoLevel = 0;
};

}  // namespace grid
