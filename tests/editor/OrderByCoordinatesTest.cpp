#include "editor/records/OrderByCoordinates.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace editor {
namespace {

struct Placed {
    std::u16string name;
    double x;
    double y;
    double z = 0.0;
};

struct OrderCase {
    const char* title;
    int mode;
    std::vector<Placed> input;
    std::u16string expected;  // names in the resulting order
};

std::vector<Kelvo> records(const std::vector<Placed>& placed)
{
    std::vector<Kelvo> result;
    for (const auto& p : placed) {
        Kelvo k;
        k.text = p.name;
        k.insPt = automation::Variant::point(p.x, p.y, p.z);
        result.push_back(k);
    }
    return result;
}

std::u16string names(const std::vector<Kelvo>& ordered)
{
    std::u16string result;
    for (const auto& k : ordered)
        result += k.text;
    return result;
}

class OrderByCoordinatesCases : public ::testing::TestWithParam<OrderCase> {};

TEST_P(OrderByCoordinatesCases, GivesTheExchangeSortOrder)
{
    auto r = records(GetParam().input);
    OrderByCoordinates(r, GetParam().mode);
    EXPECT_EQ(names(r), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OrderByCoordinatesCases,
    ::testing::Values(
        OrderCase{"empty", 3, {}, u""},
        OrderCase{"single", 0, {{u"A", 5, 5}}, u"A"},
        // Equal keys are not stable: B overtakes A through the swap with C.
        OrderCase{"xTiesReverse", 0, {{u"A", 2, 0}, {u"B", 2, 0}, {u"C", 1, 0}}, u"CBA"},
        OrderCase{"yTiesReverse", 1, {{u"A", 0, 3}, {u"B", 0, 3}, {u"C", 0, 5}}, u"CBA"},
        OrderCase{"rowLeftToRight", 3, {{u"C", 30, 0}, {u"A", 10, 0}, {u"B", 20, 0}}, u"ABC"},
        OrderCase{"columnTopToBottom", 3, {{u"B", 0, 10}, {u"C", 0, 0}, {u"A", 0, 20}}, u"ABC"},
        // Wider than tall: X only, so the two rows interleave.
        OrderCase{"wideBlockByXOnly", 3,
                  {{u"a", 0, 10}, {u"b", 40, 10}, {u"c", 10, 0}, {u"d", 50, 0}}, u"acbd"},
        OrderCase{"allEqualPicksMode1AndKeepsOrder", 3, {{u"A", 1, 1}, {u"B", 1, 1}, {u"C", 1, 1}}, u"ABC"},
        OrderCase{"mode2KeepsOrder", 2, {{u"B", 9, 0}, {u"A", 1, 5}}, u"BA"},
        OrderCase{"negativeModeKeepsOrder", -1, {{u"B", 9, 0}, {u"A", 1, 5}}, u"BA"},
        OrderCase{"zIgnored", 1, {{u"A", 0, 1, -100}, {u"B", 0, 1, 100}}, u"AB"}),
    [](const auto& info) { return std::string(info.param.title); });

TEST(OrderByCoordinates, GridBlocksAreOrderedAndKeepEveryField)
{
    std::vector<nBlk> blocks(2);
    blocks[0].sHnd = u"1A";
    blocks[0].blkName = u"LOW";
    blocks[0].insPt = automation::Variant::point(0, 0);
    blocks[1].sHnd = u"1B";
    blocks[1].blkName = u"HIGH";
    blocks[1].insPt = automation::Variant::point(0, 50);
    OrderByCoordinates(blocks, 3);
    EXPECT_EQ(blocks[0].sHnd, u"1B");
    EXPECT_EQ(blocks[0].blkName, u"HIGH");
    EXPECT_EQ(blocks[1].blkName, u"LOW");
}

TEST(OrderByCoordinates, ARecordWithoutAPointLeavesTheOrderUntouched)
{
    // Every key is read before anything moves, so a failure cannot leave a half-sorted list.
    auto r = records({{u"A", 2, 0}, {u"B", 1, 0}, {u"C", 0, 0}});
    r[2].insPt = automation::Variant();
    for (int mode : {0, 1, 3}) {
        SCOPED_TRACE(mode);
        EXPECT_ANY_THROW(OrderByCoordinates(r, mode));
        EXPECT_EQ(names(r), u"ABC");
    }
}

// The exchange sort whose order users know, swap for swap: the oracle the fast ordering must
// match exactly, ties included.
std::vector<Kelvo> exchangeSorted(std::vector<Kelvo> records, int mode)
{
    if (records.size() < 2)
        return records;
    if (mode >= 3) {
        double minX = records[0].insPt.doubleAt(0), maxX = minX;
        double minY = records[0].insPt.doubleAt(1), maxY = minY;
        for (const auto& r : records) {
            const double x = r.insPt.doubleAt(0), y = r.insPt.doubleAt(1);
            minX = std::min(minX, x), maxX = std::max(maxX, x);
            minY = std::min(minY, y), maxY = std::max(maxY, y);
        }
        mode = (maxY - minY) >= (maxX - minX) ? 1 : 0;
    }
    if (mode != 0 && mode != 1)
        return records;
    const size_t axis = mode == 0 ? 0 : 1;
    // Keys travel with their records, so each comparison reads the same coordinates.
    std::vector<double> keys;
    for (const auto& r : records)
        keys.push_back(r.insPt.doubleAt(axis));
    for (size_t i = 0; i + 1 < records.size(); ++i) {
        for (size_t j = i + 1; j < records.size(); ++j) {
            if (mode == 0 ? keys[i] > keys[j] : keys[i] < keys[j]) {
                std::swap(keys[i], keys[j]);
                std::swap(records[i], records[j]);
            }
        }
    }
    return records;
}

// Each record named by its original index, one code unit each.
std::u16string indexNames(const std::vector<Kelvo>& ordered)
{
    std::u16string result;
    for (const auto& k : ordered)
        result += k.text;
    return result;
}

TEST(OrderByCoordinates, GivesTheExchangeSortsPermutationOnRandomTies)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    std::mt19937 random(20261210);
    for (int round = 0; round < 2500; ++round) {
        // Few distinct coordinates, so most keys tie; now and then a NaN, which the exchange
        // sort never moves.
        const size_t count = random() % (round < 2000 ? 14 : 120);
        const int distinct = 1 + static_cast<int>(random() % 5);
        const bool withNan = random() % 4 == 0;
        std::vector<Kelvo> input(count);
        for (size_t i = 0; i < count; ++i) {
            const auto coordinate = [&] {
                if (withNan && random() % 8 == 0)
                    return nan;
                return static_cast<double>(random() % distinct) * 2.5;
            };
            const double x = coordinate();
            const double y = coordinate();
            input[i].text = std::u16string(1, static_cast<char16_t>(u'0' + i));
            input[i].insPt = automation::Variant::point(x, y, 0.0);
        }
        for (int mode : {0, 1, 3, 4}) {
            SCOPED_TRACE(::testing::Message() << "round " << round << ", mode " << mode);
            auto fast = input;
            OrderByCoordinates(fast, mode);
            ASSERT_EQ(indexNames(fast), indexNames(exchangeSorted(input, mode)));
        }
    }
}

TEST(OrderByCoordinates, RowsOfTextsSharingTheirYAreOrderedLikeTheExchangeSort)
{
    // A drawing's table: rows of texts on one Y each, picked in a scattered order.
    std::mt19937 random(7);
    std::vector<Kelvo> input;
    for (int i = 0; i < 600; ++i) {
        Kelvo k;
        k.text = std::u16string(1, static_cast<char16_t>(0x4E00 + i));
        k.insPt = automation::Variant::point(static_cast<double>(random() % 9) * 20.0,
                                             -static_cast<double>(random() % 40) * 5.0, 0.0);
        input.push_back(k);
    }
    auto fast = input;
    OrderByCoordinates(fast, 3);
    EXPECT_EQ(indexNames(fast), indexNames(exchangeSorted(input, 3)));
}

}  // namespace
}  // namespace editor
