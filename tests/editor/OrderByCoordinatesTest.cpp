#include "editor/OrderByCoordinates.h"

#include <gtest/gtest.h>

#include <string>
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

}  // namespace
}  // namespace editor
