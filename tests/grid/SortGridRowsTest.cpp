#include "FakeCellGrid.h"

#include "grid/SortGridRows.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <utility>
#include <string>
#include <vector>

namespace grid::test {
namespace {

std::u16string decimal(int value)
{
    std::u16string text;
    for (char c : std::to_string(value))
        text += static_cast<char16_t>(c);
    return text;
}

// A German-style locale: comma decimal separator, dot grouping, leading minus.
std::optional<double> parseGerman(const std::u16string& text)
{
    std::string ascii;
    for (char16_t c : text) {
        if (c == u'.')
            continue;
        if (c > 127)
            return std::nullopt;
        ascii += c == u',' ? '.' : static_cast<char>(c);
    }
    if (ascii.empty())
        return std::nullopt;
    size_t used = 0;
    try {
        const double value = std::stod(ascii, &used);
        return used == ascii.size() ? std::optional<double>(value) : std::nullopt;
    } catch (...) {
        return std::nullopt;
    }
}

// Rows whose column 0 is the row number, column 1 the key and column 2 a second key; every
// cell object is 100 * row + column so that moved objects can be traced.
FakeCellGrid gridWith(const std::vector<std::u16string>& keys, const std::vector<std::u16string>& second = {})
{
    FakeCellGrid grid(3, static_cast<int>(keys.size()) + 1);
    for (size_t i = 0; i < keys.size(); ++i) {
        const int row = static_cast<int>(i) + 1;
        grid.setCellText(0, row, decimal(row));
        grid.setCellText(1, row, keys[i]);
        grid.setCellText(2, row, i < second.size() ? second[i] : u"");
        for (int col = 0; col < 3; ++col)
            grid.setCellObject(col, row, 100 * row + col);
    }
    grid.setCellText(1, 0, u"header");
    return grid;
}

TEST(SortGridRows, OrdersByKeyColumns)
{
    struct Case {
        const char* name;
        std::vector<std::u16string> keys;
        std::vector<std::u16string> second;
        int keyA, keyB;
        SortOrder order;
        std::vector<std::u16string> sorted;  // column 1 afterwards
    };
    const std::vector<Case> cases = {
        {"text order by code unit", {u"2", u"10", u"1", u"11"}, {}, 1, -1, SortOrder::Text, {u"1", u"10", u"11", u"2"}},
        {"upper case before lower, prefix first", {u"b", u"B", u"ab", u"a", u"", u"A"}, {}, 1, -1, SortOrder::Text,
         {u"", u"A", u"B", u"a", u"ab", u"b"}},
        {"code units, not code points or locale", {u"\uFF21", u"\U0001F600", u"\u3042", u"z"}, {}, 1, -1, SortOrder::Text,
         {u"z", u"\u3042", u"\U0001F600", u"\uFF21"}},
        {"numeric, a non-number counts as 0", {u"10", u"9", u"x", u"-1"}, {}, 1, -1, SortOrder::Numeric,
         {u"-1", u"x", u"9", u"10"}},
        {"numeric in the user's notation", {u"1.000,5", u"2,25", u"-0,5", u"1000"}, {}, 1, -1, SortOrder::Numeric,
         {u"-0,5", u"2,25", u"1000", u"1.000,5"}},
        {"two key columns joined", {u"a", u"a", u"b"}, {u"2", u"1", u"0"}, 1, 2, SortOrder::Text, {u"a", u"a", u"b"}},
        {"key column B alone", {u"x", u"y", u"z"}, {u"3", u"1", u"2"}, -1, 2, SortOrder::Text, {u"y", u"z", u"x"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeCellGrid grid = gridWith(c.keys, c.second);
        SortGridRows(grid, c.keyA, c.keyB, c.order, parseGerman);
        EXPECT_EQ(grid.column(1), c.sorted);
        EXPECT_EQ(grid.cellText(1, 0), u"header") << "the fixed row stays";
        // Every row moved as a whole: its number, its texts and its objects.
        for (int row = 1; row < grid.RowCount(); ++row) {
            const int from = grid.cellObject(0, row) / 100;
            EXPECT_EQ(grid.cellText(0, row), decimal(from));
            EXPECT_EQ(grid.cellText(1, row), c.keys[static_cast<size_t>(from - 1)]);
            for (int col = 0; col < 3; ++col)
                EXPECT_EQ(grid.cellObject(col, row), 100 * from + col);
        }
    }
}

TEST(SortGridRows, TwoKeysOrderWithinEqualFirstKeys)
{
    FakeCellGrid grid = gridWith({u"a", u"a", u"b"}, {u"2", u"1", u"0"});
    SortGridRows(grid, 1, 2, SortOrder::Text);
    EXPECT_EQ(grid.column(2), (std::vector<std::u16string>{u"1", u"2", u"0"}));
}

TEST(SortGridRows, RowNumbersInTextOrderGiveOneTenElevenTwelveTwo)
{
    std::vector<std::u16string> keys;
    for (int i = 12; i >= 1; --i)
        keys.push_back(u"k" + decimal(i));
    FakeCellGrid grid = gridWith(keys);
    SortGridRows(grid, 1, -1, SortOrder::Text);
    SortGridRows(grid, 0, -1, SortOrder::Text);
    EXPECT_EQ(grid.column(0), (std::vector<std::u16string>{u"1", u"10", u"11", u"12", u"2", u"3", u"4", u"5", u"6",
                                                           u"7", u"8", u"9"}));
}

TEST(SortGridRows, ExchangeSortLeavesItsOwnOrderAmongEqualKeys)
{
    // Equal keys are never swapped with each other, but a swap with a smaller key carries
    // one of them past the other: rows 1 and 2 both hold "b", row 3 holds "a".
    FakeCellGrid grid = gridWith({u"b", u"b", u"a"});
    SortGridRows(grid, 1, -1, SortOrder::Text);
    EXPECT_EQ(grid.column(0), (std::vector<std::u16string>{u"3", u"2", u"1"}));
}

TEST(SortGridRows, FewerThanTwoDataRowsAreLeftAlone)
{
    FakeCellGrid grid = gridWith({u"z"});
    grid.setCellText(1, 0, u"z2");
    SortGridRows(grid, 1, -1, SortOrder::Text);
    EXPECT_EQ(grid.cellText(1, 0), u"z2");
    EXPECT_EQ(grid.cellText(1, 1), u"z");
}

TEST(SortGridRows, NumericOrderNeedsAParser)
{
    FakeCellGrid grid = gridWith({u"2", u"1"});
    EXPECT_THROW(SortGridRows(grid, 1, -1, SortOrder::Numeric), std::invalid_argument);
}

// The exchange sort whose order users know, on the keys alone: the original row numbers in
// their sorted order. The oracle the fast sort must match exactly, ties included.
std::vector<std::u16string> exchangeSortedRows(const std::vector<std::u16string>& keys,
                                               const std::vector<std::u16string>& second, SortOrder order)
{
    struct Row {
        std::u16string text;
        double number;
        int original;
    };
    std::vector<Row> rows;
    for (size_t i = 0; i < keys.size(); ++i) {
        const std::u16string text = keys[i] + second[i];
        rows.push_back({text, order == SortOrder::Numeric ? parseGerman(text).value_or(0.0) : 0.0, static_cast<int>(i) + 1});
    }
    for (size_t i = 0; i + 1 < rows.size(); ++i)
        for (size_t j = i + 1; j < rows.size(); ++j)
            if (order == SortOrder::Text ? rows[i].text > rows[j].text : rows[i].number > rows[j].number)
                std::swap(rows[i], rows[j]);
    std::vector<std::u16string> result;
    for (const auto& row : rows)
        result.push_back(decimal(row.original));
    return result;
}

TEST(SortGridRows, GivesTheExchangeSortsPermutationOnRandomTies)
{
    // Few distinct keys, so most rows tie; "nan" reads as a number that equals nothing,
    // which the exchange sort never moves.
    const std::vector<std::u16string> texts = {u"", u"a", u"b", u"ab", u"B"};
    const std::vector<std::u16string> numbers = {u"1", u"2", u"x", u"-1", u"0,5", u"nan", u"1,0"};
    std::mt19937 random(20261210);
    for (int round = 0; round < 2000; ++round) {
        const auto order = round % 2 == 0 ? SortOrder::Text : SortOrder::Numeric;
        const auto& pool = order == SortOrder::Text ? texts : numbers;
        const size_t distinct = 1 + random() % pool.size();
        const size_t count = random() % (round < 1500 ? 12 : 90);
        const bool twoKeys = order == SortOrder::Text && random() % 2 == 0;
        std::vector<std::u16string> keys, second(count);
        for (size_t i = 0; i < count; ++i) {
            keys.push_back(pool[random() % distinct]);
            if (twoKeys)
                second[i] = pool[random() % distinct];
        }
        SCOPED_TRACE(::testing::Message() << "round " << round);
        FakeCellGrid grid = gridWith(keys, second);
        SortGridRows(grid, 1, twoKeys ? 2 : -1, order, parseGerman);
        ASSERT_EQ(grid.column(0), exchangeSortedRows(keys, second, order));
        // Whole rows moved: the key and the objects came along with the row number.
        for (int row = 1; row < grid.RowCount(); ++row) {
            const int from = grid.cellObject(0, row) / 100;
            ASSERT_EQ(grid.cellText(0, row), decimal(from));
            ASSERT_EQ(grid.cellText(1, row), keys[static_cast<size_t>(from - 1)]);
            ASSERT_EQ(grid.cellObject(2, row), 100 * from + 2);
        }
    }
}

}  // namespace
}  // namespace grid::test
