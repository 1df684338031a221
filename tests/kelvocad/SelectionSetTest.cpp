#include "CadTestSupport.h"

#include <algorithm>

namespace kelvocad::test {
namespace {

using SelectionSetTest = CadFixture;

// The work-set lookup every acquisition performs: reuse a set named SSTEMP in any letter
// case after clearing it, else add one.
ObjectRef acquireWorkSet(const ObjectRef& doc)
{
    auto sets = doc->get(u"SelectionSets").toObject();
    const int n = sets->get(u"Count").toInt();
    for (int i = 0; i < n; ++i) {
        auto set = sets->call(u"Item", {Variant(i)}).toObject();
        std::u16string name = set->get(u"Name").toString();
        std::transform(name.begin(), name.end(), name.begin(),
                       [](char16_t c) { return c >= u'a' && c <= u'z' ? char16_t(c - 32) : c; });
        if (name == u"SSTEMP") {
            set->call(u"Clear", {});
            return set;
        }
    }
    return sets->call(u"Add", {Variant(u"SSTEMP")}).toObject();
}

TEST_F(SelectionSetTest, WorkSetIsFoundInAnyLetterCase)
{
    auto old = addSet(u"ssTemp");
    old->call(u"Select", {Variant(5)});
    ASSERT_GT(old->get(u"Count").toInt(), 0);

    auto set = acquireWorkSet(doc);
    EXPECT_EQ(set->get(u"Name").toString(), u"ssTemp");
    EXPECT_EQ(set->get(u"Count").toInt(), 0);
    EXPECT_EQ(doc->get(u"SelectionSets").toObject()->get(u"Count").toInt(), 1);
    // A second set of that name is refused, whatever its letter case.
    EXPECT_EQ(errorOf([&] { addSet(u"SSTEMP"); }), hr::Exception);
}

TEST_F(SelectionSetTest, DeleteRemovesTheSetAndDisablesItsObject)
{
    auto set = acquireWorkSet(doc);
    auto sameSet = doc->get(u"SelectionSets").toObject()->call(u"Item", {Variant(u"sstemp")}).toObject();
    set->call(u"Delete", {});
    EXPECT_EQ(doc->get(u"SelectionSets").toObject()->get(u"Count").toInt(), 0);
    EXPECT_EQ(errorOf([&] { set->get(u"Count"); }), hr::Exception);
    EXPECT_EQ(errorOf([&] { sameSet->call(u"Clear", {}); }), hr::Exception);
    // The name is free again.
    EXPECT_NO_THROW(acquireWorkSet(doc));
}

TEST_F(SelectionSetTest, ItemOutOfRange)
{
    auto set = addSet(u"SSTEMP");
    picker().nextPickReturns({textHandle(u"W-01"), textHandle(u"W-02")});
    set->call(u"SelectOnScreen", {});
    for (int i : {-1, 2, 1000})
        EXPECT_EQ(errorOf([&] { set->call(u"Item", {Variant(i)}); }), hr::BadIndex) << i;
    EXPECT_EQ(errorOf([&] { doc->get(u"SelectionSets").toObject()->call(u"Item", {Variant(1)}); }), hr::BadIndex);
    EXPECT_EQ(errorOf([&] { set->call(u"Item", {Variant(u"one")}); }), hr::TypeMismatch);
}

TEST_F(SelectionSetTest, ScriptedPickHonoursTheFilter)
{
    auto set = addSet(u"SSTEMP");
    const auto wire = textHandle(u"W-03"), caption = textHandle(u"運転");
    const auto reference = blockReferenceHandles(u"PLC_IO")[0];
    picker().nextPickReturns({reference, wire, caption, wire, u"FFFFFF"});
    set->call(u"SelectOnScreen", {Variant::int16Array({0}), Variant::variantArray({Variant(u"TEXT")})});
    // In pick order, each once; the INSERT and the unknown handle are left out.
    EXPECT_EQ(handlesIn(set), (std::vector<std::u16string>{wire, caption}));

    set->call(u"Clear", {});
    EXPECT_EQ(set->get(u"Count").toInt(), 0);
    // Clicking an attribute picks its block reference.
    const auto attribute = drawing().findBlockReference(reference)->attributes[1].handle;
    picker().nextPickReturns({wire, attribute});
    set->call(u"SelectOnScreen", {Variant::int16Array({0, 2, 66}),
                                  Variant::variantArray({Variant(u"INSERT"), Variant(u"*"), Variant(int16_t{1})})});
    EXPECT_EQ(handlesIn(set), (std::vector<std::u16string>{reference}));
}

TEST_F(SelectionSetTest, CancelledPickFailsAndSelectsNothing)
{
    auto set = addSet(u"SSTEMP");
    set->call(u"Clear", {});
    picker().nextPickIsCancelled();
    EXPECT_EQ(errorOf([&] { set->call(u"SelectOnScreen", {}); }), hr::Exception);
    EXPECT_EQ(set->get(u"Count").toInt(), 0);
    // Without a planned pick the user ended the pick choosing nothing.
    EXPECT_NO_THROW(set->call(u"SelectOnScreen", {}));
    EXPECT_EQ(picker().pickCount(), 2);
}

TEST_F(SelectionSetTest, SelectAllWithFilter)
{
    struct Case {
        const char* name;
        std::vector<int16_t> types;
        std::vector<Variant> values;
        int count;
    } cases[] = {
        {"every TEXT", {0}, {Variant(u"TEXT")}, 46},
        {"every INSERT with attributes", {0, 2, 66}, {Variant(u"INSERT"), Variant(u"*"), Variant(int16_t{1})}, 10},
        {"block mask, any letter case", {0, 2, 66}, {Variant(u"INSERT"), Variant(u"plc_*"), Variant(int16_t{1})}, 4},
        {"wire numbers", {0, 1}, {Variant(u"TEXT"), Variant(u"W-*")}, 10},
        {"wire numbers by digits", {0, 1}, {Variant(u"TEXT"), Variant(u"W-##")}, 10},
        {"upper-case search", {0, 1}, {Variant(u"TEXT"), Variant(u"*MOTOR*")}, 1},
        {"lower-case search", {0, 1}, {Variant(u"TEXT"), Variant(u"*motor*")}, 0},
        {"japanese part", {0, 1}, {Variant(u"TEXT"), Variant(u"*停止*")}, 2},
        {"octal addresses", {0, 1}, {Variant(u"TEXT"), Variant(u"Y[0-7][0-7][0-7]")}, 10},
        {"decimal-looking addresses", {0, 1}, {Variant(u"TEXT"), Variant(u"[XY]###")}, 11},
        {"not an address", {0, 1}, {Variant(u"TEXT"), Variant(u"~[XY]*")}, 46 - 20},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto set = acquireWorkSet(doc);
        set->call(u"Select", {Variant(5), Variant::omitted(), Variant::omitted(), Variant::int16Array(c.types),
                              Variant::variantArray(c.values)});
        EXPECT_EQ(set->get(u"Count").toInt(), c.count);
    }
}

TEST_F(SelectionSetTest, SelectWithoutFilterTakesTheWholeDrawing)
{
    auto set = addSet(u"ALL");
    set->call(u"Select", {Variant(5)});
    EXPECT_EQ(set->get(u"Count").toInt(), static_cast<int>(drawing().entities().size()));
    EXPECT_EQ(errorOf([&] { set->call(u"Select", {Variant(0), Variant::point(0, 0), Variant::point(9, 9)}); }),
              hr::InvalidArg);
}

TEST_F(SelectionSetTest, ItemOfAnEntityErasedAfterSelectionFails)
{
    auto set = addSet(u"SSTEMP");
    const auto wire = textHandle(u"W-05");
    picker().nextPickReturns({wire});
    set->call(u"SelectOnScreen", {});
    drawing().erase(wire);
    EXPECT_EQ(set->get(u"Count").toInt(), 1);
    EXPECT_EQ(errorOf([&] { set->call(u"Item", {Variant(0)}); }), hr::Exception);
}

}  // namespace
}  // namespace kelvocad::test
