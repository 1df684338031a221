#include "textops/CellBatch.h"

#include <algorithm>

namespace textops {

int transformCells(CellTarget& grid, const CellRect& rect, const CellTransform& transform, CellUndo undo,
                   const StepControl& control)
{
    int count = 0;
    for (int row = rect.top; row <= rect.bottom; ++row) {
        for (int column = rect.left; column <= rect.right; ++column) {
            if (undo == CellUndo::EveryCell) {
                grid.pushUndo(column, row);
                std::u16string text = grid.cellText(column, row);
                if (transform(text))
                    control.pump();
                grid.setCellText(column, row, text);
                ++count;
            } else {
                std::u16string text = grid.cellText(column, row);
                if (!transform(text))
                    continue;
                grid.pushUndo(column, row);
                grid.setCellText(column, row, text);
                ++count;
            }
        }
    }
    return std::max(count, 1);
}

}  // namespace textops
