#pragma once

#include "grid/CellGrid.h"

#include <QColor>
#include <QString>
#include <QTableWidget>

#include <functional>
#include <memory>

class QAbstractButton;
class QKeyEvent;
class QMouseEvent;
class QPainter;

namespace grid {

class KelvoCellDelegate;
class KelvoCellGrid;

// What a cell painting callback is told about the cell it paints over.
struct CellPaintState {
    bool selected = false;
    QColor background;  // the background the cell was just drawn on
};

// A string grid: a table of texts with at most one fixed row and one fixed column, an
// integer object per cell, range selection and an in-place editor.
//
// Cells are addressed (col, row) over the whole grid, fixed cells included, so cell (0, 0) is
// the corner when there is a fixed row and column. The fixed row and column are the table's
// headers: they stay in view while the data scroll, they are never selected or edited, and a
// click on them is reported as fixedCellClick instead of selecting anything.
//
// Editing: the editor writes into its cell while the user types. Enter runs the key handler
// first and then opens the editor when it is closed and closes it when it is open. Moving
// the current cell closes an open editor. Every move of the current cell, and every click
// on a data cell, is reported as gridClick.
//
// KelvoStringGrid.cpp holds the cells, the fixed row and column and the selection;
// KelvoStringGridInput.cpp the keyboard and the mouse.
class KelvoStringGrid : public QTableWidget {
    Q_OBJECT

public:
    explicit KelvoStringGrid(QWidget* parent = nullptr);
    ~KelvoStringGrid() override;

    // Grid size, fixed cells included.
    int gridColCount() const;
    int gridRowCount() const;
    void setGridColCount(int count);
    void setGridRowCount(int count);
    // 0 or 1.
    int fixedCols() const { return fixedCols_; }
    int fixedRows() const { return fixedRows_; }
    void setFixedCols(int count);
    void setFixedRows(int count);

    // Cells outside the grid read as empty with object 0; writes there are ignored.
    QString cellText(int col, int row) const;
    void setCellText(int col, int row, const QString& text);
    int cellObject(int col, int row) const;
    void setCellObject(int col, int row, int object);

    // The current cell is always a data cell; -1 when the grid has no data cell.
    int currentCol() const;
    int currentRow() const;
    // Moves the current cell the way a click does; the selection becomes that cell.
    void setCurrentCell(int col, int row);
    // The selected rectangle of data cells; the current cell when nothing is selected.
    GridRect selectionRect() const;
    // Selects the rectangle between the two corners (clamped to the data cells); the anchor
    // is the first corner, the current cell the second.
    void setSelectionCorners(int anchorCol, int anchorRow, int currentCol, int currentRow);

    int gridColWidth(int col) const;
    void setGridColWidth(int col, int width);
    int gridTextWidth(const QString& text) const;

    // Repainting is suspended between the two calls; they nest.
    void beginUpdate();
    void endUpdate();

    // The editing option: without it the editor never opens.
    bool editingEnabled() const { return editingEnabled_; }
    void setEditingEnabled(bool enabled);
    bool isEditorOpen() const;

    // The cell under a point in the grid's own coordinates, fixed cells included; -1 for a
    // coordinate outside the cells.
    QPoint cellAt(const QPoint& gridPos) const;

    // The one column always spans the grid's width.
    void setColumnSpansWidth(bool spans);

    // The grid seen by the grid operations; the same object for the grid's whole life.
    CellGrid& cells();

    // Runs for every key that goes down in the grid or in its editor, before the grid acts on
    // it. The key is a Qt::Key; setting it to 0 consumes it.
    using KeyDownHandler = std::function<void(int& key, Qt::KeyboardModifiers modifiers)>;
    void setKeyDownHandler(KeyDownHandler handler) { keyDownHandler_ = std::move(handler); }

    // Runs after a data cell has been drawn normally, with the cell's rectangle.
    using DrawCellHandler =
        std::function<void(QPainter& painter, const QRect& rect, int col, int row, const CellPaintState& state)>;
    void setDrawCellHandler(DrawCellHandler handler) { drawCellHandler_ = std::move(handler); }

    // Draws a text the way the grid draws cell texts, clipped to rect.
    void drawCellText(QPainter& painter, const QRect& rect, const QString& text, const QColor& color) const;

signals:
    // A click on a data cell, or a move of the current cell.
    void gridClick();
    void fixedCellClick(int col, int row);
    // The editor is about to open on this cell and take its text.
    void editorOpening(int col, int row);
    // Mouse buttons and moves over the data area, with the cell under the pointer (-1
    // outside the cells) in grid coordinates.
    void gridMouseDown(Qt::MouseButton button, int col, int row);
    void gridMouseMove(Qt::MouseButtons buttons, int col, int row);
    void gridMouseUp(Qt::MouseButton button, int col, int row);

protected:
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyboardSearch(const QString& search) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class KelvoCellDelegate;

    // The item that holds a cell's text and object: a table item, a header item or the
    // corner; created on demand when create is set.
    QTableWidgetItem* cellItem(int col, int row, bool create) const;
    QModelIndex dataIndex(int col, int row) const;
    void fillMissingHeaderItems();
    bool isInGrid(int col, int row) const;

    // Key handling shared by the grid and its editor. Returns true when the handler
    // consumed the key.
    bool runKeyDownHandler(QKeyEvent* event);
    // The grid's own Enter: closes an open editor, opens a closed one.
    void toggleEditor();
    // Keys the editor does not use move the current cell as in the grid.
    void navigateFromEditor(QKeyEvent* event);
    void paintDataCell(QPainter& painter, const QRect& rect, const QModelIndex& index, bool selected);
    QPoint cellAtViewport(const QPoint& viewportPos) const;
    bool headerMouseEvent(QObject* watched, QEvent* event);

    int fixedCols_ = 0;
    int fixedRows_ = 0;
    int updateDepth_ = 0;
    bool editingEnabled_ = true;
    KelvoCellDelegate* delegate_;
    QAbstractButton* cornerButton_ = nullptr;
    std::unique_ptr<QTableWidgetItem> corner_;
    std::unique_ptr<KelvoCellGrid> cellGrid_;
    KeyDownHandler keyDownHandler_;
    DrawCellHandler drawCellHandler_;
    // The header section a fixed-cell press started on, to report the click on release.
    QObject* pressedHeader_ = nullptr;
    int pressedSection_ = -1;
    QModelIndex currentAtPress_;
    bool pressOnDataCell_ = false;
};

}  // namespace grid
