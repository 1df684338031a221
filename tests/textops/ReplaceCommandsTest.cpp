#include "textops/ReplaceCommands.h"

#include "textops/FakeCellGrid.h"

#include <gtest/gtest.h>

namespace textops {
namespace {

using Lines = std::vector<std::u16string>;

TEST(ReplaceAll, Cases)
{
    struct Case {
        std::u16string text, search, replacement;
        MatchCase matchCase;
        std::u16string expected;
    };
    const Case cases[] = {
        {u"aaaa", u"aa", u"a", MatchCase::Exact, u"aa"},
        {u"abc ABC Abc", u"abc", u"x", MatchCase::IgnoreCase, u"x x x"},
        {u"abc ABC Abc", u"abc", u"x", MatchCase::Exact, u"x ABC Abc"},
        {u"aAaA", u"AA", u"b", MatchCase::IgnoreCase, u"bb"},
        {u"W-01 W-02", u"W-", u"", MatchCase::Exact, u"01 02"},
        {u"abc", u"", u"x", MatchCase::IgnoreCase, u"abc"},
        {u"ａｂｃＡＢＣ", u"ＡＢＣ", u"x", MatchCase::IgnoreCase, u"xx"},
        {u"Straße STRASSE", u"STRASSE", u"x", MatchCase::IgnoreCase, u"Straße x"},
        {u"ガガ", u"ガ", u"カ", MatchCase::IgnoreCase, u"カカ"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.text) + " / " + testing::PrintToString(c.search));
        EXPECT_EQ(replaceAll(c.text, c.search, c.replacement, c.matchCase), c.expected);
    }
}

TEST(ReplaceCommands, SelectionPrefillIsTheFirstSelectedLine)
{
    EXPECT_EQ(selectionSearchPrefill(u"abc\r\ndef"), u"abc");
    EXPECT_EQ(selectionSearchPrefill(u"abc\ndef"), u"abc");
    EXPECT_EQ(selectionSearchPrefill(u"abc"), u"abc");
    EXPECT_EQ(selectionSearchPrefill(u"\r\nabc"), u"");
}

TEST(ReplaceCommands, PrefillKeepsTheFieldsWithoutASourceAndTheCellCommandKeepsTheReplacement)
{
    TikanFields fields{u"old", u"typed"};
    prefillTikanFields(ReplaceCommand::N7, fields, std::nullopt);
    EXPECT_EQ(fields.Edit1, u"old");
    EXPECT_EQ(fields.Edit2, u"typed");
    prefillTikanFields(ReplaceCommand::N35, fields, u"W-01");
    EXPECT_EQ(fields.Edit1, u"W-01");
    EXPECT_EQ(fields.Edit2, u"typed");
    prefillTikanFields(ReplaceCommand::N8, fields, u"a b\r\nc");
    EXPECT_EQ(fields.Edit1, u"a b");
    EXPECT_EQ(fields.Edit2, u"a b");
    prefillTikanFields(ReplaceCommand::N44, fields, u"X");
    EXPECT_EQ(fields.Edit2, u"X");
}

TEST(ReplaceCommands, EveryLineHonoursIgnoreCaseAndAnEmptySearchDoesNothing)
{
    const auto ignoring = replaceEveryLine({u"abc", u"ABC", u"Abd"}, u"ab", u"x", MatchCase::IgnoreCase, {});
    ASSERT_TRUE(ignoring);
    EXPECT_EQ(ignoring->lines, (Lines{u"xc", u"xC", u"xd"}));
    EXPECT_FALSE(replaceEveryLine({u"abc"}, u"", u"x", MatchCase::Exact, {}).has_value());
}

TEST(ReplaceCommands, SelectionIsExactAndJoinsAFinalBreak)
{
    const auto result = replaceInSelection(u"abc\r\nABC\r\n", u"abc", u"x", {});
    ASSERT_TRUE(result);
    EXPECT_EQ(result->text, u"x\r\nABC");
    EXPECT_FALSE(replaceInSelection(u"abc", u"", u"x", {}).has_value());
}

TEST(ReplaceCommands, CellsAreAllSavedEvenWhenOnlyOneMatches)
{
    test::FakeCellGrid grid;
    grid.cells[{0, 1}] = u"P-1";
    grid.cells[{0, 2}] = u"Q-1";
    grid.cells[{0, 3}] = u"R";
    const auto count = replaceInCells(grid, CellRect{0, 1, 0, 3}, u"P-", u"p_");
    EXPECT_EQ(count, 3);
    EXPECT_EQ(grid.undo.size(), 3u);
    EXPECT_EQ((grid.cells[{0, 1}]), u"p_1");
    EXPECT_EQ((grid.cells[{0, 2}]), u"Q-1");

    test::FakeCellGrid untouched;
    EXPECT_FALSE(replaceInCells(untouched, CellRect{0, 1, 0, 3}, u"", u"x").has_value());
    EXPECT_TRUE(untouched.undo.empty());
}

}  // namespace
}  // namespace textops
