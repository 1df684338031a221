#include "grid/SortGridRows.h"

#include "grid/CellGrid.h"

#include "common/ExchangeSortOrder.h"

#include <cmath>
#include <optional>
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

// Every column of one row, object included, taken out of the grid.
struct RowCells {
    std::vector<std::u16string> texts;
    std::vector<int> objects;
};

RowCells readRow(const CellGrid& grid, int row)
{
    RowCells cells;
    const int cols = grid.ColCount();
    cells.texts.reserve(static_cast<size_t>(cols));
    cells.objects.reserve(static_cast<size_t>(cols));
    for (int col = 0; col < cols; ++col) {
        cells.texts.push_back(grid.cellText(col, row));
        cells.objects.push_back(grid.cellObject(col, row));
    }
    return cells;
}

void writeRow(CellGrid& grid, int row, const RowCells& cells)
{
    for (size_t col = 0; col < cells.texts.size(); ++col) {
        grid.setCellText(static_cast<int>(col), row, cells.texts[col]);
        grid.setCellObject(static_cast<int>(col), row, cells.objects[col]);
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
    const size_t count = static_cast<size_t>(last);
    // Keys are read once per row; data row r is item r - 1.
    std::vector<SortKey> keys;
    keys.reserve(count);
    for (int row = 1; row <= last; ++row)
        keys.push_back(sortKey(grid, row, keyA, keyB, order, parseNumber));
    std::vector<size_t> moved;
    if (order == SortOrder::Text) {
        moved = common::exchangeSortOrder(
            count, [&](size_t a, size_t b) { return keys[a].text < keys[b].text; }, [](size_t) { return false; });
    } else {
        moved = common::exchangeSortOrder(
            count, [&](size_t a, size_t b) { return keys[a].number < keys[b].number; },
            [&](size_t i) { return std::isnan(keys[i].number); });
    }
    // Only the rows that change are written, each once.
    std::vector<std::optional<RowCells>> original(count);
    for (size_t k = 0; k < count; ++k)
        if (moved[k] != k)
            original[moved[k]] = readRow(grid, static_cast<int>(moved[k]) + 1);
    for (size_t k = 0; k < count; ++k)
        if (moved[k] != k)
            writeRow(grid, static_cast<int>(k) + 1, *original[moved[k]]);
}

}  // namespace grid
