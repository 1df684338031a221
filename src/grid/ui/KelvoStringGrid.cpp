#include "grid/ui/KelvoStringGrid.h"

#include "grid/ui/KelvoCellDelegate.h"
#include "grid/ui/KelvoCellGrid.h"

#include <QAbstractButton>
#include <QFontMetrics>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPainter>
#include <QStyle>

#include <algorithm>

namespace grid {

namespace {

constexpr int kObjectRole = Qt::UserRole;
constexpr int kDefaultFixedColWidth = 64;

}  // namespace

KelvoStringGrid::KelvoStringGrid(QWidget* parent)
    : QTableWidget(parent),
      delegate_(new KelvoCellDelegate(*this)),
      corner_(std::make_unique<QTableWidgetItem>()),
      cellGrid_(std::make_unique<KelvoCellGrid>(*this))
{
    setItemDelegate(delegate_);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::AnyKeyPressed |
                    QAbstractItemView::EditKeyPressed);
    setTextElideMode(Qt::ElideNone);
    setWordWrap(false);
    setSortingEnabled(false);

    for (QHeaderView* header : {horizontalHeader(), verticalHeader()}) {
        header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        header->setHighlightSections(false);
        // Clicks on fixed cells select nothing by themselves: they are reported.
        header->setSectionsClickable(false);
        header->viewport()->installEventFilter(this);
    }
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    // A column fitted to its text keeps that width: the header's own minimum follows the
    // font's widest glyph, which on Windows with a Japanese fallback font is wider than a
    // short prompt.
    horizontalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setFixedWidth(kDefaultFixedColWidth);

    const auto buttons = findChildren<QAbstractButton*>(QString(), Qt::FindDirectChildrenOnly);
    if (!buttons.isEmpty()) {
        cornerButton_ = buttons.first();
        cornerButton_->installEventFilter(this);
    }

    connect(model(), &QAbstractItemModel::rowsInserted, this, [this] { fillMissingHeaderItems(); });
    connect(model(), &QAbstractItemModel::columnsInserted, this, [this] { fillMissingHeaderItems(); });

    horizontalHeader()->setVisible(false);
    verticalHeader()->setVisible(false);
}

KelvoStringGrid::~KelvoStringGrid() = default;

CellGrid& KelvoStringGrid::cells()
{
    return *cellGrid_;
}

int KelvoStringGrid::gridColCount() const
{
    return columnCount() + fixedCols_;
}

int KelvoStringGrid::gridRowCount() const
{
    return rowCount() + fixedRows_;
}

void KelvoStringGrid::setGridColCount(int count)
{
    setColumnCount(std::max(0, count - fixedCols_));
}

void KelvoStringGrid::setGridRowCount(int count)
{
    setRowCount(std::max(0, count - fixedRows_));
}

void KelvoStringGrid::fillMissingHeaderItems()
{
    // Without an item of its own a header section shows its number; a fixed cell is empty
    // until the program writes it.
    for (int r = 0; r < rowCount(); ++r) {
        if (!verticalHeaderItem(r))
            setVerticalHeaderItem(r, new QTableWidgetItem());
    }
    for (int c = 0; c < columnCount(); ++c) {
        if (!horizontalHeaderItem(c))
            setHorizontalHeaderItem(c, new QTableWidgetItem());
    }
}

void KelvoStringGrid::setFixedRows(int count)
{
    count = std::clamp(count, 0, 1);
    if (count == fixedRows_)
        return;
    // The cells keep their texts and objects: the first data row becomes the fixed row or
    // the fixed row becomes a data row.
    if (count == 1) {
        if (rowCount() > 0) {
            for (int c = 0; c < columnCount(); ++c) {
                auto* cell = takeItem(0, c);
                setHorizontalHeaderItem(c, cell ? cell : new QTableWidgetItem());
            }
            if (fixedCols_ == 1) {
                if (QTableWidgetItem* first = takeVerticalHeaderItem(0))
                    corner_.reset(first);
            }
            removeRow(0);
        }
        horizontalHeader()->setVisible(true);
    } else {
        insertRow(0);
        for (int c = 0; c < columnCount(); ++c) {
            QTableWidgetItem* header = takeHorizontalHeaderItem(c);
            setItem(0, c, header ? header : new QTableWidgetItem());
            setHorizontalHeaderItem(c, new QTableWidgetItem());
        }
        if (fixedCols_ == 1) {
            setVerticalHeaderItem(0, corner_.release());
            corner_ = std::make_unique<QTableWidgetItem>();
        }
        horizontalHeader()->setVisible(false);
    }
    fixedRows_ = count;
    fillMissingHeaderItems();
    // The fixed row is as high as the data rows.
    horizontalHeader()->setFixedHeight(verticalHeader()->defaultSectionSize());
}

void KelvoStringGrid::setFixedCols(int count)
{
    count = std::clamp(count, 0, 1);
    if (count == fixedCols_)
        return;
    if (count == 1) {
        if (columnCount() > 0) {
            for (int r = 0; r < rowCount(); ++r) {
                auto* cell = takeItem(r, 0);
                setVerticalHeaderItem(r, cell ? cell : new QTableWidgetItem());
            }
            if (fixedRows_ == 1) {
                if (QTableWidgetItem* first = takeHorizontalHeaderItem(0))
                    corner_.reset(first);
            }
            const int width = columnWidth(0);
            removeColumn(0);
            verticalHeader()->setFixedWidth(width > 0 ? width : kDefaultFixedColWidth);
        }
        verticalHeader()->setVisible(true);
    } else {
        const int width = verticalHeader()->width();
        insertColumn(0);
        for (int r = 0; r < rowCount(); ++r) {
            QTableWidgetItem* header = takeVerticalHeaderItem(r);
            setItem(r, 0, header ? header : new QTableWidgetItem());
            setVerticalHeaderItem(r, new QTableWidgetItem());
        }
        if (fixedRows_ == 1) {
            setHorizontalHeaderItem(0, corner_.release());
            corner_ = std::make_unique<QTableWidgetItem>();
        }
        setColumnWidth(0, width);
        verticalHeader()->setVisible(false);
    }
    fixedCols_ = count;
    fillMissingHeaderItems();
}

bool KelvoStringGrid::isInGrid(int col, int row) const
{
    return col >= 0 && row >= 0 && col < gridColCount() && row < gridRowCount();
}

QTableWidgetItem* KelvoStringGrid::cellItem(int col, int row, bool create) const
{
    if (!isInGrid(col, row))
        return nullptr;
    auto* self = const_cast<KelvoStringGrid*>(this);
    if (row < fixedRows_ && col < fixedCols_)
        return corner_.get();
    if (row < fixedRows_) {
        QTableWidgetItem* item = horizontalHeaderItem(col - fixedCols_);
        if (!item && create) {
            item = new QTableWidgetItem();
            self->setHorizontalHeaderItem(col - fixedCols_, item);
        }
        return item;
    }
    if (col < fixedCols_) {
        QTableWidgetItem* item = verticalHeaderItem(row - fixedRows_);
        if (!item && create) {
            item = new QTableWidgetItem();
            self->setVerticalHeaderItem(row - fixedRows_, item);
        }
        return item;
    }
    QTableWidgetItem* item = this->item(row - fixedRows_, col - fixedCols_);
    if (!item && create) {
        item = new QTableWidgetItem();
        self->setItem(row - fixedRows_, col - fixedCols_, item);
    }
    return item;
}

QModelIndex KelvoStringGrid::dataIndex(int col, int row) const
{
    if (col < fixedCols_ || row < fixedRows_)
        return {};
    return model()->index(row - fixedRows_, col - fixedCols_);
}

QString KelvoStringGrid::cellText(int col, int row) const
{
    const QTableWidgetItem* item = cellItem(col, row, false);
    return item ? item->text() : QString();
}

void KelvoStringGrid::setCellText(int col, int row, const QString& text)
{
    QTableWidgetItem* item = cellItem(col, row, !text.isEmpty());
    if (item && item->text() != text)
        item->setText(text);
}

int KelvoStringGrid::cellObject(int col, int row) const
{
    const QTableWidgetItem* item = cellItem(col, row, false);
    return item ? item->data(kObjectRole).toInt() : 0;
}

void KelvoStringGrid::setCellObject(int col, int row, int object)
{
    QTableWidgetItem* item = cellItem(col, row, object != 0);
    if (item && item->data(kObjectRole).toInt() != object)
        item->setData(kObjectRole, object);
}

int KelvoStringGrid::currentCol() const
{
    const QModelIndex current = currentIndex();
    if (current.isValid())
        return current.column() + fixedCols_;
    // Before the user or the program picked a cell, the first data cell is current.
    return columnCount() > 0 && rowCount() > 0 ? fixedCols_ : -1;
}

int KelvoStringGrid::currentRow() const
{
    const QModelIndex current = currentIndex();
    if (current.isValid())
        return current.row() + fixedRows_;
    return columnCount() > 0 && rowCount() > 0 ? fixedRows_ : -1;
}

void KelvoStringGrid::setCurrentCell(int col, int row)
{
    setSelectionCorners(col, row, col, row);
}

GridRect KelvoStringGrid::selectionRect() const
{
    const QItemSelection selection = selectionModel()->selection();
    if (selection.isEmpty()) {
        const int col = currentCol();
        const int row = currentRow();
        return {col, row, col, row};
    }
    GridRect rect{selection.first().left(), selection.first().top(), selection.first().right(),
                  selection.first().bottom()};
    for (const QItemSelectionRange& range : selection) {
        rect.Left = std::min(rect.Left, range.left());
        rect.Top = std::min(rect.Top, range.top());
        rect.Right = std::max(rect.Right, range.right());
        rect.Bottom = std::max(rect.Bottom, range.bottom());
    }
    rect.Left += fixedCols_;
    rect.Right += fixedCols_;
    rect.Top += fixedRows_;
    rect.Bottom += fixedRows_;
    return rect;
}

void KelvoStringGrid::setSelectionCorners(int anchorCol, int anchorRow, int currentCol, int currentRow)
{
    if (columnCount() == 0 || rowCount() == 0)
        return;
    const auto clampCol = [this](int c) { return std::clamp(c, fixedCols_, gridColCount() - 1); };
    const auto clampRow = [this](int r) { return std::clamp(r, fixedRows_, gridRowCount() - 1); };
    anchorCol = clampCol(anchorCol);
    currentCol = clampCol(currentCol);
    anchorRow = clampRow(anchorRow);
    currentRow = clampRow(currentRow);

    const QModelIndex topLeft = dataIndex(std::min(anchorCol, currentCol), std::min(anchorRow, currentRow));
    const QModelIndex bottomRight = dataIndex(std::max(anchorCol, currentCol), std::max(anchorRow, currentRow));
    const QModelIndex current = dataIndex(currentCol, currentRow);
    // The selection is in place before the move of the current cell is reported.
    selectionModel()->select(QItemSelection(topLeft, bottomRight), QItemSelectionModel::ClearAndSelect);
    selectionModel()->setCurrentIndex(current, QItemSelectionModel::NoUpdate);
    scrollTo(current);
    viewport()->update();
}

int KelvoStringGrid::gridColWidth(int col) const
{
    if (col < 0 || col >= gridColCount())
        return 0;
    if (col < fixedCols_)
        return verticalHeader()->maximumWidth();
    return columnWidth(col - fixedCols_);
}

void KelvoStringGrid::setGridColWidth(int col, int width)
{
    if (col < 0 || col >= gridColCount())
        return;
    if (col < fixedCols_)
        verticalHeader()->setFixedWidth(width);
    else
        setColumnWidth(col - fixedCols_, width);
}

int KelvoStringGrid::gridTextWidth(const QString& text) const
{
    return QFontMetrics(font()).horizontalAdvance(text);
}

void KelvoStringGrid::beginUpdate()
{
    if (updateDepth_++ == 0)
        setUpdatesEnabled(false);
}

void KelvoStringGrid::endUpdate()
{
    if (updateDepth_ == 0)
        return;
    if (--updateDepth_ == 0) {
        setUpdatesEnabled(true);
        viewport()->update();
    }
}

void KelvoStringGrid::setEditingEnabled(bool enabled)
{
    editingEnabled_ = enabled;
    if (!enabled && isEditorOpen()) {
        if (QWidget* editor = indexWidget(currentIndex()))
            delegate_->finishEditing(editor);
    }
}

bool KelvoStringGrid::isEditorOpen() const
{
    return state() == QAbstractItemView::EditingState;
}

void KelvoStringGrid::setColumnSpansWidth(bool spans)
{
    horizontalHeader()->setStretchLastSection(spans);
}

void KelvoStringGrid::drawCellText(QPainter& painter, const QRect& rect, const QString& text,
                                   const QColor& color) const
{
    if (text.isEmpty())
        return;
    painter.save();
    painter.setClipRect(rect);
    painter.setFont(font());
    painter.setPen(color);
    painter.drawText(rect.adjusted(2, 0, -2, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
    painter.restore();
}

void KelvoStringGrid::paintDataCell(QPainter& painter, const QRect& rect, const QModelIndex& index, bool selected)
{
    if (!drawCellHandler_)
        return;
    CellPaintState state;
    state.selected = selected;
    state.background = selected ? palette().color(QPalette::Active, QPalette::Highlight)
                                : palette().color(QPalette::Active, QPalette::Base);
    painter.save();
    drawCellHandler_(painter, rect, index.column() + fixedCols_, index.row() + fixedRows_, state);
    painter.restore();
}

}  // namespace grid
