// The string grid's keyboard and mouse: when a key opens the cell editor, the key-down
// handler, clicks on data cells and on the fixed cells (the headers and the corner).
#include "grid/ui/KelvoStringGrid.h"

#include "grid/ui/KelvoCellDelegate.h"

#include <QAbstractButton>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyle>

namespace grid {

namespace {

bool isEnterKey(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

// A key opens the editor only when it types a character.
bool typesCharacter(const QEvent* event)
{
    if (!event || (event->type() != QEvent::KeyPress))
        return true;
    const auto* key = static_cast<const QKeyEvent*>(event);
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    const QString text = key->text();
    return !text.isEmpty() && text.at(0).isPrint();
}

// A press this close to the border between two header sections starts a resize, not a click.
bool nearSectionBorder(const QHeaderView& header, int pos)
{
    const int grip = header.style()->pixelMetric(QStyle::PM_HeaderGripMargin, nullptr, &header);
    const int before = header.logicalIndexAt(pos - grip);
    const int after = header.logicalIndexAt(pos + grip);
    return before >= 0 && before != after && header.sectionResizeMode(before) == QHeaderView::Interactive;
}

}  // namespace

bool KelvoStringGrid::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event)
{
    if (!editingEnabled_ || (trigger == QAbstractItemView::AnyKeyPressed && !typesCharacter(event)))
        return false;
    return QTableWidget::edit(index, trigger, event);
}

bool KelvoStringGrid::runKeyDownHandler(QKeyEvent* event)
{
    if (!keyDownHandler_)
        return false;
    int key = event->key();
    keyDownHandler_(key, event->modifiers());
    return key == 0;
}

void KelvoStringGrid::toggleEditor()
{
    if (isEditorOpen()) {
        if (QWidget* editor = indexWidget(currentIndex()))
            delegate_->finishEditing(editor);
        setFocus();
        return;
    }
    const QModelIndex current = currentIndex().isValid() ? currentIndex() : dataIndex(currentCol(), currentRow());
    if (current.isValid())
        edit(current, QAbstractItemView::AllEditTriggers, nullptr);
}

void KelvoStringGrid::navigateFromEditor(QKeyEvent* event)
{
    QTableWidget::keyPressEvent(event);
}

void KelvoStringGrid::keyPressEvent(QKeyEvent* event)
{
    if (runKeyDownHandler(event)) {
        event->accept();
        return;
    }
    if (isEnterKey(event->key())) {
        toggleEditor();
        event->accept();
        return;
    }
    QTableWidget::keyPressEvent(event);
}

void KelvoStringGrid::keyboardSearch(const QString&)
{
    // Typing never jumps to a cell by its text.
}

QPoint KelvoStringGrid::cellAtViewport(const QPoint& pos) const
{
    int col = -1;
    if (pos.x() < 0) {
        if (fixedCols_ > 0 && pos.x() >= -verticalHeader()->width())
            col = 0;
    } else if (const int c = columnAt(pos.x()); c >= 0) {
        col = c + fixedCols_;
    }
    int row = -1;
    if (pos.y() < 0) {
        if (fixedRows_ > 0 && pos.y() >= -horizontalHeader()->height())
            row = 0;
    } else if (const int r = rowAt(pos.y()); r >= 0) {
        row = r + fixedRows_;
    }
    return {col, row};
}

QPoint KelvoStringGrid::cellAt(const QPoint& gridPos) const
{
    return cellAtViewport(viewport()->mapFrom(this, gridPos));
}

void KelvoStringGrid::mousePressEvent(QMouseEvent* event)
{
    const QPoint cell = cellAtViewport(event->position().toPoint());
    currentAtPress_ = currentIndex();
    pressOnDataCell_ = event->button() == Qt::LeftButton && dataIndex(cell.x(), cell.y()).isValid();
    // Only the left button selects: a right click opens the popup menu on the selection
    // as it is.
    if (event->button() == Qt::LeftButton)
        QTableWidget::mousePressEvent(event);
    emit gridMouseDown(event->button(), cell.x(), cell.y());
}

void KelvoStringGrid::mouseMoveEvent(QMouseEvent* event)
{
    QTableWidget::mouseMoveEvent(event);
    const QPoint cell = cellAtViewport(event->position().toPoint());
    emit gridMouseMove(event->buttons(), cell.x(), cell.y());
}

void KelvoStringGrid::mouseReleaseEvent(QMouseEvent* event)
{
    QTableWidget::mouseReleaseEvent(event);
    const QPoint cell = cellAtViewport(event->position().toPoint());
    // A click on the cell that already is current moves nothing but is a click all the same.
    const bool click = pressOnDataCell_ && event->button() == Qt::LeftButton && currentIndex() == currentAtPress_ &&
                       dataIndex(cell.x(), cell.y()).isValid();
    pressOnDataCell_ = false;
    if (click)
        emit gridClick();
    emit gridMouseUp(event->button(), cell.x(), cell.y());
}

void KelvoStringGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QTableWidget::currentChanged(current, previous);
    if (current.isValid() && current != previous)
        emit gridClick();
}

bool KelvoStringGrid::eventFilter(QObject* watched, QEvent* event)
{
    if (headerMouseEvent(watched, event))
        return true;
    return QTableWidget::eventFilter(watched, event);
}

bool KelvoStringGrid::headerMouseEvent(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease && type != QEvent::MouseButtonDblClick)
        return false;
    auto* mouse = static_cast<QMouseEvent*>(event);

    if (watched == cornerButton_) {
        // The corner is a fixed cell like the others; it does not select by itself.
        if (type == QEvent::MouseButtonPress && mouse->button() == Qt::LeftButton) {
            pressedHeader_ = cornerButton_;
        } else if (type == QEvent::MouseButtonRelease && pressedHeader_ == cornerButton_) {
            pressedHeader_ = nullptr;
            if (cornerButton_->rect().contains(mouse->position().toPoint()) && fixedCols_ > 0 && fixedRows_ > 0)
                emit fixedCellClick(0, 0);
        }
        return true;
    }

    QHeaderView* header = nullptr;
    if (watched == horizontalHeader()->viewport())
        header = horizontalHeader();
    else if (watched == verticalHeader()->viewport())
        header = verticalHeader();
    if (!header)
        return false;

    const bool horizontal = header == horizontalHeader();
    const int pos = horizontal ? mouse->position().toPoint().x() : mouse->position().toPoint().y();
    if (type == QEvent::MouseButtonPress) {
        pressedHeader_ = nullptr;
        if (mouse->button() == Qt::LeftButton && !nearSectionBorder(*header, pos)) {
            pressedHeader_ = header;
            pressedSection_ = header->logicalIndexAt(pos);
        }
        // The header goes on to resize a column when the press was on a border.
        return false;
    }
    if (type == QEvent::MouseButtonRelease && pressedHeader_ == header) {
        pressedHeader_ = nullptr;
        const int section = header->logicalIndexAt(pos);
        if (section >= 0 && section == pressedSection_) {
            if (horizontal)
                emit fixedCellClick(section + fixedCols_, 0);
            else
                emit fixedCellClick(0, section + fixedRows_);
        }
    }
    return false;
}

}  // namespace grid
