// The attribute grid page in the main window, on the offscreen platform, against KelvoCAD in
// process: what the user's clicks and keys in the grid do to the grid and to the drawing.
#include "app/TKelvoMainForm.h"
#include "app/ui/TestDoubles.h"
#include "automation/InProcessRunningObjects.h"
#include "cadlink/FakeWindowServices.h"
#include "cadlink/TargetProgID.h"
#include "common/Utf.h"
#include "grid/ui/GridPage.h"
#include "grid/ui/KelvoStringGrid.h"
#include "kelvocad/model/Drawing.h"
#include "kelvocad/model/SampleDrawing.h"
#include "kelvocad/objects/CadSession.h"
#include "kelvocad/objects/ScriptedPicker.h"
#include "ui_TKelvoMainForm.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QImage>
#include <QLineEdit>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

using grid::GridRect;
using grid::KelvoStringGrid;
using testing_support::RecordingLauncher;
using testing_support::RecordingMessages;
using Attributes = std::vector<std::pair<std::u16string, std::u16string>>;

const QColor kGrey(192, 192, 192);
const QColor kRed(255, 0, 0);

class GridPageTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    RecordingMessages messages;
    RecordingLauncher launcher;
    std::shared_ptr<kelvocad::CadSession> session;
    automation::InProcessRunningObjects runningObjects;
    cadlink::fakes::FakeWindowServices windows;
    cadlink::fakes::FakeOwnWindow ownWindow{windows.log, 7};
    std::unique_ptr<app::TKelvoMainForm> form;
    Ui::TKelvoMainForm* ui = nullptr;
    KelvoStringGrid* grid = nullptr;

    void SetUp() override { start(std::make_shared<kelvocad::Drawing>()); }

    void start(std::shared_ptr<kelvocad::Drawing> drawing)
    {
        QLocale::setDefault(QLocale::c());
        session = kelvocad::CadSession::create(std::move(drawing));
        windows.ownWindow = 7;
        session->applicationWindow = 99;
        form = std::make_unique<app::TKelvoMainForm>(std::filesystem::path(dir.path().toStdU16String()) / "kelvoedit",
                                                     messages, launcher);
        form->setAutomation(runningObjects, windows, ownWindow);
        runningObjects.announce(cadlink::TargetProgID, session->application());
        ui = &form->controls();
        grid = ui->StringGrid1;
        ui->PageControl1->setCurrentIndex(1);
        ui->CheckBox6->setChecked(false);
        ui->CheckBox7->setChecked(true);
        ui->CheckBox2->setChecked(false);
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }

    void TearDown() override { QLocale::setDefault(QLocale::c()); }

    kelvocad::Drawing& drawing() { return session->drawing(); }
    grid::GridPage& page() { return form->gridPage(); }

    void addBlock(const std::u16string& name, const Attributes& tagsAndPrompts)
    {
        kelvocad::BlockDefinition block;
        block.name = name;
        for (const auto& [tag, prompt] : tagsAndPrompts) {
            kelvocad::AttributeDefinition definition;
            definition.tag = tag;
            definition.prompt = prompt;
            block.attributes.push_back(definition);
        }
        drawing().addBlock(block);
    }

    std::u16string addReference(const std::u16string& block, double x, double y, const Attributes& attributes)
    {
        kelvocad::BlockReference reference;
        reference.name = block;
        reference.layer = u"0";
        reference.insertionPoint = {x, y, 0.0};
        for (const auto& [tag, value] : attributes) {
            kelvocad::AttributeReference attribute;
            attribute.tag = tag;
            attribute.string = value;
            attribute.insertionPoint = {x + 1, y + 1, 0.0};
            attribute.layer = u"0";
            reference.attributes.push_back(attribute);
        }
        return drawing().addBlockReference(reference);
    }

    std::u16string attributeValue(const std::u16string& reference, size_t index)
    {
        return drawing().findBlockReference(reference)->attributes.at(index).string;
    }

    void selectGroup(const QString& group)
    {
        int index = ui->ComboBox2->findText(group);
        if (index < 0) {
            ui->ComboBox2->addItem(group);
            index = ui->ComboBox2->findText(group);
        }
        ui->ComboBox2->setCurrentIndex(index);
    }

    // Three rows top to bottom: A1 B1 / A2 (no B) / A3 B3, tags A and B with prompts.
    std::vector<std::u16string> acquireThreeRows()
    {
        addBlock(u"DEV", {{u"A", u"項目A"}, {u"B", u"項目B"}});
        std::vector<std::u16string> refs = {addReference(u"DEV", 0, 30, {{u"A", u"A1"}, {u"B", u"B1"}}),
                                            addReference(u"DEV", 0, 20, {{u"A", u"A2"}}),
                                            addReference(u"DEV", 0, 10, {{u"A", u"A3"}, {u"B", u"B3"}})};
        selectGroup(QStringLiteral("テスト,A,B"));
        session->scriptedPicker()->nextPickReturns({refs[2], refs[0], refs[1]});
        ui->SpeedButton10->click();
        drawing().clearUndo();
        return refs;
    }

    QStringList rowTexts(int row) const
    {
        QStringList texts;
        for (int c = 0; c < grid->gridColCount(); ++c)
            texts << grid->cellText(c, row);
        return texts;
    }

    QRect cellRect(int col, int row) const { return grid->visualRect(grid->model()->index(row - 1, col - 1)); }

    QImage gridImage() const { return grid->viewport()->grab().toImage(); }

    // How many pixels of the cell have exactly this colour.
    int pixelsOf(const QImage& image, int col, int row, const QColor& colour) const
    {
        const QRect rect = cellRect(col, row);
        int count = 0;
        for (int y = rect.top(); y <= rect.bottom(); ++y)
            for (int x = rect.left(); x <= rect.right(); ++x)
                count += image.pixelColor(x, y) == colour;
        return count;
    }

    void click(int col, int row) { QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cellRect(col, row).center()); }

    void key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QWidget* target = grid->isEditorOpen() ? grid->indexWidget(grid->currentIndex()) : grid;
        QTest::keyClick(target, static_cast<Qt::Key>(key), modifiers);
    }

    void typeIntoCell(int col, int row, const QString& text)
    {
        grid->setCurrentCell(col, row);
        QTest::keyClick(grid, Qt::Key_F2);
        ASSERT_TRUE(grid->isEditorOpen());
        auto* editor = qobject_cast<QLineEdit*>(grid->indexWidget(grid->currentIndex()));
        ASSERT_NE(editor, nullptr);
        editor->selectAll();
        QTest::keyClicks(editor, text);
    }
};

TEST_F(GridPageTest, BeforeTheFirstAcquisitionTheGridIsFiveByFiveAndGrey)
{
    EXPECT_EQ(grid->gridColCount(), 5);
    EXPECT_EQ(grid->gridRowCount(), 5);
    EXPECT_EQ(grid->fixedCols(), 1);
    EXPECT_EQ(grid->fixedRows(), 1);
    EXPECT_EQ(grid->gridColWidth(0), 30);
    const QImage image = gridImage();
    for (int r = 1; r < 5; ++r)
        for (int c = 1; c < 5; ++c)
            EXPECT_EQ(pixelsOf(image, c, r, kGrey), cellRect(c, r).width() * cellRect(c, r).height()) << c << "," << r;
}

TEST_F(GridPageTest, AcquisitionShowsPromptsRowNumbersAndFittedColumns)
{
    acquireThreeRows();
    ASSERT_EQ(grid->gridRowCount(), 4);
    EXPECT_EQ(rowTexts(0), (QStringList{"", "項目A", "項目B"}));
    EXPECT_EQ(rowTexts(1), (QStringList{"1", "A1", "B1"}));
    EXPECT_EQ(rowTexts(2), (QStringList{"2", "A2", ""}));
    EXPECT_EQ(rowTexts(3), (QStringList{"3", "A3", "B3"}));
    // The prompts and row numbers are the grid's fixed cells: its headers.
    EXPECT_EQ(grid->horizontalHeaderItem(0)->text(), QStringLiteral("項目A"));
    EXPECT_EQ(grid->verticalHeaderItem(2)->text(), QStringLiteral("3"));
    EXPECT_EQ(grid->gridColWidth(0), grid->gridTextWidth(QStringLiteral("3")) + 10);
    EXPECT_EQ(grid->gridColWidth(1), grid->gridTextWidth(QStringLiteral("項目A")) + 10);
    EXPECT_TRUE(ui->SpeedButton11->isEnabled());
    EXPECT_FALSE(ui->SpeedButton12->isEnabled());
    EXPECT_EQ(ui->Label5->text(), QStringLiteral("ATTR = 3 / 3"));
    EXPECT_TRUE(grid->updatesEnabled());
}

TEST_F(GridPageTest, CellsWithoutAttributeAreGreyAndChangedCellsRed)
{
    acquireThreeRows();
    grid->setCurrentCell(1, 3);
    const QImage before = gridImage();
    const QRect greyRect = cellRect(2, 2);
    EXPECT_EQ(pixelsOf(before, 2, 2, kGrey), greyRect.width() * greyRect.height());
    EXPECT_EQ(pixelsOf(before, 1, 1, kRed), 0);

    // A grey cell hides whatever text it holds.
    grid->setCellText(2, 2, QStringLiteral("WWWW"));
    EXPECT_EQ(pixelsOf(gridImage(), 2, 2, kGrey), greyRect.width() * greyRect.height());

    grid->setCellText(1, 1, QStringLiteral("changed"));
    const QImage changed = gridImage();
    EXPECT_GT(pixelsOf(changed, 1, 1, kRed), 0);
    EXPECT_EQ(pixelsOf(changed, 2, 1, kRed), 0);

    // Back to the drawing's value: black again.
    grid->setCellText(1, 1, QStringLiteral("A1"));
    EXPECT_EQ(pixelsOf(gridImage(), 1, 1, kRed), 0);
}

TEST_F(GridPageTest, SelectingACellShowsItsAttributeAndPansWhenAsked)
{
    const auto refs = acquireThreeRows();
    const std::u16string handleA2 = drawing().findBlockReference(refs[1])->attributes.at(0).handle;

    click(1, 2);
    EXPECT_EQ(form->statusPanelText(0), QString::fromStdU16String(handleA2));
    EXPECT_EQ(form->statusPanelText(1), QString());
    EXPECT_TRUE(grid->editingEnabled());
    EXPECT_EQ(session->callLog().count(u"ZoomCenter"), 0u);

    // A grey cell: panels emptied, the editor does not open.
    click(2, 2);
    EXPECT_EQ(form->statusPanelText(0), QString());
    EXPECT_EQ(form->statusPanelText(1), QString());
    EXPECT_FALSE(grid->editingEnabled());
    key(Qt::Key_F2);
    key(Qt::Key_A);
    EXPECT_FALSE(grid->isEditorOpen());

    ui->CheckBox6->setChecked(true);
    click(1, 2);
    EXPECT_EQ(form->statusPanelText(0), QString::fromStdU16String(handleA2));
    EXPECT_EQ(form->statusPanelText(1), QStringLiteral("A2"));
    EXPECT_GT(session->callLog().count(u"ZoomCenter"), 0u);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(GridPageTest, FixedCellClicksSelectAllAColumnOrARow)
{
    acquireThreeRows();
    grid->setCurrentCell(1, 1);
    struct Case {
        const char* name;
        std::function<void()> click;
        GridRect selection;
    };
    const auto header = [this](QHeaderView* view, int section) {
        const int middle = view->sectionViewportPosition(section) + view->sectionSize(section) / 2;
        const QPoint at = view->orientation() == Qt::Horizontal ? QPoint(middle, view->height() / 2)
                                                                : QPoint(view->width() / 2, middle);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
    };
    const std::vector<Case> cases = {
        {"corner",
         [&] { QTest::mouseClick(grid->findChild<QAbstractButton*>(QString(), Qt::FindDirectChildrenOnly), Qt::LeftButton); },
         {1, 1, 2, 3}},
        {"column header 2", [&] { header(grid->horizontalHeader(), 1); }, {2, 1, 2, 3}},
        {"row number 2", [&] { header(grid->verticalHeader(), 1); }, {1, 2, 2, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        grid->setCurrentCell(1, 1);
        c.click();
        EXPECT_EQ(grid->selectionRect(), c.selection);
        // The current cell is the selection's bottom-right cell.
        EXPECT_EQ(grid->currentCol(), c.selection.Right);
        EXPECT_EQ(grid->currentRow(), c.selection.Bottom);
    }
}

TEST_F(GridPageTest, EnterMovesTheCursorByCheckBox2)
{
    acquireThreeRows();
    ui->CheckBox7->setChecked(false);
    struct Case {
        const char* name;
        bool down;
        bool editorOpen;
        QPoint from;
        QPoint to;
    };
    const Case cases[] = {
        {"right to the next attribute cell", false, false, {1, 1}, {2, 1}},
        {"row end: column 1 of the next row", false, false, {2, 1}, {1, 2}},
        {"next cell grey: to the next row", false, false, {1, 2}, {1, 3}},
        {"last cell of the grid: stays", false, false, {2, 3}, {2, 3}},
        {"down with the editor open", true, true, {1, 1}, {1, 2}},
        {"down from the last row: row 1", true, true, {2, 3}, {2, 1}},
        {"down with the editor closed: stays", true, false, {1, 1}, {1, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ui->CheckBox2->setChecked(c.down);
        grid->setCurrentCell(c.from.x(), c.from.y());
        if (c.editorOpen) {
            QTest::keyClick(grid, Qt::Key_F2);
            ASSERT_TRUE(grid->isEditorOpen());
        }
        key(Qt::Key_Return);
        EXPECT_EQ(QPoint(grid->currentCol(), grid->currentRow()), c.to);
        // After a move the editor opens on the new cell; without one, Enter toggles it.
        const bool moved = c.to != c.from;
        EXPECT_EQ(grid->isEditorOpen(), moved || !c.editorOpen);
        if (grid->isEditorOpen())
            key(Qt::Key_Escape);
    }
}

TEST_F(GridPageTest, EnterWritesAChangedCellOutsideAnyUndoGroup)
{
    const auto refs = acquireThreeRows();
    const size_t attributeRecords = form->entities().GridAttributes.size();

    // Unchanged: nothing is written.
    const size_t textCalls = session->callLog().count(u"TextString");
    grid->setCurrentCell(1, 1);
    key(Qt::Key_Return);
    EXPECT_EQ(session->callLog().count(u"TextString"), textCalls);
    key(Qt::Key_Escape);

    typeIntoCell(1, 1, QStringLiteral("NEW"));
    key(Qt::Key_Return);
    EXPECT_EQ(attributeValue(refs[0], 0), u"NEW");
    EXPECT_EQ(form->entities().GridAttributes.size(), attributeRecords);
    EXPECT_EQ(form->entities().GridAttributes[0].text, u"NEW");
    EXPECT_EQ(pixelsOf(gridImage(), 1, 1, kRed), 0);
    EXPECT_EQ(session->callLog().count(u"StartUndoMark"), 0u) << "a single write has no undo group";
    // The cursor moved on to the next attribute cell.
    EXPECT_EQ(QPoint(grid->currentCol(), grid->currentRow()), QPoint(2, 1));
    if (grid->isEditorOpen())
        key(Qt::Key_Escape);

    // With the option off a changed cell stays in the grid only.
    ui->CheckBox7->setChecked(false);
    typeIntoCell(1, 3, QStringLiteral("LOCAL"));
    key(Qt::Key_Return);
    EXPECT_EQ(attributeValue(refs[2], 0), u"A3");
    EXPECT_EQ(grid->cellText(1, 3), QStringLiteral("LOCAL"));
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(GridPageTest, EnterOnAnErasedAttributeDropsTheEdit)
{
    const auto refs = acquireThreeRows();
    drawing().erase(refs[0]);
    typeIntoCell(2, 1, QStringLiteral("lost"));
    key(Qt::Key_Return);
    EXPECT_EQ(grid->cellText(2, 1), QStringLiteral("B1"));
    EXPECT_TRUE(messages.shown.empty());
}

// A ProgID nobody registered is an error the user sees, and the Enter key goes no further;
// a CAD application that is not running is silent.
TEST_F(GridPageTest, UnknownProgIdIsShownAndCadNotRunningIsSilent)
{
    const auto refs = acquireThreeRows();
    ui->CheckBox6->setChecked(true);
    typeIntoCell(1, 1, QStringLiteral("NEW"));

    const std::u16string progId = cadlink::TargetProgID;
    cadlink::TargetProgID = u"No.Such.Application";
    key(Qt::Key_Return);
    EXPECT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(QPoint(grid->currentCol(), grid->currentRow()), QPoint(1, 1)) << "the cursor stays";
    EXPECT_EQ(grid->cellText(1, 1), QStringLiteral("NEW"));
    grid->setCurrentCell(2, 1);  // the click's zoom fails the same way
    EXPECT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(form->statusPanelText(1), QStringLiteral("B1")) << "the panels are set first";

    cadlink::TargetProgID = progId;
    runningObjects.revoke(progId);
    messages.shown.clear();
    grid->setCurrentCell(1, 1);
    key(Qt::Key_Return);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(attributeValue(refs[0], 0), u"A1");
    EXPECT_EQ(QPoint(grid->currentCol(), grid->currentRow()), QPoint(2, 1)) << "the cursor moves on";
}

// While an acquisition or update runs and lets messages through, the grid's own CAD calls
// wait: nothing is written and nothing pans, the cursor still moves.
TEST_F(GridPageTest, NoCadCallsFromTheGridWhileAnOperationRuns)
{
    const auto refs = acquireThreeRows();
    ui->CheckBox6->setChecked(true);
    typeIntoCell(1, 1, QStringLiteral("NEW"));
    const size_t calls = session->callLog().records().size();
    form->lineEditorFields().cadOperationRunning = true;
    key(Qt::Key_Return);
    form->lineEditorFields().cadOperationRunning = false;
    EXPECT_EQ(session->callLog().records().size(), calls);
    EXPECT_EQ(attributeValue(refs[0], 0), u"A1");
    EXPECT_EQ(grid->cellText(1, 1), QStringLiteral("NEW"));
    EXPECT_EQ(QPoint(grid->currentCol(), grid->currentRow()), QPoint(2, 1));
    EXPECT_EQ(form->statusPanelText(1), QStringLiteral("B1"));
}

// While an acquisition or update pumps messages, the rows stay where it put them: no sort,
// paste, cut, delete or undo moves a value away from its attribute.
TEST_F(GridPageTest, RowsStayPutWhileAnOperationRuns)
{
    acquireThreeRows();
    typeIntoCell(1, 1, QStringLiteral("x"));
    key(Qt::Key_Escape);
    const QStringList before{rowTexts(1).join('|'), rowTexts(2).join('|'), rowTexts(3).join('|')};
    const int objectOfA1 = grid->cellObject(1, 1);
    QGuiApplication::clipboard()->setText(QStringLiteral("P\r\n"));
    grid->setCurrentCell(1, 1);

    form->lineEditorFields().cadOperationRunning = true;
    struct Press {
        const char* name;
        int key;
        Qt::KeyboardModifiers modifiers;
    };
    for (const Press& press : {Press{"paste", Qt::Key_V, Qt::ControlModifier}, Press{"cut", Qt::Key_X, Qt::ControlModifier},
                               Press{"undo", Qt::Key_Z, Qt::ControlModifier}, Press{"delete", Qt::Key_Delete, {}}}) {
        SCOPED_TRACE(press.name);
        grid->setSelectionCorners(1, 1, 1, 3);
        key(press.key, press.modifiers);
    }
    grid->setCurrentCell(1, 3);
    ui->SpeedButton17->click();
    ui->SpeedButton18->click();
    ui->SpeedButton16->click();
    form->lineEditorFields().cadOperationRunning = false;

    EXPECT_EQ((QStringList{rowTexts(1).join('|'), rowTexts(2).join('|'), rowTexts(3).join('|')}), before);
    EXPECT_EQ(grid->cellObject(1, 1), objectOfA1);
    EXPECT_EQ(page().sgUndoCnt(), 1);
}

TEST_F(GridPageTest, EditsUndoByGroupsAndTheUndoButtonRepeatsTheGroup)
{
    acquireThreeRows();
    // Opening the editor records the cell, typing or not.
    typeIntoCell(1, 1, QStringLiteral("x"));
    key(Qt::Key_Escape);
    typeIntoCell(1, 1, QStringLiteral("y"));
    EXPECT_EQ(grid->cellText(1, 1), QStringLiteral("y"));
    EXPECT_EQ(page().sgUndoCnt(), 1);
    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(grid->cellText(1, 1), QStringLiteral("A1"));
    EXPECT_EQ(page().sgUndoCnt(), 0);
    // The next Ctrl+Z takes back the record of the first opening: the same text.
    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(grid->cellText(1, 1), QStringLiteral("A1"));
    EXPECT_EQ(page().FUndoCells().Count(), 0);
    key(Qt::Key_Escape);

    // A paste of one field into three selected rows is one group of three.
    QGuiApplication::clipboard()->setText(QStringLiteral("P\r\n"));
    grid->setSelectionCorners(1, 1, 1, 3);
    key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ((QStringList{grid->cellText(1, 1), grid->cellText(1, 2), grid->cellText(1, 3)}),
              (QStringList{"P", "P", "P"}));
    EXPECT_EQ(page().sgUndoCnt(), 3);
    ui->SpeedButton13->click();
    EXPECT_EQ((QStringList{grid->cellText(1, 1), grid->cellText(1, 2), grid->cellText(1, 3)}),
              (QStringList{"A1", "A2", "A3"}));
    EXPECT_EQ(page().sgUndoCnt(), 3);
}

// A block copied from the grid is what a spreadsheet pastes as rows and columns, and a
// spreadsheet's block pastes back into the grid.
TEST_F(GridPageTest, ClipboardRoundTripWithSpreadsheetText)
{
    acquireThreeRows();
    grid->setSelectionCorners(1, 1, 2, 3);
    key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("A1\tB1\r\nA2\t\r\nA3\tB3\r\n"));

    // Edited in a spreadsheet: rows end with CR LF, cells are separated by TAB.
    QGuiApplication::clipboard()->setText(QStringLiteral("a1\tb1\r\na2\t\r\na3\tb3\r\n"));
    grid->setCurrentCell(1, 1);
    key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(rowTexts(1), (QStringList{"1", "a1", "b1"}));
    EXPECT_EQ(rowTexts(2), (QStringList{"2", "a2", ""}));
    EXPECT_EQ(rowTexts(3), (QStringList{"3", "a3", "b3"}));
    EXPECT_EQ(page().sgUndoCnt(), 6);

    // Cut empties the block and puts it on the clipboard; one Ctrl+Z brings it back.
    grid->setSelectionCorners(1, 1, 2, 1);
    key(Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("a1\tb1\r\n"));
    EXPECT_EQ(rowTexts(1), (QStringList{"1", "", ""}));
    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(rowTexts(1), (QStringList{"1", "a1", "b1"}));

    // Delete over several cells empties them; on one closed cell it does nothing.
    grid->setSelectionCorners(1, 2, 1, 3);
    key(Qt::Key_Delete);
    EXPECT_EQ(grid->cellText(1, 2), QString());
    EXPECT_EQ(grid->cellText(1, 3), QString());
    grid->setCurrentCell(2, 3);
    key(Qt::Key_Delete);
    EXPECT_EQ(grid->cellText(2, 3), QStringLiteral("b3"));
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(GridPageTest, DragSelectionFollowsThePointerWithinTheDataCells)
{
    acquireThreeRows();
    page().StringGrid1MouseDown(Qt::LeftButton, 2, 3);
    page().StringGrid1MouseMove(1, 1);
    EXPECT_EQ(grid->selectionRect(), (GridRect{1, 1, 2, 3}));
    EXPECT_EQ(QPoint(grid->currentCol(), grid->currentRow()), QPoint(1, 1));
    // Over the fixed cells the rectangle stops at the first data row and column.
    page().StringGrid1MouseMove(0, 0);
    EXPECT_EQ(grid->selectionRect(), (GridRect{1, 1, 2, 3}));
    page().StringGrid1MouseMove(2, 2);
    EXPECT_EQ(grid->selectionRect(), (GridRect{2, 2, 2, 3}));
    page().StringGrid1MouseUp();
    page().StringGrid1MouseMove(1, 1);
    EXPECT_EQ(grid->selectionRect(), (GridRect{2, 2, 2, 3}));
    // A press on a fixed cell starts no drag.
    page().StringGrid1MouseDown(Qt::LeftButton, 0, 2);
    page().StringGrid1MouseMove(1, 1);
    EXPECT_EQ(grid->selectionRect(), (GridRect{2, 2, 2, 3}));
}

TEST_F(GridPageTest, SortButtonsMoveWholeRowsByTheCurrentColumn)
{
    acquireThreeRows();
    const int objectOfA3 = grid->cellObject(1, 3);
    grid->setCellText(2, 1, QStringLiteral("10"));
    grid->setCellText(2, 3, QStringLiteral("-1"));
    grid->setCurrentCell(2, 1);
    ui->SpeedButton18->click();  // 数字順: -1, (grey, empty = 0), 10
    EXPECT_EQ(rowTexts(1), (QStringList{"3", "A3", "-1"}));
    EXPECT_EQ(rowTexts(2), (QStringList{"2", "A2", ""}));
    EXPECT_EQ(rowTexts(3), (QStringList{"1", "A1", "10"}));
    EXPECT_EQ(grid->cellObject(1, 1), objectOfA3);
    EXPECT_EQ(grid->cellObject(2, 2), 0);

    ui->SpeedButton16->click();  // 取得順
    EXPECT_EQ(rowTexts(1), (QStringList{"1", "A1", "10"}));
    EXPECT_EQ(rowTexts(3), (QStringList{"3", "A3", "-1"}));

    grid->setCurrentCell(2, 1);
    ui->SpeedButton17->click();  // 文字順: "", "-1", "10"
    EXPECT_EQ(rowTexts(1), (QStringList{"2", "A2", ""}));
    EXPECT_EQ(rowTexts(2), (QStringList{"3", "A3", "-1"}));
}

TEST_F(GridPageTest, UpdateWritesEveryAttributeCellInOneUndoStep)
{
    const auto refs = acquireThreeRows();
    grid->setCellText(1, 2, QStringLiteral("X2"));
    grid->setCellText(2, 2, QStringLiteral("never"));
    ui->SpeedButton11->click();
    EXPECT_EQ(attributeValue(refs[1], 0), u"X2");
    EXPECT_EQ(drawing().findBlockReference(refs[1])->attributes.size(), 1u);
    EXPECT_EQ(pixelsOf(gridImage(), 1, 2, kRed), 0);
    EXPECT_TRUE(session->undoLastStep());
    EXPECT_EQ(attributeValue(refs[1], 0), u"A2");
    EXPECT_FALSE(session->undoLastStep());
}

// The sample drawing's I/O comment blocks, as a user loads them; with KELVO_GRID_SCREENSHOT
// set the page is also saved there as a picture to look at.
TEST_F(GridPageTest, SampleDrawingLoadsTheIoCommentGroup)
{
    form.reset();
    start(kelvocad::makeSampleDrawing());
    selectGroup(QStringLiteral("I/Oコメント,PIN1,IOADRS,JCMNT1,JCMNT2"));
    std::vector<std::u16string> plcBlocks;
    for (const auto& entity : drawing().entities())
        if (const auto* reference = std::get_if<kelvocad::BlockReference>(&entity))
            plcBlocks.push_back(reference->handle);
    session->scriptedPicker()->nextPickReturns(plcBlocks);
    ui->SpeedButton10->click();

    EXPECT_EQ(rowTexts(0), (QStringList{"", "ピン番号", "I/Oアドレス", "コメント１", "コメント２"}));
    ASSERT_EQ(grid->gridRowCount(), 5);
    EXPECT_EQ(rowTexts(1), (QStringList{"1", "1", "X0A0", "電源入", "AC100V"}));
    EXPECT_EQ(rowTexts(4), (QStringList{"4", "4", "Y000", "運転表示", "GL"}));
    grid->setCellText(3, 2, QStringLiteral("非常停止(変更)"));
    grid->setCurrentCell(1, 1);

    if (const QByteArray target = qgetenv("KELVO_GRID_SCREENSHOT"); !target.isEmpty()) {
        QApplication::processEvents();
        form->grab().save(QString::fromLocal8Bit(target));
    }
}

}  // namespace
