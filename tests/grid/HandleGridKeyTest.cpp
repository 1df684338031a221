#include "FakeCellGrid.h"

#include "grid/GridClipboard.h"
#include "grid/HandleGridKey.h"
#include "grid/TUndoCells.h"
#include "grid/UndoGroup.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace grid::test {
namespace {

class FakeClipboard : public GridClipboard {
public:
    std::u16string content;
    int writes = 0;
    std::vector<bool> failWrite;  // per attempt, from the first
    bool failRead = false;

    std::u16string text() override
    {
        if (failRead)
            throw std::runtime_error("clipboard busy");
        return content;
    }
    void setText(const std::u16string& text) override
    {
        const size_t attempt = static_cast<size_t>(writes++);
        if (attempt < failWrite.size() && failWrite[attempt])
            throw std::runtime_error("clipboard busy");
        content = text;
    }
};

constexpr KeyModifiers ctrl{false, true, false};
constexpr KeyModifiers ctrlShift{true, true, false};

// A 4 x 6 data area: cell (c, r) holds "c" followed by "r", e.g. "23".
class GridKey : public ::testing::Test {
protected:
    FakeCellGrid grid{5, 7};
    TUndoCells undo;
    int count = -7;  // any value the key must replace
    FakeClipboard clipboard;

    void SetUp() override
    {
        for (int r = 1; r < 7; ++r)
            for (int c = 1; c < 5; ++c)
                grid.setCellText(c, r, std::u16string{static_cast<char16_t>(u'0' + c), static_cast<char16_t>(u'0' + r)});
    }

    int press(int key, KeyModifiers modifiers = ctrl)
    {
        HandleGridKey(grid, key, modifiers, undo, count, clipboard);
        return key;
    }
};

TEST_F(GridKey, CopyJoinsCellsWithTabsAndEndsEveryRowWithCrLf)
{
    struct Case {
        GridRect selection;
        std::u16string text;
    };
    const std::vector<Case> cases = {
        {{1, 1, 2, 2}, u"11\t21\r\n12\t22\r\n"},
        {{3, 4, 3, 4}, u"34\r\n"},
        {{2, 1, 4, 1}, u"21\t31\t41\r\n"},
        {{4, 5, 4, 6}, u"45\r\n46\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.selection.Left << "," << c.selection.Top);
        grid.setSelection(c.selection);
        count = 5;
        EXPECT_EQ(press(keys::C), 0);
        EXPECT_EQ(clipboard.content, c.text);
        EXPECT_EQ(count, 1);
    }
    EXPECT_EQ(undo.Count(), 0);
    EXPECT_EQ(press(keys::C, ctrlShift), 0) << "other modifiers do not matter";
}

TEST_F(GridKey, CopyOfEmptyCellsStillPutsTheLineBreaks)
{
    grid.setCellText(1, 1, u"");
    grid.select(1, 1, 1, 1);
    clipboard.content = u"old";
    press(keys::C);
    EXPECT_EQ(clipboard.content, u"\r\n");
}

TEST_F(GridKey, CutCopiesThenEmptiesAndRecordsEveryCell)
{
    grid.select(2, 2, 3, 3);
    EXPECT_EQ(press(keys::X), 0);
    EXPECT_EQ(clipboard.content, u"22\t32\r\n23\t33\r\n");
    EXPECT_EQ(count, 4);
    EXPECT_EQ(undo.Count(), 4);
    for (int r : {2, 3})
        for (int c : {2, 3})
            EXPECT_EQ(grid.cellText(c, r), u"");
    undoGroupByKey(undo, grid, count);
    EXPECT_EQ(grid.cellText(2, 2), u"22");
    EXPECT_EQ(grid.cellText(3, 3), u"33");
    EXPECT_EQ(count, 0);
}

TEST_F(GridKey, DeleteEmptiesASelectionButLeavesOneCellToTheEditor)
{
    grid.select(2, 2, 2, 2);
    EXPECT_EQ(press(keys::Delete, {}), keys::Delete);
    EXPECT_EQ(grid.cellText(2, 2), u"22");
    EXPECT_EQ(count, -7);

    grid.select(1, 4, 3, 4);
    EXPECT_EQ(press(keys::Delete, {}), 0);
    EXPECT_EQ(grid.column(1, 4), (std::vector<std::u16string>{u"", u"15", u"16"}));
    EXPECT_EQ(grid.cellText(3, 4), u"");
    EXPECT_EQ(grid.cellText(4, 4), u"44");
    EXPECT_EQ(count, 3);
    EXPECT_EQ(undo.Count(), 3);
    EXPECT_EQ(undo.Items(0).X(), 1) << "cells are recorded left to right";
    EXPECT_EQ(undo.Items(2).X(), 3);
}

TEST_F(GridKey, OtherKeysAreLeftAlone)
{
    struct Case {
        int key;
        KeyModifiers modifiers;
    };
    const std::vector<Case> cases = {
        {keys::C, {}}, {keys::V, {true, false, false}}, {keys::X, {false, false, true}}, {keys::Z, ctrl}, {65, ctrl},
        {keys::Enter, {}},
    };
    grid.select(1, 1, 2, 2);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        EXPECT_EQ(press(c.key, c.modifiers), c.key);
    }
    EXPECT_EQ(count, -7);
    EXPECT_EQ(undo.Count(), 0);
    EXPECT_EQ(clipboard.writes, 0);
}

struct PasteCase {
    const char* name;
    GridRect selection;
    std::u16string clipboard;
    std::vector<std::vector<std::u16string>> rows;  // expected columns 1..4 of rows 1..6
    int count;
};

void PrintTo(const PasteCase& c, std::ostream* os)
{
    *os << c.name;
}

class GridPaste : public GridKey, public ::testing::WithParamInterface<PasteCase> {};

TEST_P(GridPaste, WritesTheBlockFromTheTopLeftCellAndRepeatsItDown)
{
    const PasteCase& c = GetParam();
    grid.setSelection(c.selection);
    clipboard.content = c.clipboard;
    EXPECT_EQ(press(keys::V), 0);
    for (int r = 1; r <= 6; ++r) {
        std::vector<std::u16string> row;
        for (int col = 1; col <= 4; ++col)
            row.push_back(grid.cellText(col, r));
        EXPECT_EQ(row, c.rows[static_cast<size_t>(r - 1)]) << "row " << r;
    }
    EXPECT_EQ(count, c.count);
    EXPECT_EQ(undo.Count(), c.count);

    // One Ctrl+Z takes the whole paste back.
    undoGroupByKey(undo, grid, count);
    for (int r = 1; r <= 6; ++r)
        for (int col = 1; col <= 4; ++col)
            EXPECT_EQ(grid.cellText(col, r),
                      (std::u16string{static_cast<char16_t>(u'0' + col), static_cast<char16_t>(u'0' + r)}));
}

const std::vector<std::u16string> row1 = {u"11", u"21", u"31", u"41"};
const std::vector<std::u16string> row2 = {u"12", u"22", u"32", u"42"};
const std::vector<std::u16string> row3 = {u"13", u"23", u"33", u"43"};
const std::vector<std::u16string> row4 = {u"14", u"24", u"34", u"44"};
const std::vector<std::u16string> row5 = {u"15", u"25", u"35", u"45"};
const std::vector<std::u16string> row6 = {u"16", u"26", u"36", u"46"};

INSTANTIATE_TEST_SUITE_P(
    Cases, GridPaste,
    ::testing::Values(
        PasteCase{"one field into five rows",
                  {2, 1, 2, 5},
                  u"v\r\n",
                  {{u"11", u"v", u"31", u"41"},
                   {u"12", u"v", u"32", u"42"},
                   {u"13", u"v", u"33", u"43"},
                   {u"14", u"v", u"34", u"44"},
                   {u"15", u"v", u"35", u"45"},
                   row6},
                  5},
        PasteCase{"two lines into five rows repeat 1, 2, 1, 2, 1",
                  {1, 2, 1, 6},
                  u"a\r\nb\r\n",
                  {row1, {u"a", u"22", u"32", u"42"}, {u"b", u"23", u"33", u"43"}, {u"a", u"24", u"34", u"44"},
                   {u"b", u"25", u"35", u"45"}, {u"a", u"26", u"36", u"46"}},
                  5},
        PasteCase{"a block wider and taller than a single selected cell is written in full",
                  {2, 2, 2, 2},
                  u"a\tb\r\nc\td\r\n",
                  {row1, {u"12", u"a", u"b", u"42"}, {u"13", u"c", u"d", u"43"}, row4, row5, row6},
                  4},
        PasteCase{"never repeats to the right",
                  {1, 1, 4, 1},
                  u"a\r\n",
                  {{u"a", u"21", u"31", u"41"}, row2, row3, row4, row5, row6},
                  1},
        PasteCase{"text after the last CR LF is ignored; a trailing TAB gives an empty field",
                  {3, 3, 3, 3},
                  u"a\t\r\nrest",
                  {row1, row2, {u"13", u"23", u"a", u""}, row4, row5, row6},
                  2},
        PasteCase{"rows ending in LF alone, as Qt's Windows clipboard hands over another program's text",
                  {1, 2, 1, 2},
                  u"a\tb\nc\td\nrest",
                  {row1, {u"a", u"b", u"32", u"42"}, {u"c", u"d", u"33", u"43"}, row4, row5, row6},
                  4},
        PasteCase{"a lone CR does not end a line in text without CR LF",
                  {1, 1, 1, 1},
                  u"a\rb\n",
                  {{u"a\rb", u"21", u"31", u"41"}, row2, row3, row4, row5, row6},
                  1},
        PasteCase{"where CR LF ends the rows, a lone LF or CR stays inside the cell",
                  {1, 1, 1, 1},
                  u"a\nb\rc\r\n",
                  {{u"a\nb\rc", u"21", u"31", u"41"}, row2, row3, row4, row5, row6},
                  1},
        PasteCase{"an empty line pastes one empty field",
                  {4, 6, 4, 6},
                  u"\r\n",
                  {row1, row2, row3, row4, row5, {u"16", u"26", u"36", u""}},
                  1},
        PasteCase{"cells beyond the grid's edge are dropped and not recorded",
                  {3, 5, 3, 5},
                  u"a\tb\tc\r\nd\te\tf\r\ng\th\ti\r\n",
                  {row1, row2, row3, row4, {u"15", u"25", u"a", u"b"}, {u"16", u"26", u"d", u"e"}},
                  4}),
    [](const auto& info) { return std::to_string(info.index); });

TEST_F(GridKey, ClipboardWithoutLineBreakPastesNothingButCountsOne)
{
    grid.select(1, 1, 2, 2);
    clipboard.content = u"a\tb";
    count = 9;
    EXPECT_EQ(press(keys::V), 0);
    EXPECT_EQ(grid.cellText(1, 1), u"11");
    EXPECT_EQ(count, 1);
    EXPECT_EQ(undo.Count(), 0);
}

TEST_F(GridKey, CopiedBlockPastesBackUnchanged)
{
    grid.setCellText(2, 2, u"x y\u3000z");
    grid.select(1, 2, 3, 3);
    press(keys::C);
    const std::u16string copied = clipboard.content;
    grid.select(2, 5, 2, 5);
    press(keys::V);
    grid.select(2, 5, 4, 6);
    press(keys::C);
    EXPECT_EQ(clipboard.content, copied);
}

TEST_F(GridKey, ClipboardFailures)
{
    struct Case {
        std::vector<bool> failWrite;
        bool throws;
    };
    // The text goes out twice; only a failure of the first attempt is reported.
    const std::vector<Case> cases = {{{false, false}, false}, {{false, true}, false}, {{true, false}, true},
                                     {{true, true}, true}};
    grid.select(1, 1, 1, 1);
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.failWrite[0] << c.failWrite[1]);
        clipboard = FakeClipboard{};
        clipboard.failWrite = c.failWrite;
        int key = keys::C;
        if (c.throws)
            EXPECT_THROW(HandleGridKey(grid, key, ctrl, undo, count, clipboard), std::runtime_error);
        else
            EXPECT_NO_THROW(HandleGridKey(grid, key, ctrl, undo, count, clipboard));
        EXPECT_EQ(clipboard.writes, 2);
    }

    // A cut whose clipboard cannot be written leaves the cells as they are.
    clipboard = FakeClipboard{};
    clipboard.failWrite = {true, true};
    grid.select(1, 1, 2, 1);
    int key = keys::X;
    EXPECT_THROW(HandleGridKey(grid, key, ctrl, undo, count, clipboard), std::runtime_error);
    EXPECT_EQ(grid.cellText(1, 1), u"11");
    EXPECT_EQ(undo.Count(), 0);

    clipboard.failRead = true;
    key = keys::V;
    EXPECT_THROW(HandleGridKey(grid, key, ctrl, undo, count, clipboard), std::runtime_error);
    EXPECT_EQ(undo.Count(), 0);
}

}  // namespace
}  // namespace grid::test
