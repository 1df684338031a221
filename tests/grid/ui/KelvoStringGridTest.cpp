#include "grid/TUndoCells.h"
#include "grid/ui/KelvoStringGrid.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>
#include <functional>
#include <vector>

using grid::GridRect;
using grid::KelvoStringGrid;

namespace {

// A 4-column, 5-row grid with one fixed row and column, shown on the offscreen screen.
class KelvoStringGridTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        grid.setFixedRows(1);
        grid.setFixedCols(1);
        grid.setGridColCount(4);
        grid.setGridRowCount(5);
        for (int c = 0; c < 4; ++c)
            grid.setGridColWidth(c, 60);
        grid.resize(400, 200);
        grid.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    }

    QLineEdit* editor() { return qobject_cast<QLineEdit*>(grid.indexWidget(grid.currentIndex())); }

    void clickHeader(QHeaderView* header, int section)
    {
        const int middle = header->sectionViewportPosition(section) + header->sectionSize(section) / 2;
        const QPoint at = header->orientation() == Qt::Horizontal ? QPoint(middle, header->height() / 2)
                                                                  : QPoint(header->width() / 2, middle);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    }

    QPoint cellCentre(int col, int row)
    {
        return grid.visualRect(grid.model()->index(row - 1, col - 1)).center();
    }

    KelvoStringGrid grid;
};

TEST_F(KelvoStringGridTest, FixedAndDataCellsAreAddressedAlike)
{
    EXPECT_EQ(grid.gridColCount(), 4);
    EXPECT_EQ(grid.gridRowCount(), 5);
    // Corner, fixed row, fixed column and data cells hold texts and objects the same way.
    for (int r = 0; r < 5; ++r) {
        for (int c = 0; c < 4; ++c) {
            grid.setCellText(c, r, QStringLiteral("%1,%2").arg(c).arg(r));
            grid.setCellObject(c, r, 10 * r + c + 1);
        }
    }
    for (int r = 0; r < 5; ++r) {
        for (int c = 0; c < 4; ++c) {
            SCOPED_TRACE(testing::Message() << "cell " << c << "," << r);
            EXPECT_EQ(grid.cellText(c, r), QStringLiteral("%1,%2").arg(c).arg(r));
            EXPECT_EQ(grid.cellObject(c, r), 10 * r + c + 1);
        }
    }
    // The fixed cells are the table's headers and stay in view.
    EXPECT_EQ(grid.horizontalHeaderItem(1)->text(), QStringLiteral("2,0"));
    EXPECT_EQ(grid.verticalHeaderItem(2)->text(), QStringLiteral("0,3"));
    EXPECT_EQ(grid.item(0, 0)->text(), QStringLiteral("1,1"));

    // Outside the grid: empty reads, ignored writes.
    for (const QPoint cell : {QPoint(-1, 0), QPoint(0, -1), QPoint(4, 1), QPoint(1, 5)}) {
        grid.setCellText(cell.x(), cell.y(), QStringLiteral("x"));
        grid.setCellObject(cell.x(), cell.y(), 3);
        EXPECT_EQ(grid.cellText(cell.x(), cell.y()), QString());
        EXPECT_EQ(grid.cellObject(cell.x(), cell.y()), 0);
    }
}

TEST_F(KelvoStringGridTest, NewHeaderSectionsAreEmptyNotNumbered)
{
    grid.setGridRowCount(8);
    grid.setGridColCount(6);
    for (int r = 1; r < 8; ++r)
        EXPECT_EQ(grid.model()->headerData(r - 1, Qt::Vertical).toString(), QString()) << r;
    for (int c = 1; c < 6; ++c)
        EXPECT_EQ(grid.model()->headerData(c - 1, Qt::Horizontal).toString(), QString()) << c;
}

TEST_F(KelvoStringGridTest, ChangingTheFixedCountsKeepsEveryCellInPlace)
{
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c < 4; ++c)
            grid.setCellText(c, r, QStringLiteral("%1%2").arg(c).arg(r));
    const auto expectUnchanged = [this] {
        ASSERT_EQ(grid.gridColCount(), 4);
        ASSERT_EQ(grid.gridRowCount(), 5);
        for (int r = 0; r < 5; ++r)
            for (int c = 0; c < 4; ++c)
                EXPECT_EQ(grid.cellText(c, r), QStringLiteral("%1%2").arg(c).arg(r)) << c << "," << r;
    };
    const std::vector<std::pair<int, int>> steps = {{0, 1}, {0, 0}, {1, 0}, {1, 1}};
    for (const auto& [rows, cols] : steps) {
        SCOPED_TRACE(testing::Message() << "fixed rows " << rows << ", cols " << cols);
        grid.setFixedRows(rows);
        grid.setFixedCols(cols);
        EXPECT_EQ(grid.horizontalHeader()->isHidden(), rows == 0);
        EXPECT_EQ(grid.verticalHeader()->isHidden(), cols == 0);
        expectUnchanged();
    }
}

TEST_F(KelvoStringGridTest, FixedCellClicksAreReportedAndSelectNothing)
{
    grid.setCurrentCell(2, 2);
    QSignalSpy fixed(&grid, &KelvoStringGrid::fixedCellClick);
    QSignalSpy clicks(&grid, &KelvoStringGrid::gridClick);

    struct Case {
        const char* name;
        std::function<void()> click;
        int col;
        int row;
    };
    const std::vector<Case> cases = {
        {"column header 3", [&] { clickHeader(grid.horizontalHeader(), 2); }, 3, 0},
        {"column header 1", [&] { clickHeader(grid.horizontalHeader(), 0); }, 1, 0},
        {"row number 4", [&] { clickHeader(grid.verticalHeader(), 3); }, 0, 4},
        {"corner",
         [&] {
             auto* corner = grid.findChild<QAbstractButton*>(QString(), Qt::FindDirectChildrenOnly);
             ASSERT_NE(corner, nullptr);
             QTest::mouseClick(corner, Qt::LeftButton);
         },
         0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fixed.clear();
        c.click();
        ASSERT_EQ(fixed.count(), 1);
        EXPECT_EQ(fixed.at(0).at(0).toInt(), c.col);
        EXPECT_EQ(fixed.at(0).at(1).toInt(), c.row);
        EXPECT_EQ(grid.selectionRect(), (GridRect{2, 2, 2, 2}));
        EXPECT_EQ(clicks.count(), 0);
    }
}

TEST_F(KelvoStringGridTest, SelectionCornersSetAnchorAndCurrentWithinTheDataCells)
{
    QSignalSpy clicks(&grid, &KelvoStringGrid::gridClick);
    grid.setSelectionCorners(3, 4, 1, 2);
    EXPECT_EQ(grid.selectionRect(), (GridRect{1, 2, 3, 4}));
    EXPECT_EQ(grid.currentCol(), 1);
    EXPECT_EQ(grid.currentRow(), 2);
    EXPECT_EQ(clicks.count(), 1);

    // Fixed cells and cells past the edge are never part of the selection.
    grid.setSelectionCorners(0, 0, 9, 9);
    EXPECT_EQ(grid.selectionRect(), (GridRect{1, 1, 3, 4}));
    EXPECT_EQ(grid.currentCol(), 3);
    EXPECT_EQ(grid.currentRow(), 4);
}

TEST_F(KelvoStringGridTest, OnlyTheLeftButtonSelects)
{
    grid.setSelectionCorners(1, 1, 2, 3);
    QTest::mouseClick(grid.viewport(), Qt::RightButton, {}, cellCentre(3, 4));
    QTest::mouseClick(grid.viewport(), Qt::MiddleButton, {}, cellCentre(3, 4));
    EXPECT_EQ(grid.selectionRect(), (GridRect{1, 1, 2, 3}));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cellCentre(3, 4));
    EXPECT_EQ(grid.selectionRect(), (GridRect{3, 4, 3, 4}));
}

TEST_F(KelvoStringGridTest, EditorWritesIntoTheCellWhileTyping)
{
    grid.setCellText(2, 3, QStringLiteral("old"));
    grid.setCurrentCell(2, 3);
    QStringList textWhenOpening;
    QObject::connect(&grid, &KelvoStringGrid::editorOpening, &grid,
            [&](int c, int r) { textWhenOpening << QStringLiteral("%1,%2:").arg(c).arg(r) + grid.cellText(c, r); });

    QTest::keyClick(&grid, Qt::Key_Return);
    ASSERT_TRUE(grid.isEditorOpen());
    ASSERT_NE(editor(), nullptr);
    EXPECT_EQ(textWhenOpening, QStringList{QStringLiteral("2,3:old")});

    QTest::keyClick(editor(), Qt::Key_End);
    QTest::keyClicks(editor(), QStringLiteral("er"));
    EXPECT_TRUE(grid.isEditorOpen());
    EXPECT_EQ(grid.cellText(2, 3), QStringLiteral("older"));

    // A text the program writes into the cell shows in the open editor, without moving the
    // caret of an editor that already holds it.
    grid.setCellText(2, 3, QStringLiteral("new"));
    EXPECT_EQ(editor()->text(), QStringLiteral("new"));

    // Typing on a closed cell opens the editor with the typed character replacing the text.
    QTest::keyClick(editor(), Qt::Key_Return);
    EXPECT_FALSE(grid.isEditorOpen());
    grid.setCurrentCell(1, 1);
    grid.setCellText(1, 1, QStringLiteral("abc"));
    QTest::keyClick(&grid, Qt::Key_Z);
    EXPECT_TRUE(grid.isEditorOpen());
    EXPECT_EQ(grid.cellText(1, 1).toLower(), QStringLiteral("z"));
    EXPECT_EQ(textWhenOpening.last(), QStringLiteral("1,1:abc"));
}

TEST_F(KelvoStringGridTest, EscapeGivesBackTheTextFromBeforeTheEditor)
{
    grid.setCellText(1, 2, QStringLiteral("kept"));
    grid.setCurrentCell(1, 2);
    QTest::keyClick(&grid, Qt::Key_F2);
    ASSERT_TRUE(grid.isEditorOpen());
    QTest::keyClicks(editor(), QStringLiteral("xyz"));
    ASSERT_NE(grid.cellText(1, 2), QStringLiteral("kept"));
    QTest::keyClick(editor(), Qt::Key_Escape);
    EXPECT_FALSE(grid.isEditorOpen());
    EXPECT_EQ(grid.cellText(1, 2), QStringLiteral("kept"));
}

// Enter is the program's first: it can consume the key or move the current cell, and the
// grid's own Enter (open a closed editor, close an open one) follows.
TEST_F(KelvoStringGridTest, EnterRunsTheKeyHandlerBeforeTheGridsOwnEnter)
{
    enum class Handler { Pass, Consume, MoveDown };
    struct Case {
        const char* name;
        bool editorOpen;
        Handler handler;
        bool editorOpenAfter;
        int rowAfter;
    };
    const Case cases[] = {
        {"closed, passed on: opens", false, Handler::Pass, true, 2},
        {"open, passed on: closes", true, Handler::Pass, false, 2},
        {"closed, consumed: stays closed", false, Handler::Consume, false, 2},
        {"open, consumed: stays open", true, Handler::Consume, true, 2},
        {"open, moved: opens on the new cell", true, Handler::MoveDown, true, 3},
        {"closed, moved: opens on the new cell", false, Handler::MoveDown, true, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        grid.setKeyDownHandler({});
        grid.setCurrentCell(1, 2);
        if (grid.isEditorOpen())
            QTest::keyClick(editor(), Qt::Key_Escape);
        if (c.editorOpen) {
            QTest::keyClick(&grid, Qt::Key_Return);
            ASSERT_TRUE(grid.isEditorOpen());
        }
        std::vector<int> seen;
        grid.setKeyDownHandler([&](int& key, Qt::KeyboardModifiers) {
            seen.push_back(key);
            if (key != Qt::Key_Return)
                return;
            if (c.handler == Handler::Consume)
                key = 0;
            else if (c.handler == Handler::MoveDown)
                grid.setCurrentCell(grid.currentCol(), grid.currentRow() + 1);
        });
        QTest::keyClick(c.editorOpen ? static_cast<QWidget*>(editor()) : &grid, Qt::Key_Return);
        EXPECT_EQ(seen, std::vector<int>{Qt::Key_Return});
        EXPECT_EQ(grid.isEditorOpen(), c.editorOpenAfter);
        EXPECT_EQ(grid.currentRow(), c.rowAfter);
    }
}

TEST_F(KelvoStringGridTest, MovingTheCurrentCellClosesTheEditorAndReportsAClick)
{
    grid.setCurrentCell(1, 1);
    std::vector<int> seen;
    grid.setKeyDownHandler([&](int& key, Qt::KeyboardModifiers) { seen.push_back(key); });
    QSignalSpy clicks(&grid, &KelvoStringGrid::gridClick);

    QTest::keyClick(&grid, Qt::Key_Return);
    ASSERT_TRUE(grid.isEditorOpen());
    QTest::keyClicks(editor(), QStringLiteral("ab"));
    // An arrow key the editor does not use moves the current cell, once.
    QTest::keyClick(editor(), Qt::Key_Down);
    EXPECT_FALSE(grid.isEditorOpen());
    EXPECT_EQ(grid.currentRow(), 2);
    EXPECT_EQ(grid.cellText(1, 1), QStringLiteral("ab"));
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(std::count(seen.begin(), seen.end(), int(Qt::Key_Down)), 1);

    // The program moving the current cell closes the editor too.
    QTest::keyClick(&grid, Qt::Key_Return);
    ASSERT_TRUE(grid.isEditorOpen());
    grid.setCurrentCell(3, 4);
    EXPECT_FALSE(grid.isEditorOpen());
    EXPECT_EQ(clicks.count(), 2);

    // A mouse click on the current cell is reported although nothing moves; a click on
    // another cell is reported once.
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cellCentre(3, 4));
    EXPECT_EQ(clicks.count(), 3);
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cellCentre(2, 2));
    EXPECT_EQ(clicks.count(), 4);
    EXPECT_EQ(grid.currentCol(), 2);
    EXPECT_EQ(grid.currentRow(), 2);
}

TEST_F(KelvoStringGridTest, WithoutTheEditingOptionTheEditorNeverOpens)
{
    grid.setCurrentCell(2, 2);
    grid.setEditingEnabled(false);
    QTest::keyClick(&grid, Qt::Key_Return);
    QTest::keyClick(&grid, Qt::Key_F2);
    QTest::keyClick(&grid, Qt::Key_A);
    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, cellCentre(2, 2));
    EXPECT_FALSE(grid.isEditorOpen());
    EXPECT_EQ(grid.cellText(2, 2), QString());

    // Switching the option off closes an open editor.
    grid.setEditingEnabled(true);
    QTest::keyClick(&grid, Qt::Key_Return);
    ASSERT_TRUE(grid.isEditorOpen());
    grid.setEditingEnabled(false);
    EXPECT_FALSE(grid.isEditorOpen());
}

TEST_F(KelvoStringGridTest, KeysTypedInTheEditorReachTheHandlerOnceAndCanBeConsumed)
{
    grid.setCellText(1, 1, QStringLiteral("abc"));
    grid.setCurrentCell(1, 1);
    QTest::keyClick(&grid, Qt::Key_Return);
    ASSERT_TRUE(grid.isEditorOpen());
    std::vector<int> seen;
    grid.setKeyDownHandler([&](int& key, Qt::KeyboardModifiers modifiers) {
        seen.push_back(key);
        if (key == Qt::Key_Z && modifiers.testFlag(Qt::ControlModifier))
            key = 0;
    });
    QTest::keyClick(editor(), Qt::Key_End);
    QTest::keyClick(editor(), Qt::Key_D);
    QTest::keyClick(editor(), Qt::Key_Z, Qt::ControlModifier);
    // The editor's own undo did not run: the typed character stays.
    EXPECT_EQ(grid.cellText(1, 1), QStringLiteral("abcd"));
    EXPECT_EQ(seen, (std::vector<int>{Qt::Key_End, Qt::Key_D, Qt::Key_Control, Qt::Key_Z}));
}

TEST_F(KelvoStringGridTest, PaintingCallbackRunsForDataCellsAfterTheCellIsDrawn)
{
    std::vector<QPoint> painted;
    grid.setDrawCellHandler([&](QPainter& painter, const QRect& rect, int col, int row, const grid::CellPaintState&) {
        painted.push_back({col, row});
        if (col == 2 && row == 3)
            painter.fillRect(rect, QColor(192, 192, 192));
    });
    grid.setCellText(2, 3, QStringLiteral("hidden"));
    const QImage image = grid.viewport()->grab().toImage();

    EXPECT_NE(std::find(painted.begin(), painted.end(), QPoint(2, 3)), painted.end());
    for (const QPoint& cell : painted)
        EXPECT_TRUE(cell.x() >= 1 && cell.y() >= 1) << cell.x() << "," << cell.y();
    // The grey fill covers the whole cell, its text included.
    const QRect rect = grid.visualRect(grid.model()->index(2, 1));
    for (int y = rect.top() + 1; y < rect.bottom(); y += 3)
        for (int x = rect.left() + 1; x < rect.right(); x += 3)
            ASSERT_EQ(image.pixelColor(x, y), QColor(192, 192, 192)) << x << "," << y;
}

TEST_F(KelvoStringGridTest, RepaintingStaysSuspendedUntilTheOutermostEnd)
{
    grid.beginUpdate();
    grid.beginUpdate();
    EXPECT_FALSE(grid.updatesEnabled());
    grid.endUpdate();
    EXPECT_FALSE(grid.updatesEnabled());
    grid.endUpdate();
    EXPECT_TRUE(grid.updatesEnabled());
    // An unmatched end does not disturb the next pair.
    grid.endUpdate();
    grid.beginUpdate();
    EXPECT_FALSE(grid.updatesEnabled());
    grid.endUpdate();
    EXPECT_TRUE(grid.updatesEnabled());
}

TEST_F(KelvoStringGridTest, ColumnWidthsIncludeTheFixedColumn)
{
    grid.setGridColWidth(0, 30);
    grid.setGridColWidth(2, 75);
    EXPECT_EQ(grid.gridColWidth(0), 30);
    EXPECT_EQ(grid.gridColWidth(2), 75);
    EXPECT_EQ(grid.verticalHeader()->width(), 30);
    EXPECT_EQ(grid.columnWidth(1), 75);
}

TEST_F(KelvoStringGridTest, OneColumnCanSpanTheGridsWidth)
{
    grid.setFixedRows(0);
    grid.setFixedCols(0);
    grid.setGridColCount(1);
    grid.setColumnSpansWidth(true);
    grid.resize(300, 200);
    QApplication::processEvents();
    EXPECT_EQ(grid.columnWidth(0), grid.viewport()->width());
    grid.resize(500, 200);
    QApplication::processEvents();
    EXPECT_EQ(grid.columnWidth(0), grid.viewport()->width());
}

TEST_F(KelvoStringGridTest, UndoOnTheWidgetRestoresTheCellAndMovesTheCurrentCellThere)
{
    grid::TUndoCells undo;
    grid.setCellText(3, 2, QStringLiteral("before"));
    undo.Add(grid.cells(), 3, 2);
    grid.setCellText(3, 2, QStringLiteral("after"));
    grid.setCurrentCell(1, 4);
    QSignalSpy clicks(&grid, &KelvoStringGrid::gridClick);

    undo.Undo(grid.cells());
    EXPECT_EQ(grid.cellText(3, 2), QStringLiteral("before"));
    EXPECT_EQ(grid.currentCol(), 3);
    EXPECT_EQ(grid.currentRow(), 2);
    EXPECT_GE(clicks.count(), 1);
}

}  // namespace
