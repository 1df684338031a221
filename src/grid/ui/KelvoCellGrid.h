#pragma once

#include "grid/CellGrid.h"

namespace grid {

class KelvoStringGrid;

// The grid operations' view of a KelvoStringGrid. Each widget owns one, so undo records
// made through it find the same grid again.
class KelvoCellGrid : public CellGrid {
public:
    explicit KelvoCellGrid(KelvoStringGrid& widget) : widget_(widget) {}

    KelvoStringGrid& widget() const { return widget_; }

    int ColCount() const override;
    int RowCount() const override;
    void setColCount(int count) override;
    void setRowCount(int count) override;
    int FixedCols() const override;
    int FixedRows() const override;
    void setFixedCols(int count) override;

    std::u16string cellText(int col, int row) const override;
    void setCellText(int col, int row, const std::u16string& text) override;
    int cellObject(int col, int row) const override;
    void setCellObject(int col, int row, int object) override;

    GridRect selection() const override;
    void setSelection(const GridRect& rect) override;

    int Col() const override;
    int Row() const override;
    void setCol(int col) override;
    void setRow(int row) override;

    void beginUpdate() override;
    void endUpdate() override;

    int textWidth(const std::u16string& text) const override;
    int colWidth(int col) const override;
    void setColWidth(int col, int width) override;

private:
    KelvoStringGrid& widget_;
};

}  // namespace grid
