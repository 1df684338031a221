#include "grid/SortGridRows.h"

#include "grid/CellGrid.h"

#include <stdexcept>
#include <utility>
#include <vector>

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

// A row's key as the comparison needs it: the text for text order (std::u16string compares
// char16_t values, which is the ordinal code-unit order), the number for numeric order.
struct SortKey {
    std::u16string text;
    double number = 0.0;
};

SortKey sortKey(const CellGrid& grid, int row, int keyA, int keyB, SortOrder order, const LocaleNumberParser& parse)
{
    SortKey key{rowKey(grid, row, keyA, keyB)};
    if (order == SortOrder::Numeric)
        key.number = parse(key.text).value_or(0.0);
    return key;
}

bool mustFollow(const SortKey& a, const SortKey& b, SortOrder order)
{
    return order == SortOrder::Text ? a.text > b.text : a.number > b.number;
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
    // Keys are read once per row and travel with their rows.
    std::vector<SortKey> keys(static_cast<size_t>(rows));
    for (int row = 1; row <= last; ++row)
        keys[static_cast<size_t>(row)] = sortKey(grid, row, keyA, keyB, order, parseNumber);
    for (int i = 1; i < last; ++i) {
        for (int j = i + 1; j <= last; ++j) {
            if (mustFollow(keys[static_cast<size_t>(i)], keys[static_cast<size_t>(j)], order)) {
                swapRows(grid, i, j);
                std::swap(keys[static_cast<size_t>(i)], keys[static_cast<size_t>(j)]);
            }
        }
    }
}

}  // namespace grid
