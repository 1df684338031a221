#pragma once

#include "textops/CellBatch.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace textops::test {

// A grid of texts that records every cell saved to its undo stack, in order.
class FakeCellGrid : public CellTarget {
public:
    std::u16string cellText(int column, int row) const override
    {
        const auto it = cells.find({column, row});
        return it == cells.end() ? std::u16string() : it->second;
    }
    void setCellText(int column, int row, const std::u16string& text) override { cells[{column, row}] = text; }
    void pushUndo(int column, int row) override { undo.push_back({{column, row}, cellText(column, row)}); }

    std::map<std::pair<int, int>, std::u16string> cells;
    std::vector<std::pair<std::pair<int, int>, std::u16string>> undo;
};

}  // namespace textops::test
