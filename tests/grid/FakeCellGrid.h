#pragma once

#include "grid/CellGrid.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace grid::test {

// A string grid of plain vectors. Cell moves by the program are counted as the clicks they
// report; a text is 7 pixels per character wide.
class FakeCellGrid : public CellGrid {
public:
    struct Cell {
        std::u16string text;
        int object = 0;
    };

    FakeCellGrid(int cols = 5, int rows = 5) { resize(cols, rows); }

    int ColCount() const override { return cols_; }
    int RowCount() const override { return rows_; }
    void setColCount(int count) override { resize(count, rows_); }
    void setRowCount(int count) override { resize(cols_, count); }
    int FixedCols() const override { return fixedCols; }
    int FixedRows() const override { return 1; }
    void setFixedCols(int count) override { fixedCols = count; }

    std::u16string cellText(int col, int row) const override { return contains(col, row) ? at(col, row).text : u""; }
    void setCellText(int col, int row, const std::u16string& text) override
    {
        if (contains(col, row))
            at(col, row).text = text;
    }
    int cellObject(int col, int row) const override { return contains(col, row) ? at(col, row).object : 0; }
    void setCellObject(int col, int row, int object) override
    {
        if (contains(col, row))
            at(col, row).object = object;
    }

    GridRect selection() const override { return selection_; }
    void setSelection(const GridRect& rect) override
    {
        selection_ = rect;
        col_ = rect.Right;
        row_ = rect.Bottom;
    }
    int Col() const override { return col_; }
    int Row() const override { return row_; }
    void setCol(int col) override
    {
        col_ = col;
        selection_ = {col_, row_, col_, row_};
        moves.emplace_back(col_, row_);
    }
    void setRow(int row) override
    {
        row_ = row;
        selection_ = {col_, row_, col_, row_};
        moves.emplace_back(col_, row_);
    }

    void beginUpdate() override { ++updateDepth, ++updateBrackets; }
    void endUpdate() override { --updateDepth; }

    int textWidth(const std::u16string& text) const override { return static_cast<int>(text.size()) * 7; }
    int colWidth(int col) const override { return widths[static_cast<size_t>(col)]; }
    void setColWidth(int col, int width) override { widths[static_cast<size_t>(col)] = width; }

    // Test helpers.
    void select(int left, int top, int right, int bottom) { setSelection({left, top, right, bottom}); }
    void setColumn(int col, const std::vector<std::u16string>& texts, int firstRow = 1)
    {
        for (size_t i = 0; i < texts.size(); ++i)
            setCellText(col, firstRow + static_cast<int>(i), texts[i]);
    }
    std::vector<std::u16string> column(int col, int firstRow = 1) const
    {
        std::vector<std::u16string> texts;
        for (int row = firstRow; row < rows_; ++row)
            texts.push_back(cellText(col, row));
        return texts;
    }

    int fixedCols = 1;
    int updateDepth = 0;
    int updateBrackets = 0;
    std::vector<int> widths;
    std::vector<std::pair<int, int>> moves;  // current cell after each move by the program

private:
    void resize(int cols, int rows)
    {
        std::vector<Cell> cells(static_cast<size_t>(cols) * static_cast<size_t>(rows));
        for (int r = 0; r < std::min(rows, rows_); ++r)
            for (int c = 0; c < std::min(cols, cols_); ++c)
                cells[static_cast<size_t>(r * cols + c)] = at(c, r);
        cells_ = std::move(cells);
        widths.resize(static_cast<size_t>(cols), 64);
        cols_ = cols;
        rows_ = rows;
    }
    Cell& at(int col, int row) { return cells_[static_cast<size_t>(row * cols_ + col)]; }
    const Cell& at(int col, int row) const { return cells_[static_cast<size_t>(row * cols_ + col)]; }

    int cols_ = 0;
    int rows_ = 0;
    std::vector<Cell> cells_;
    GridRect selection_{1, 1, 1, 1};
    int col_ = 1;
    int row_ = 1;
};

}  // namespace grid::test
