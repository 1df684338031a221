#pragma once

#include "grid/CellGrid.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace search::test {

// The result grid as plain vectors: one column, no fixed cells. A move of the current row by
// the program reports a click through onClick, as the widget does.
class FakeResultGrid : public grid::CellGrid {
public:
    struct Cell {
        std::u16string text;
        int object = 0;
    };
    std::vector<Cell> cells{Cell{}};
    int row = 0;
    grid::GridRect selected;
    std::function<void()> onClick;

    std::vector<std::u16string> texts() const
    {
        std::vector<std::u16string> result;
        for (const auto& cell : cells)
            result.push_back(cell.text);
        return result;
    }
    std::vector<int> tags() const
    {
        std::vector<int> result;
        for (const auto& cell : cells)
            result.push_back(cell.object);
        return result;
    }
    std::u16string& text(int r) { return cells.at(static_cast<size_t>(r)).text; }

    int ColCount() const override { return 1; }
    int RowCount() const override { return static_cast<int>(cells.size()); }
    void setColCount(int) override {}
    void setRowCount(int count) override { cells.resize(static_cast<size_t>(count)); }
    int FixedCols() const override { return 0; }
    int FixedRows() const override { return 0; }
    void setFixedCols(int) override {}

    std::u16string cellText(int col, int r) const override
    {
        return contains(col, r) ? cells[static_cast<size_t>(r)].text : std::u16string();
    }
    void setCellText(int col, int r, const std::u16string& t) override
    {
        if (contains(col, r))
            cells[static_cast<size_t>(r)].text = t;
    }
    int cellObject(int col, int r) const override { return contains(col, r) ? cells[static_cast<size_t>(r)].object : 0; }
    void setCellObject(int col, int r, int object) override
    {
        if (contains(col, r))
            cells[static_cast<size_t>(r)].object = object;
    }

    grid::GridRect selection() const override { return selected; }
    void setSelection(const grid::GridRect& rect) override
    {
        selected = rect;
        moveTo(rect.Bottom);
    }
    int Col() const override { return 0; }
    int Row() const override { return row; }
    void setCol(int) override {}
    void setRow(int r) override
    {
        selected = {0, r, 0, r};
        moveTo(r);
    }

    void beginUpdate() override {}
    void endUpdate() override {}
    int textWidth(const std::u16string& t) const override { return static_cast<int>(t.size()) * 7; }
    int colWidth(int) const override { return 200; }
    void setColWidth(int, int) override {}

private:
    void moveTo(int r)
    {
        const bool moved = r != row;
        row = r;
        if (moved && onClick)
            onClick();
    }
};

}  // namespace search::test
