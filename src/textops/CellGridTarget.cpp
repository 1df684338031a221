#include "textops/CellGridTarget.h"

#include "grid/CellGrid.h"
#include "grid/TUndoCells.h"

namespace textops {

std::u16string CellGridTarget::cellText(int column, int row) const
{
    return grid_.cellText(column, row);
}

void CellGridTarget::setCellText(int column, int row, const std::u16string& text)
{
    grid_.setCellText(column, row, text);
}

void CellGridTarget::pushUndo(int column, int row)
{
    undoCells_.Add(grid_, column, row);
}

}  // namespace textops
