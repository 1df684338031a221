#include "grid/ui/KelvoCellGrid.h"

#include "grid/ui/KelvoStringGrid.h"

namespace grid {

int KelvoCellGrid::ColCount() const
{
    return widget_.gridColCount();
}

int KelvoCellGrid::RowCount() const
{
    return widget_.gridRowCount();
}

void KelvoCellGrid::setColCount(int count)
{
    widget_.setGridColCount(count);
}

void KelvoCellGrid::setRowCount(int count)
{
    widget_.setGridRowCount(count);
}

int KelvoCellGrid::FixedCols() const
{
    return widget_.fixedCols();
}

int KelvoCellGrid::FixedRows() const
{
    return widget_.fixedRows();
}

void KelvoCellGrid::setFixedCols(int count)
{
    widget_.setFixedCols(count);
}

std::u16string KelvoCellGrid::cellText(int col, int row) const
{
    return widget_.cellText(col, row).toStdU16String();
}

void KelvoCellGrid::setCellText(int col, int row, const std::u16string& text)
{
    widget_.setCellText(col, row, QString::fromStdU16String(text));
}

int KelvoCellGrid::cellObject(int col, int row) const
{
    return widget_.cellObject(col, row);
}

void KelvoCellGrid::setCellObject(int col, int row, int object)
{
    widget_.setCellObject(col, row, object);
}

GridRect KelvoCellGrid::selection() const
{
    return widget_.selectionRect();
}

void KelvoCellGrid::setSelection(const GridRect& rect)
{
    widget_.setSelectionCorners(rect.Left, rect.Top, rect.Right, rect.Bottom);
}

int KelvoCellGrid::Col() const
{
    return widget_.currentCol();
}

int KelvoCellGrid::Row() const
{
    return widget_.currentRow();
}

void KelvoCellGrid::setCol(int col)
{
    widget_.setCurrentCell(col, widget_.currentRow());
}

void KelvoCellGrid::setRow(int row)
{
    widget_.setCurrentCell(widget_.currentCol(), row);
}

void KelvoCellGrid::beginUpdate()
{
    widget_.beginUpdate();
}

void KelvoCellGrid::endUpdate()
{
    widget_.endUpdate();
}

int KelvoCellGrid::textWidth(const std::u16string& text) const
{
    return widget_.gridTextWidth(QString::fromStdU16String(text));
}

int KelvoCellGrid::colWidth(int col) const
{
    return widget_.gridColWidth(col);
}

void KelvoCellGrid::setColWidth(int col, int width)
{
    widget_.setGridColWidth(col, width);
}

}  // namespace grid
