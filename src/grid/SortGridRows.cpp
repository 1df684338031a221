#include "grid/SortGridRows.h"

#include "grid/CellGrid.h"

#include <stdexcept>
#include <utility>

namespace grid {

namespace {

std::u16string rowKey(const CellGrid& grid, int row, int keyA, int keyB)
{
    std::u16string key;
    if (keyA >= 0)
        key += grid.cellText(keyA, row);
    if (keyB >= 0)
        key += grid.cellText(keyB, row);
    return key;
}

// std::u16string compares char16_t values, which is the ordinal code-unit order.
bool mustFollow(const std::u16string& a, const std::u16string& b, SortOrder order, const LocaleNumberParser& parse)
{
    if (order == SortOrder::Text)
        return a > b;
    return parse(a).value_or(0.0) > parse(b).value_or(0.0);
}

void swapRows(CellGrid& grid, int a, int b)
{
    for (int col = 0; col < grid.ColCount(); ++col) {
        std::u16string textA = grid.cellText(col, a);
        const int objectA = grid.cellObject(col, a);
        grid.setCellText(col, a, grid.cellText(col, b));
        grid.setCellObject(col, a, grid.cellObject(col, b));
        grid.setCellText(col, b, textA);
        grid.setCellObject(col, b, objectA);
    }
}

}  // namespace

void SortGridRows(CellGrid& grid, int keyA, int keyB, SortOrder order, const LocaleNumberParser& parseNumber)
{
    if (order == SortOrder::Numeric && !parseNumber)
        throw std::invalid_argument("numeric sorting needs a number parser");
    const int rows = grid.RowCount();
    if (rows < 3)
        return;
    const int last = rows - 1;
    for (int i = 1; i < last; ++i) {
        std::u16string keyI = rowKey(grid, i, keyA, keyB);
        for (int j = i + 1; j <= last; ++j) {
            std::u16string keyJ = rowKey(grid, j, keyA, keyB);
            if (mustFollow(keyI, keyJ, order, parseNumber)) {
                swapRows(grid, i, j);
                keyI = std::move(keyJ);
            }
        }
    }
}

}  // namespace grid
