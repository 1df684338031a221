#pragma once

#include <functional>
#include <optional>
#include <string>

namespace grid {

class CellGrid;

// Reads a decimal number in the user's locale; nothing when the text is not a number.
using LocaleNumberParser = std::function<std::optional<double>(const std::u16string& text)>;

enum class SortOrder {
    Text,     // ordinal by UTF-16 code unit, case-sensitive: "1", "10", "11", "2"
    Numeric,  // by value in the user's locale; a text that is not a number counts as 0
};

// Sorts the data rows 1..last ascending by the text of column keyA followed by that of
// column keyB (-1 leaves a column out). Whole rows move, every column and the cell objects
// included. Rows with equal keys end in the order an exchange sort leaves them (see
// common/ExchangeSortOrder.h), which is what users see. parseNumber is needed for
// SortOrder::Numeric only.
void SortGridRows(CellGrid& grid, int keyA, int keyB, SortOrder order, const LocaleNumberParser& parseNumber = {});

}  // namespace grid
