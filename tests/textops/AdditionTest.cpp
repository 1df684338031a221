#include "textops/Addition.h"

#include "textops/FakeCellGrid.h"

#include <gtest/gtest.h>

namespace textops {
namespace {

using Lines = std::vector<std::u16string>;

AdditionSettings decimal(std::int32_t addend, NumberPosition position = NumberPosition::Tail)
{
    return AdditionSettings{addend, position, Radix::Decimal, 2};
}

AdditionSettings tail(Radix radix, int digitCount, std::int32_t addend)
{
    return AdditionSettings{addend, NumberPosition::Tail, radix, digitCount};
}

struct AdditionCase {
    std::u16string text;
    AdditionSettings settings;
    std::optional<std::u16string> expected;  // nothing: the addition does not apply
};

TEST(AddToText, Decimal)
{
    const AdditionCase cases[] = {
        {u"A-12B3", decimal(1), u"A-12B4"},
        {u"A-12B3", decimal(1, NumberPosition::Head), u"A-13B3"},
        {u"A-5", decimal(1), u"A-6"},
        {u"  W-7  ", decimal(1), u"W-8"},
        {u"  no digits  ", decimal(1), std::nullopt},
        {u"１２", decimal(1), std::nullopt},
        {u"099", decimal(1), u"100"},
        {u"0010", decimal(-1), u"0009"},
        {u"007", decimal(1), u"008"},
        {u"9", decimal(1), u"10"},
        {u"10", decimal(-1), u"09"},
        // Runs beyond 32 bits are added exactly and never wrap.
        {u"12345678901", decimal(1), u"12345678902"},
        {u"T99999999999", decimal(1), u"T100000000000"},
        {u"2147483647", decimal(1), u"2147483648"},
        {u"P4294967296-Q", decimal(-2147483647 - 1, NumberPosition::Head), u"P2147483648-Q"},
        {u"99999999999999999999999", decimal(2147483647), u"100000000000002147483646"},
        // Below zero: the minus sign first, the zeros between it and the digits.
        {u"001", decimal(-5), u"-04"},
        {u"X3", decimal(-5), u"X-2"},
        {u"", decimal(1), std::nullopt},
        {u" \t ", decimal(1), std::nullopt},
    };
    for (const AdditionCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.text) + " + " + std::to_string(c.settings.addend));
        EXPECT_EQ(addToText(c.text, c.settings), c.expected);
    }
}

TEST(AddToText, HexadecimalAndOctalTails)
{
    const AdditionCase cases[] = {
        {u"PIN0F", tail(Radix::Hexadecimal, 2, 1), u"PIN10"},
        {u"PINff", tail(Radix::Hexadecimal, 2, 1), u"PIN100"},
        {u"PIN0G", tail(Radix::Hexadecimal, 2, 1), std::nullopt},
        {u"AB12", tail(Radix::Hexadecimal, 3, 1), u"AB13"},
        {u"pin0a", tail(Radix::Hexadecimal, 2, 1), u"pin0B"},
        {u"FFFFFFFF", tail(Radix::Hexadecimal, 8, 1), u"100000000"},
        {u"  0F", tail(Radix::Hexadecimal, 2, 1), u"  10"},
        {u"0F ", tail(Radix::Hexadecimal, 2, 1), std::nullopt},
        {u"PIN00", tail(Radix::Hexadecimal, 2, -1), u"PIN-1"},
        {u"X07", tail(Radix::Octal, 2, 1), u"X10"},
        {u"X08", tail(Radix::Octal, 2, 1), std::nullopt},
        {u"X77", tail(Radix::Octal, 2, 1), u"X100"},
        {u"7", tail(Radix::Octal, 3, 1), u"010"},
        {u"X10", tail(Radix::Octal, 2, -1), u"X07"},
        {u"", tail(Radix::Hexadecimal, 2, 1), std::nullopt},
        {u"", tail(Radix::Octal, 2, 1), std::nullopt},
        {u"  ", tail(Radix::Octal, 2, 1), std::nullopt},
    };
    for (const AdditionCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.text) + " + " + std::to_string(c.settings.addend));
        EXPECT_EQ(addToText(c.text, c.settings), c.expected);
    }
}

TEST(AdditionSettings, ReadFromTheDialog)
{
    EXPECT_EQ(readAdditionSettings(u"abc", true, Radix::Decimal, 2).addend, 0);
    EXPECT_EQ(readAdditionSettings(u" -3", true, Radix::Decimal, 2).addend, -3);
    EXPECT_EQ(readAdditionSettings(u"$10", true, Radix::Decimal, 2).addend, 16);
    EXPECT_EQ(readAdditionSettings(u"1", false, Radix::Decimal, 2).position, NumberPosition::Head);
    EXPECT_EQ(readAdditionSettings(u"1", true, Radix::Octal, 0).digitCount, 1);
    EXPECT_EQ(readAdditionSettings(u"1", true, Radix::Octal, 12).digitCount, 8);
}

TEST(KasanRadixEffects, DirectionForDecimalDigitCountOtherwise)
{
    const KasanRadixView hex = kasanRadixEffects(Radix::Hexadecimal);
    EXPECT_TRUE(hex.RadioButton2Checked);
    EXPECT_FALSE(hex.directionEnabled);
    EXPECT_TRUE(hex.digitCountEnabled);
    EXPECT_EQ(hex.Label5Caption, u"16進");
    const KasanRadixView dec = kasanRadixEffects(Radix::Decimal);
    EXPECT_TRUE(dec.RadioButton2Checked);
    EXPECT_TRUE(dec.directionEnabled);
    EXPECT_FALSE(dec.digitCountEnabled);
    EXPECT_EQ(dec.Label5Caption, u"10進");
    EXPECT_EQ(kasanRadixEffects(Radix::Octal).Label5Caption, u" 8進");
}

TEST(AdditionCommands, EveryLineStepsOnlyOnChangedLines)
{
    int pumps = 0;
    StepControl control{[&] { ++pumps; }, [&] { return pumps < 2; }};
    const auto result = addToEveryLine({u"a1", u"", u" b ", u"c3", u"d4"}, decimal(1), control);
    ASSERT_TRUE(result);
    EXPECT_TRUE(result->stopped);
    EXPECT_EQ(result->lines, (Lines{u"a2", u"", u" b ", u"c4", u"d4"}));
    EXPECT_EQ(pumps, 2);
    EXPECT_FALSE(addToEveryLine({u"a1"}, decimal(0), {}).has_value());
}

TEST(AdditionCommands, SelectionJoinsItsLines)
{
    const auto result = addToSelection(u"x1\r\ny\r\n", decimal(1), {});
    ASSERT_TRUE(result);
    EXPECT_EQ(result->text, u"x2\r\ny");
    EXPECT_FALSE(addToSelection(u"x1", decimal(0), {}).has_value());
}

TEST(AdditionCommands, GridSavesEveryCellOrOnlyTheNumberedOnes)
{
    auto makeGrid = [] {
        test::FakeCellGrid grid;
        grid.cells[{1, 1}] = u"A";
        grid.cells[{2, 1}] = u"W-9";
        grid.cells[{1, 2}] = u"";
        grid.cells[{2, 2}] = u"B";
        return grid;
    };
    int pumps = 0;
    test::FakeCellGrid every = makeGrid();
    EXPECT_EQ(addToCells(every, CellRect{1, 1, 2, 2}, decimal(1), CellUndo::EveryCell, {[&] { ++pumps; }, {}}), 4);
    EXPECT_EQ(every.undo.size(), 4u);
    EXPECT_EQ(pumps, 1);
    EXPECT_EQ((every.cells[{2, 1}]), u"W-10");

    test::FakeCellGrid applied = makeGrid();
    EXPECT_EQ(addToCells(applied, CellRect{1, 1, 2, 2}, decimal(1), CellUndo::AppliedCells), 1);
    ASSERT_EQ(applied.undo.size(), 1u);
    EXPECT_EQ(applied.undo[0].second, u"W-9");
    EXPECT_EQ((applied.cells[{2, 1}]), u"W-10");

    test::FakeCellGrid none = makeGrid();
    EXPECT_EQ(addToCells(none, CellRect{1, 1, 1, 2}, decimal(1), CellUndo::AppliedCells), 1);
    EXPECT_TRUE(none.undo.empty());
    EXPECT_FALSE(addToCells(none, CellRect{1, 1, 2, 2}, decimal(0), CellUndo::EveryCell).has_value());
    EXPECT_TRUE(none.undo.empty());
}

}  // namespace
}  // namespace textops
