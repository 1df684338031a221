#include "automation/AutomationError.h"
#include "automation/Variant.h"
#include "automation/Object.h"

#include <gtest/gtest.h>

using automation::AutomationError;
using automation::Variant;
namespace hr = automation::hr;

TEST(Variant, CoercesToIntegerWithBankersRounding)
{
    struct Case { Variant in; int32_t out; } cases[] = {
        {Variant(int16_t(-7)), -7}, {Variant(42), 42}, {Variant(2.5), 2}, {Variant(3.5), 4},
        {Variant(-2.5), -2}, {Variant(true), -1}, {Variant(u" 12 "), 12}, {Variant(), 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(static_cast<int>(c.in.type())));
        EXPECT_EQ(c.in.toInt(), c.out);
    }
}

TEST(Variant, RejectsWhatDoesNotConvert)
{
    const Variant bad[] = {Variant(u"W-01"), Variant::point(1, 2), Variant::omitted()};
    for (const auto& v : bad) {
        try {
            (void)v.toInt();
            ADD_FAILURE() << "converted";
        } catch (const AutomationError& e) {
            EXPECT_EQ(e.code(), hr::TypeMismatch);
        }
    }
    EXPECT_THROW((void)Variant(3.0e10).toInt(), AutomationError);
    EXPECT_THROW((void)Variant(40000).toInt16(), AutomationError);
}

TEST(Variant, PointArrayIsCopiedOnWrite)
{
    const Variant original = Variant::point(1.5, -2.0, 7.0);
    Variant moved = original;
    moved.setAt(0, Variant(10));
    EXPECT_DOUBLE_EQ(moved.doubleAt(0), 10.0);
    EXPECT_DOUBLE_EQ(moved.doubleAt(2), 7.0);
    EXPECT_DOUBLE_EQ(original.doubleAt(0), 1.5);
    EXPECT_EQ(moved.at(0).type(), automation::VariantType::Double);
    EXPECT_THROW((void)original.at(3), AutomationError);
}

TEST(Variant, Int16ArrayConvertsItsElements)
{
    Variant types = Variant::array(automation::ArrayType::Int16, {Variant(0), Variant(66.0)});
    EXPECT_EQ(types.at(1).type(), automation::VariantType::Int16);
    EXPECT_EQ(types.at(1).toInt(), 66);
    EXPECT_THROW(types.setAt(0, Variant(u"TEXT")), AutomationError);
}

namespace {
class Probe : public automation::Object {
public:
    Variant get(std::u16string_view, std::span<const Variant>) override { return {}; }
    void put(std::u16string_view, const Variant&, std::span<const Variant>) override {}
    Variant call(std::u16string_view, std::span<const Variant>) override { return {}; }
};
}  // namespace

TEST(Variant, HoldsAConcreteObjectClassAsObject)
{
    auto probe = std::make_shared<Probe>();
    const Variant v = probe;
    EXPECT_EQ(v.type(), automation::VariantType::Object);
    EXPECT_EQ(v.toObject().get(), probe.get());
    EXPECT_EQ(Variant(std::shared_ptr<Probe>()).toObject(), nullptr);
}
