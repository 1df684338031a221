#include "textops/Numbering.h"

#include "textops/FakeCellGrid.h"
#include "textops/InvalidNumberError.h"
#include "textops/TooManyItemsError.h"

#include <gtest/gtest.h>

namespace textops {
namespace {

using Lines = std::vector<std::u16string>;

NumberingFields fields(std::u16string prefix, std::u16string start, std::u16string suffix, std::u16string count,
                       std::u16string step = u"1", Radix radix = Radix::Decimal)
{
    return NumberingFields{std::move(prefix), std::move(start), std::move(suffix), std::move(count), std::move(step),
                           radix};
}

TEST(NumberingRun, GeneratesTheRun)
{
    struct Case { const char* name; NumberingFields fields; Lines items; };
    const Case cases[] = {
        {"prefix", fields(u"W-", u"01", u"", u"3"), {u"W-01", u"W-02", u"W-03"}},
        {"step", fields(u"", u"8", u"", u"3", u"2"), {u"8", u"10", u"12"}},
        {"widens", fields(u"", u"098", u"", u"3"), {u"098", u"099", u"100"}},
        {"hex", fields(u"", u"0e", u"", u"3", u"1", Radix::Hexadecimal), {u"0E", u"0F", u"10"}},
        {"octal", fields(u"", u"06", u"", u"3", u"1", Radix::Octal), {u"06", u"07", u"10"}},
        {"fixed", fields(u"ab", u"", u"-x", u"2"), {u"AB-X", u"AB-X"}},
        {"upper", fields(u"ｗa-", u"1", u"b", u"2"), {u"ｗA-1B", u"ｗA-2B"}},
        {"notANumberStartsAt1", fields(u"", u"AB", u"", u"2"), {u"01", u"02"}},
        {"countNotANumber", fields(u"", u"5", u"", u""), {u"5"}},
        {"stepNotANumber", fields(u"", u"5", u"", u"2", u"x"), {u"5", u"6"}},
        {"negativeStep", fields(u"", u"02", u"", u"4", u"-1"), {u"02", u"01", u"00", u"-1"}},
        {"beyond32Bits", fields(u"", u"99999999999", u"", u"2"), {u"99999999999", u"100000000000"}},
        {"hexStep", fields(u"", u"FE", u"", u"2", u"$10", Radix::Hexadecimal), {u"FE", u"10E"}},
        {"zeroCount", fields(u"", u"1", u"", u"0"), {}},
        {"negativeCount", fields(u"", u"1", u"", u"-3"), {}},
        {"startAfterBlanks", fields(u"", u" 5", u"", u"2"), {u"05", u"06"}},
        {"startInDollarHex", fields(u"", u"$A", u"", u"2"), {u"10", u"11"}},
        {"startIn0xHex", fields(u"", u"0x0A", u"", u"2"), {u"0010", u"0011"}},
        {"startWithSign", fields(u"", u"+7", u"", u"2"), {u"07", u"08"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(NumberingRun(c.fields).itemsForEditor(), c.items);
    }
}

TEST(NumberingRun, ThreeDigitRunKeepsItsWidth)
{
    const Lines items = NumberingRun(fields(u"", u"000", u"", u"12")).itemsForEditor();
    ASSERT_EQ(items.size(), 12u);
    EXPECT_EQ(items.front(), u"000");
    EXPECT_EQ(items.back(), u"011");
}

TEST(NumberingRun, OctalStartWithAnotherCharacterIsRefused)
{
    for (const std::u16string start : {u"19", u"8", u"1a", u"-1"}) {
        SCOPED_TRACE(testing::PrintToString(start));
        EXPECT_THROW(NumberingRun(fields(u"", start, u"", u"3", u"1", Radix::Octal)), InvalidNumberError);
        EXPECT_THROW(numberingPreview(fields(u"", start, u"", u"3", u"1", Radix::Octal)), InvalidNumberError);
    }
}

TEST(NumberingRun, ACountTheEditorCannotHoldIsRefused)
{
    struct Case { std::u16string count; std::u16string requested; };
    const Case cases[] = {
        {u"1000001", u"1000001"},
        {u"2147483647", u"2147483647"},
        {u"99999999999", u"99999999999"},
        {u"000099999999999999999999", u"99999999999999999999"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.count));
        try {
            NumberingRun(fields(u"W", u"1", u"", c.count)).itemsForEditor();
            FAIL() << "no error";
        } catch (const TooManyItemsError& e) {
            EXPECT_EQ(e.requested(), c.requested);
            EXPECT_EQ(e.limit(), maxNumberingLines);
            EXPECT_NE(e.message().find(u"1000000"), std::u16string::npos);
        }
    }
    EXPECT_THROW(NumberingRun(fields(u"W", u"", u"", u"1000001")).itemsForEditor(), TooManyItemsError);
}

TEST(NumberingPreview, ShowsTheFirstAndLastText)
{
    struct Case { const char* name; NumberingFields fields; std::u16string text; };
    const Case cases[] = {
        {"decimal", fields(u"w-", u"01", u"", u"16"), u"[ W-01 ] ～ [ W-16 ]"},
        {"hex", fields(u"", u"0e", u"h", u"3", u"1", Radix::Hexadecimal), u"[ 0EH ] ～ [ 10H ]"},
        {"octal", fields(u"", u"06", u"", u"3", u"1", Radix::Octal), u"[ 06 ] ～ [ 10 ]"},
        {"step", fields(u"", u"8", u"", u"3", u"2"), u"[ 8 ] ～ [ 12 ]"},
        {"startNotANumberReadsZero", fields(u"", u"AB", u"", u"3"), u"[ AB ] ～ [ 02 ]"},
        {"decimalCountNotANumber", fields(u"", u"01", u"", u""), u"[ 01 ] ～ [ 00 ]"},
        {"hexCountNotANumber", fields(u"", u"0e", u"", u"", u"1", Radix::Hexadecimal), u"[ 0E ] ～ [ 0E ]"},
        {"longStart", fields(u"", u"99999999999", u"", u"2"), u"[ 99999999999 ] ～ [ 100000000000 ]"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const NumberingPreview preview = numberingPreview(c.fields);
        EXPECT_EQ(preview.StaticText1, c.text);
        EXPECT_TRUE(preview.stepEnabled);
        ASSERT_TRUE(preview.Label5Caption);
    }
    EXPECT_EQ(numberingPreview(fields(u"", u"7", u"", u"3", u"1", Radix::Octal)).Label5Caption, u" 8進");
}

TEST(NumberingPreview, ReadsTheStartAsTheGenerationDoes)
{
    EXPECT_EQ(numberingPreview(fields(u"", u" 5", u"", u"3")).StaticText1, u"[  5 ] ～ [ 07 ]");
    EXPECT_EQ(numberingPreview(fields(u"", u"$A", u"", u"3")).StaticText1, u"[ $A ] ～ [ 12 ]");
}

TEST(NumberingPreview, RefusesTheCountsTheGenerationRefuses)
{
    struct Case {
        std::u16string start;
        std::u16string count;
        NumberingTarget target;
        bool refused;
    };
    const Case cases[] = {
        {u"1", u"1000000", NumberingTarget::LineEditor, false},
        {u"1", u"1000001", NumberingTarget::LineEditor, true},
        {u"1", u"2147483647", NumberingTarget::LineEditor, true},
        {u"", u"1000001", NumberingTarget::LineEditor, true},
        {u"1", u"99999999999", NumberingTarget::LineEditor, true},
        // The grid takes as many items as its rows hold.
        {u"1", u"2147483647", NumberingTarget::Grid, false},
        {u"", u"2147483647", NumberingTarget::Grid, false},
        {u"1", u"99999999999", NumberingTarget::Grid, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.start + u" x " + c.count) +
                     (c.target == NumberingTarget::Grid ? " grid" : " editor"));
        const NumberingFields f = fields(u"W", c.start, u"", c.count);
        const std::u16string preview = numberingPreview(f, c.target).StaticText1;
        EXPECT_EQ(preview == TooManyItemsError(c.count, maxNumberingLines).message(), c.refused)
            << testing::PrintToString(preview);
        if (c.target == NumberingTarget::LineEditor && c.refused) {
            EXPECT_THROW(NumberingRun(f).itemsForEditor(), TooManyItemsError);
        }
    }
}

TEST(NumberingPreview, FixedTextShowsTheCountAndDisablesTheStep)
{
    const NumberingPreview preview = numberingPreview(fields(u"a", u"", u"b", u"5"));
    EXPECT_EQ(preview.StaticText1, u"[ AB ] x 5");
    EXPECT_FALSE(preview.stepEnabled);
    EXPECT_FALSE(preview.Label5Caption.has_value());
    EXPECT_EQ(numberingPreview(fields(u"a", u"", u"", u"x")).StaticText1, u"[ A ] x 0");
}

TEST(NumberingPreview, ACountTooLargeShowsTheRefusal)
{
    const NumberingPreview preview = numberingPreview(fields(u"", u"1", u"", u"99999999999"));
    EXPECT_NE(preview.StaticText1.find(u"99999999999"), std::u16string::npos);
    EXPECT_EQ(preview.StaticText1.find(u"～"), std::u16string::npos);
}

TEST(PlaceNumberingLines, InsertAboveTheSelectionStartOrAppend)
{
    Lines base;
    for (int i = 1; i <= 10; ++i)
        base.push_back(u"L" + std::u16string(1, static_cast<char16_t>(u'0' + i % 10)));
    const Lines items = {u"N1", u"N2"};

    Lines inserted = base;
    placeNumberingLines(inserted, items, NumberingMode::Insert, 4);
    ASSERT_EQ(inserted.size(), 12u);
    EXPECT_EQ(inserted[3], base[3]);
    EXPECT_EQ(inserted[4], u"N1");
    EXPECT_EQ(inserted[5], u"N2");
    EXPECT_EQ(inserted[6], base[4]);

    Lines appended = base;
    placeNumberingLines(appended, items, NumberingMode::Append, 4);
    EXPECT_EQ(appended[9], base[9]);
    EXPECT_EQ(appended[10], u"N1");
    EXPECT_EQ(appended[11], u"N2");

    Lines empty;
    placeNumberingLines(empty, items, NumberingMode::Insert, 0);
    EXPECT_EQ(empty, items);
}

TEST(NumberingRows, OneRowSelectedRunsToTheLastRow)
{
    const RowRange single = numberingRows(3, 3, 3, 10);
    EXPECT_EQ(single.first, 3);
    EXPECT_EQ(single.last, 10);
    const RowRange several = numberingRows(2, 4, 4, 10);
    EXPECT_EQ(several.first, 2);
    EXPECT_EQ(several.last, 4);
}

TEST(OverwriteNumberingCells, FillsTheRangeAndDropsTheRest)
{
    test::FakeCellGrid grid;
    grid.cells[{1, 3}] = u"old";
    EXPECT_EQ(overwriteNumberingCells(grid, NumberingRun(fields(u"W-", u"01", u"", u"16")), 1, RowRange{3, 10}), 8);
    ASSERT_EQ(grid.undo.size(), 8u);
    EXPECT_EQ(grid.undo[0].second, u"old");
    EXPECT_EQ((grid.cells[{1, 3}]), u"W-01");
    EXPECT_EQ((grid.cells[{1, 10}]), u"W-08");
    EXPECT_EQ(grid.cells.count({1, 11}), 0u);

    test::FakeCellGrid rows;
    EXPECT_EQ(overwriteNumberingCells(rows, NumberingRun(fields(u"", u"1", u"", u"16")), 0, RowRange{2, 4}), 3);

    // The grid never holds more than its range, so any count just fills it.
    test::FakeCellGrid huge;
    EXPECT_EQ(overwriteNumberingCells(huge, NumberingRun(fields(u"", u"1", u"", u"99999999999")), 0, RowRange{1, 5}), 5);

    test::FakeCellGrid none;
    EXPECT_EQ(overwriteNumberingCells(none, NumberingRun(fields(u"", u"1", u"", u"0")), 0, RowRange{1, 5}), 1);
    EXPECT_TRUE(none.undo.empty());
}

}  // namespace
}  // namespace textops
