#include "SearchFixture.h"

#include "automation/AutomationError.h"
#include "kelvocad/objects/FaultInjector.h"
#include "grid/FakeGridClipboard.h"
#include "grid/GridClipboard.h"
#include "search/SearchResults.h"
#include "search/TextSearch.h"

#include <gmock/gmock.h>

#include <functional>

namespace search::test {
namespace {

using ::testing::ElementsAre;
using kelvocad::FaultInjector;

// A search over texts already listed: rows in text order, row 0 current.
class SearchResultsTest : public SearchFixture {
protected:
    std::u16string hA, hB, hC;

    void SetUp() override
    {
        SearchFixture::SetUp();
        hA = addText(u"A-1", 10.0, 20.0);
        hB = addText(u"B-1", 30.5, 40.25, u"LOCKED");
        hC = addText(u"C-1", 50.0, 60.0);
        drawing().setLayerLocked(u"LOCKED", true);
        searchFor(u"");
        ASSERT_THAT(grid.texts(), ElementsAre(u"A-1", u"B-1", u"C-1"));
        host.label6History.clear();
    }

    void edit(int row, const std::u16string& text) { grid.cells.at(static_cast<size_t>(row)).text = text; }
    void enterOn(int row)
    {
        grid.row = row;
        int key = grid::keys::Enter;
        StringGrid2KeyDown(context, key, {}, clipboard);
        EXPECT_EQ(key, grid::keys::Enter) << "the grid's own Enter handling follows";
    }
    void ctrlZ()
    {
        int key = grid::keys::Z;
        StringGrid2KeyDown(context, key, {.shift = true, .control = true}, clipboard);
        EXPECT_EQ(key, 0);
    }

    grid::test::FakeGridClipboard clipboard;
};

TEST_F(SearchResultsTest, ClickShowsTheHitAndPansOnlyForHitRows)
{
    grid.row = 2;
    StringGrid2Click(context);
    EXPECT_EQ(host.label6, u"3 / 3");
    EXPECT_EQ(host.panels[0], hC);
    EXPECT_EQ(host.panels[1], u"50.000, 60.000");
    EXPECT_DOUBLE_EQ(session->view().center.x, 50.0);
    EXPECT_DOUBLE_EQ(session->view().center.y, 60.0);

    // A row emptied by the user, and a row without a hit: panel 0 and Label6 emptied, panel
    // 1 and the view left as they were.
    for (const FakeResultGrid::Cell& cell : {FakeResultGrid::Cell{u"", 2}, FakeResultGrid::Cell{u"text", 0},
                                             FakeResultGrid::Cell{u"text", 4}}) {
        SCOPED_TRACE(cell.object);
        grid.cells[1] = cell;
        grid.row = 1;
        StringGrid2Click(context);
        EXPECT_EQ(host.panels[0], u"");
        EXPECT_EQ(host.label6, u"");
        EXPECT_EQ(host.panels[1], u"50.000, 60.000");
        EXPECT_DOUBLE_EQ(session->view().center.x, 50.0);
    }
}

TEST_F(SearchResultsTest, ClickWithoutCadStillShowsTheHit)
{
    endCad();
    grid.row = 0;
    StringGrid2Click(context);
    EXPECT_EQ(host.panels[0], hA);
    EXPECT_EQ(host.panels[1], u"10.000, 20.000");
}

TEST_F(SearchResultsTest, DrawingMarksLockedAndChangedRowsAndRestoresEmptiedOnes)
{
    struct Case {
        const char* name;
        int row;
        std::u16string text;
        bool locked;
        bool changed;
        std::u16string textAfter;
    };
    const Case cases[] = {
        {"unchanged", 0, u"A-1", false, false, u"A-1"},
        {"locked unchanged", 1, u"B-1", true, false, u"B-1"},
        {"changed", 2, u"C-2", false, true, u"C-2"},
        {"locked changed", 1, u"B-2", true, true, u"B-2"},
        {"emptied springs back", 0, u"", false, false, u"A-1"},
        {"case matters", 0, u"a-1", false, true, u"a-1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        edit(c.row, c.text);
        host.speedButton15 = false;
        const RowPaint paint = StringGrid2DrawCell(context, c.row);
        EXPECT_EQ(paint.locked, c.locked);
        EXPECT_EQ(paint.changed, c.changed);
        EXPECT_EQ(grid.cells[static_cast<size_t>(c.row)].text, c.textAfter);
        EXPECT_EQ(host.speedButton15, c.changed);
        edit(c.row, SearchHits[static_cast<size_t>(c.row)].text);
    }

    // While the editor is open on a row the user cleared, the row waits for the new text.
    grid.row = 2;
    edit(2, u"");
    host.editorOpen = true;
    EXPECT_FALSE(StringGrid2DrawCell(context, 2).changed);
    EXPECT_EQ(grid.cells[2].text, u"");
    host.editorOpen = false;
    StringGrid2DrawCell(context, 2);
    EXPECT_EQ(grid.cells[2].text, u"C-1");

    grid.cells.push_back(FakeResultGrid::Cell{u"stray", 0});
    const RowPaint none = StringGrid2DrawCell(context, 3);
    EXPECT_FALSE(none.locked || none.changed);
    EXPECT_EQ(grid.cells[3].text, u"stray");
}

TEST_F(SearchResultsTest, EnterWritesTheCurrentRowOrPutsTheStoredTextBack)
{
    struct Case {
        const char* name;
        int row;
        std::u16string edited;
        std::function<void()> before;
        std::u16string rowAfter;
        std::u16string drawingAfter;  // the TEXT of that row
    };
    const Case cases[] = {
        {"changed row written", 0, u"A-2", [] {}, u"A-2", u"A-2"},
        {"unchanged row", 2, u"C-1", [] {}, u"C-1", u"C-1"},
        {"emptied row never written", 2, u"", [] {}, u"", u"C-1"},
        {"locked row reverts", 1, u"B-9", [] {}, u"B-1", u"B-1"},
        {"erased TEXT reverts", 2, u"C-9", [this] { drawing().erase(hC); }, u"C-1", u""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        c.before();
        const auto puts = session->callCount(u"TextString");
        edit(c.row, c.edited);
        host.editorOpen = false;
        host.label6 = u"untouched";
        enterOn(c.row);
        EXPECT_EQ(grid.cells[static_cast<size_t>(c.row)].text, c.rowAfter);
        const auto handle = SearchHits[static_cast<size_t>(c.row)].sHnd;
        if (drawing().findText(handle)) {
            EXPECT_EQ(stringOf(handle), c.drawingAfter);
        }
        const bool wrote = c.rowAfter == c.edited && c.edited != u"" && c.edited != u"C-1";
        if (wrote) {
            EXPECT_EQ(SearchHits[static_cast<size_t>(c.row)].text, c.edited) << "the hit stores the written text";
        }
        if (c.edited == u"C-1" || c.edited.empty()) {
            EXPECT_EQ(session->callCount(u"TextString"), puts) << "nothing to write";
            EXPECT_EQ(host.label6, u"untouched") << "no click without a write";
        } else {
            EXPECT_EQ(grid.row, c.row);
            EXPECT_EQ(host.label6, common::fromAscii(std::to_string(c.row + 1)) + u" / 3") << "the click ran";
        }
    }
}

TEST_F(SearchResultsTest, EnterWriteTakesNoUndoMarkAndNoWindowSteps)
{
    const auto before = markDrawing();
    windows.log.clear();
    edit(0, u"A-2");
    enterOn(0);
    EXPECT_EQ(stringOf(hA), u"A-2");
    EXPECT_EQ(session->callCount(u"StartUndoMark"), 0u);
    EXPECT_EQ(windows.log, std::vector<std::string>{}) << "no window steps, no marker (no drawing window)";
    EXPECT_EQ(host.label6, u"1 / 3");
    EXPECT_EQ(host.panels[0], hA);
}

TEST_F(SearchResultsTest, EnterWithoutCadKeepsTheEditAndStillClicks)
{
    endCad();
    edit(0, u"A-2");
    enterOn(0);
    EXPECT_EQ(grid.cells[0].text, u"A-2");
    EXPECT_EQ(SearchHits[0].text, u"A-1");
    EXPECT_EQ(host.label6, u"1 / 3");
}

TEST_F(SearchResultsTest, EnterWithWritingOffWritesNothing)
{
    host.checkBox5 = false;
    edit(0, u"A-2");
    enterOn(0);
    EXPECT_EQ(stringOf(hA), u"A-1");
    EXPECT_EQ(grid.cells[0].text, u"A-2");
}

TEST_F(SearchResultsTest, EnterMovesToTheNextRowOnlyWhileEditing)
{
    struct Case {
        bool checkBox8;
        bool editorOpen;
        int from;
        int to;
    };
    const Case cases[] = {{true, true, 0, 1}, {true, true, 2, 0}, {true, false, 0, 0}, {false, true, 0, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.from) + (c.checkBox8 ? " down" : " stay") + (c.editorOpen ? " editing" : ""));
        host.checkBox8 = c.checkBox8;
        host.editorOpen = c.editorOpen;
        enterOn(c.from);
        EXPECT_EQ(grid.row, c.to);
        if (c.from != c.to) {
            EXPECT_EQ(host.label6, common::fromAscii(std::to_string(c.to + 1)) + u" / 3");
            EXPECT_EQ(host.panels[0], SearchHits[static_cast<size_t>(c.to)].sHnd) << "the new row pans";
        }
    }
}

TEST(UpdateMessageTest, Texts)
{
    struct Case {
        int written, targeted, locked;
        std::u16string text;
    };
    const Case cases[] = {
        {0, 0, 0, u"更新対象の TEXT はありません．"},
        {2, 2, 0, u"2 / 2 個の TEXT を更新しました．"},
        {2, 2, 1, u"2 / 2 個の TEXT を更新しました．\nロック画層の TEXT 1 個は更新されません．"},
        {0, 0, 12, u"更新対象の TEXT はありません．\nロック画層の TEXT 12 個は更新されません．"},
        {1, 10, 0, u"1 / 10 個の TEXT を更新しました．"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(utf8(c.text));
        EXPECT_EQ(updateMessage(c.written, c.targeted, c.locked), c.text);
    }
}

TEST_F(SearchResultsTest, UpdateWritesChangedRowsInOneUndoStepAndCountsLockedOnes)
{
    const auto hD = addText(u"D-1", 1, 1);
    searchFor(u"");
    ASSERT_THAT(grid.texts(), ElementsAre(u"A-1", u"B-1", u"C-1", u"D-1"));
    const auto before = markDrawing();
    edit(0, u"A-2");
    edit(1, u"B-2");
    edit(3, u"D-2");
    host.speedButton15 = true;
    windows.log.clear();

    SpeedButton15Click(context);

    EXPECT_THAT(host.messages, ElementsAre(u"2 / 2 個の TEXT を更新しました．\nロック画層の TEXT 1 個は更新されません．"));
    EXPECT_EQ(stringOf(hA), u"A-2");
    EXPECT_EQ(stringOf(hB), u"B-1");
    EXPECT_EQ(stringOf(hC), u"C-1");
    EXPECT_EQ(stringOf(hD), u"D-2");
    EXPECT_EQ(SearchHits[0].text, u"A-2");
    EXPECT_EQ(SearchHits[1].text, u"B-1");
    EXPECT_EQ(grid.cells[1].text, u"B-2") << "a locked row keeps its edit";
    EXPECT_FALSE(host.speedButton15);
    EXPECT_EQ(windows.log, std::vector<std::string>{}) << "only a restore, and the window is not minimised";
    expectOneUndoRestores(before);

    // The locked row counts again at the next update.
    host.messages.clear();
    SpeedButton15Click(context);
    EXPECT_THAT(host.messages, ElementsAre(u"更新対象の TEXT はありません．\nロック画層の TEXT 1 個は更新されません．"));
}

TEST_F(SearchResultsTest, UpdateCountsAnErasedTextAsTargetedButNotWritten)
{
    edit(0, u"A-2");
    edit(2, u"C-2");
    drawing().erase(hC);
    SpeedButton15Click(context);
    EXPECT_THAT(host.messages, ElementsAre(u"1 / 2 個の TEXT を更新しました．"));
    EXPECT_EQ(stringOf(hA), u"A-2");
    EXPECT_EQ(grid.cells[2].text, u"C-2") << "the row stays changed";
    EXPECT_EQ(SearchHits[2].text, u"C-1");
}

TEST_F(SearchResultsTest, UpdateWhoseUndoMarkFailsStillReportsItsCount)
{
    struct Case {
        const char16_t* failing;
        std::u16string message;
        std::u16string textAfter;
    };
    const Case cases[] = {
        {u"StartUndoMark", u"0 / 1 個の TEXT を更新しました．", u"A-1"},  // no group: nothing is written
        {u"EndUndoMark", u"1 / 1 個の TEXT を更新しました．", u"A-2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::u16string(c.failing)));
        session->faults().clear();
        edit(0, u"A-2");
        session->faults().failMember(FaultInjector::MemberFailure::of(c.failing));
        host.messages.clear();
        SpeedButton15Click(context);
        EXPECT_THAT(host.messages, ElementsAre(c.message));
        EXPECT_EQ(stringOf(hA), c.textAfter);
    }
}

TEST_F(SearchResultsTest, UpdateWithNothingToWrite)
{
    struct Case {
        const char* name;
        std::function<void()> setup;
    };
    const Case cases[] = {
        {"no changed row", [] {}},
        {"emptied row is not an edit", [this] { edit(0, u""); }},
        {"CAD not running", [this] { edit(0, u"A-2"), endCad(); }},
        {"no hits", [this] { SearchHits.clear(), edit(0, u"A-2"); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        c.setup();
        host.messages.clear();
        SpeedButton15Click(context);
        EXPECT_THAT(host.messages, ElementsAre(u"更新対象の TEXT はありません．"));
        if (drawing().findText(hA)) {
            EXPECT_EQ(stringOf(hA), u"A-1");
        }
    }
}

TEST_F(SearchResultsTest, EditorOpeningRecordsTheCellAndCtrlZUndoesGroups)
{
    StringGrid2GetEditText(context, 0, 1);
    EXPECT_EQ(sgUndoCnt2, 1);
    edit(1, u"typed");
    ctrlZ();
    EXPECT_EQ(grid.cells[1].text, u"B-1");
    EXPECT_EQ(sgUndoCnt2, 0);

    // A group of three records goes back at once, then one record per Ctrl+Z.
    for (int row : {0, 1, 2}) {
        FUndoCells2.Add(grid, 0, row);
        edit(row, u"x");
    }
    FUndoCells2.Add(grid, 0, 0);
    edit(0, u"y");
    sgUndoCnt2 = 3;
    ctrlZ();
    EXPECT_THAT(grid.texts(), ElementsAre(u"x", u"B-1", u"C-1"));
    EXPECT_EQ(sgUndoCnt2, 0);
    ctrlZ();
    EXPECT_THAT(grid.texts(), ElementsAre(u"A-1", u"B-1", u"C-1"));
    EXPECT_EQ(grid.row, 0) << "undo makes the restored cell current";
    EXPECT_EQ(host.panels[0], hA) << "and that move is a click";
    ctrlZ();  // nothing left
    EXPECT_THAT(grid.texts(), ElementsAre(u"A-1", u"B-1", u"C-1"));
}

TEST_F(SearchResultsTest, OtherKeysAreTheSharedGridKeysOnThisGridsUndoStack)
{
    grid.setSelection({0, 0, 0, 1});
    int key = grid::keys::C;
    StringGrid2KeyDown(context, key, {.control = true}, clipboard);
    EXPECT_EQ(key, 0);
    EXPECT_EQ(clipboard.content, u"A-1\r\nB-1\r\n");

    key = grid::keys::Delete;
    StringGrid2KeyDown(context, key, {}, clipboard);
    EXPECT_EQ(key, 0);
    EXPECT_THAT(grid.texts(), ElementsAre(u"", u"", u"C-1"));
    EXPECT_EQ(FUndoCells2.Count(), 2);
    EXPECT_EQ(sgUndoCnt2, 2);
    ctrlZ();
    EXPECT_THAT(grid.texts(), ElementsAre(u"A-1", u"B-1", u"C-1"));

    key = 'Q';
    StringGrid2KeyDown(context, key, {}, clipboard);
    EXPECT_EQ(key, 'Q');
}

TEST_F(SearchResultsTest, ReplaceInSelectionIsExactAndUndoesAsOneGroup)
{
    edit(0, u"AAA");
    edit(1, u"aA");
    grid.selected = {0, 0, 0, 1};
    host.dialogAnswer = textops::TikanFields{u"A", u"B"};
    N44Click(context);
    EXPECT_EQ(host.dialogPrefill, u"AAA");
    EXPECT_THAT(grid.texts(), ElementsAre(u"BBB", u"aB", u"C-1"));
    EXPECT_EQ(sgUndoCnt2, 2);
    EXPECT_EQ(stringOf(hA), u"A-1") << "only the grid changes";

    ctrlZ();
    EXPECT_THAT(grid.texts(), ElementsAre(u"AAA", u"aA", u"C-1"));
}

TEST_F(SearchResultsTest, ReplaceCancelledOrWithoutSearchStringChangesNothing)
{
    grid.selected = {0, 0, 0, 2};
    sgUndoCnt2 = 5;
    for (const auto& answer : {std::optional<textops::TikanFields>{},
                               std::optional<textops::TikanFields>{textops::TikanFields{u"", u"X"}}}) {
        SCOPED_TRACE(answer ? "empty search" : "cancelled");
        host.dialogAnswer = answer;
        N44Click(context);
        EXPECT_THAT(grid.texts(), ElementsAre(u"A-1", u"B-1", u"C-1"));
        EXPECT_EQ(FUndoCells2.Count(), 0);
        EXPECT_EQ(sgUndoCnt2, 5);
    }
}

TEST_F(SearchResultsTest, SelectAllCoversEveryRow)
{
    grid.selected = {0, 1, 0, 1};
    N47Click(context);
    EXPECT_EQ(grid.selected, (grid::GridRect{0, 0, 0, 2}));
}

TEST_F(SearchResultsTest, SearchClearsTheUndoStackAndKeepsTheUpdateButton)
{
    FUndoCells2.Add(grid, 0, 0);
    sgUndoCnt2 = 4;
    host.speedButton15 = true;
    searchFor(u"A");
    EXPECT_EQ(FUndoCells2.Count(), 0);
    EXPECT_EQ(sgUndoCnt2, 0);
    EXPECT_TRUE(host.speedButton15);
}

TEST_F(SearchResultsTest, AnotherRunningOperationHoldsBackSearchAndWrites)
{
    fields.cadOperationRunning = true;  // a write-back of the line editor pumping messages
    const auto selects = session->callCount(u"Select");
    searchFor(u"A");
    EXPECT_EQ(session->callCount(u"Select"), selects);
    EXPECT_EQ(host.caption, u"検索");
    EXPECT_TRUE(host.edit3Enabled);
    EXPECT_THAT(grid.texts(), ElementsAre(u"A-1", u"B-1", u"C-1"));

    edit(0, u"A-2");
    SpeedButton15Click(context);
    enterOn(0);
    EXPECT_EQ(stringOf(hA), u"A-1");
    EXPECT_THAT(host.messages, ElementsAre(u"0 / 1 個の TEXT を更新しました．")) << "the batch says so; Enter is silent";
    EXPECT_EQ(session->callCount(u"StartUndoMark"), 0u);
    EXPECT_TRUE(fields.cadOperationRunning) << "the other operation's mark stays";
}

}  // namespace
}  // namespace search::test
