#include "textops/ZenHanCommands.h"

#include "textops/FakeCellGrid.h"

#include <gtest/gtest.h>

namespace textops {
namespace {

using Lines = std::vector<std::u16string>;

TEST(ZenHanCommands, ItemsAreFoundByNameAndOnlyTheirs)
{
    EXPECT_EQ(zenHanCommandForItem(u"N094"), ZenHanCommand::N094);
    EXPECT_EQ(zenHanCommandForItem(u"AZ2"), ZenHanCommand::AZ2);
    EXPECT_FALSE(zenHanCommandForItem(u"N21").has_value());
    EXPECT_FALSE(zenHanCommandForItem(u"N7").has_value());
    int submenu = 0;
    for (const auto& info : zenHanCommands())
        submenu += info.inSubmenu ? 1 : 0;
    EXPECT_EQ(submenu, 10);
    EXPECT_EQ(zenHanCommandInfo(ZenHanCommand::N28).caption, u"すべての半角 ( ) を全角に ");
}

TEST(ZenHanCommands, EachCommandTransformsOneText)
{
    struct Case { ZenHanCommand command; std::u16string input; std::u16string expected; };
    const Case cases[] = {
        {ZenHanCommand::N28, u"f(x) (y)", u"f（x） （y）"},
        {ZenHanCommand::N28, u"ｶ(", u"ｶ（"},
        {ZenHanCommand::N1, u"ｶﾞ1 a", u"ガ１\u3000ａ"},
        {ZenHanCommand::N4, u"ガ１\u3000ａ", u"ｶﾞ1 a"},
        {ZenHanCommand::N23, u"ｶﾞ1", u"ガ1"},
        {ZenHanCommand::N093, u"－１，Ａ", u"-1,Ａ"},
        {ZenHanCommand::N26, u"￥＂", u"\\＂"},
        {ZenHanCommand::N32, u"A B", u"Ａ Ｂ"},
        {ZenHanCommand::N32, u"A\u3000B", u"Ａ Ｂ"},
        {ZenHanCommand::N33, u"Ａ\u3000Ｂ", u"A B"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(zenHanCommandInfo(c.command).itemName));
        std::u16string text = c.input;
        applyZenHanCommand(c.command, text);
        EXPECT_EQ(text, c.expected);
    }
}

TEST(ZenHanCommands, EveryLineStoppedHalfWayKeepsTheRestUnchanged)
{
    bool runFlag = true;
    int lineSteps = 0;
    StepControl control{{}, [&] { return ++lineSteps < 2 && runFlag; }};
    const auto result = zenHanEveryLine(ZenHanCommand::N1, {u"a", u"b", u"c"}, control);
    EXPECT_TRUE(result.stopped);
    EXPECT_EQ(result.lines, (Lines{u"ａ", u"ｂ", u"c"}));
}

TEST(ZenHanCommands, SubmenuPumpsAfterEveryPassAndEveryLine)
{
    int pumps = 0;
    StepControl control{[&] { ++pumps; }, {}};
    const auto result = zenHanEveryLine(ZenHanCommand::N24, {u"ガ", u"パ"}, control);
    EXPECT_EQ(result.lines, (Lines{u"ｶﾞ", u"ﾊﾟ"}));
    EXPECT_EQ(pumps, 2 * (84 + 1));
}

TEST(ZenHanCommands, SelectionLosesItsFinalBreakAndOuterSpaces)
{
    EXPECT_EQ(zenHanSelection(ZenHanCommand::N2, u"ab\r\n", {})->text, u"ａｂ");
    EXPECT_EQ(zenHanSelection(ZenHanCommand::N2, u"a\r\nb", {})->text, u"ａ\r\nｂ");
    EXPECT_EQ(zenHanSelection(ZenHanCommand::N5, u"\u3000ＡＢ\u3000", {})->text, u"AB");
    EXPECT_FALSE(zenHanSelection(ZenHanCommand::N5, u"", {}).has_value());
}

TEST(ZenHanCommands, GridCommandsSaveEveryCellOfTheRectangle)
{
    test::FakeCellGrid grid;
    grid.cells[{1, 1}] = u"A B";
    grid.cells[{2, 1}] = u"\u3000";
    grid.cells[{1, 3}] = u"ｶﾞ";
    const int count = zenHanCells(ZenHanCommand::N32, grid, CellRect{1, 1, 2, 3});
    EXPECT_EQ(count, 6);
    ASSERT_EQ(grid.undo.size(), 6u);
    EXPECT_EQ(grid.undo[0].first, (std::pair{1, 1}));
    EXPECT_EQ(grid.undo[0].second, u"A B");
    EXPECT_EQ(grid.undo[1].first, (std::pair{2, 1}));
    EXPECT_EQ(grid.undo[2].first, (std::pair{1, 2}));
    EXPECT_EQ((grid.cells[{1, 1}]), u"Ａ Ｂ");
    EXPECT_EQ((grid.cells[{2, 1}]), u" ");
    EXPECT_EQ((grid.cells[{1, 3}]), u"ガ");
}

}  // namespace
}  // namespace textops
