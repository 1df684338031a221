#include "kelvocad/model/SelectionFilter.h"

#include "automation/AutomationError.h"
#include "automation/Variant.h"

#include <gtest/gtest.h>

namespace kelvocad {
namespace {

using automation::Variant;

TextEntity text(std::u16string string, std::u16string layer = u"0")
{
    TextEntity t;
    t.string = std::move(string);
    t.layer = std::move(layer);
    return t;
}

BlockReference insert(std::u16string name, bool withAttributes)
{
    BlockReference r;
    r.name = std::move(name);
    if (withAttributes)
        r.attributes.push_back({u"1", u"SENBAN", u"W-01", {}, {}, 0, 2.5, u"0"});
    return r;
}

struct FilterCase {
    const char* name;
    std::vector<int16_t> types;
    std::vector<Variant> values;
    ModelEntity entity;
    bool matches;
};

TEST(SelectionFilter, MatchesByGroupCode)
{
    const FilterCase cases[] = {
        {"no filter takes everything", {}, {}, text(u"A"), true},
        {"type TEXT", {0}, {Variant(u"TEXT")}, text(u"A"), true},
        {"type TEXT refuses INSERT", {0}, {Variant(u"TEXT")}, insert(u"B", true), false},
        {"type in any letter case", {0}, {Variant(u"insert")}, insert(u"B", true), true},
        {"type alternatives", {0}, {Variant(u"MTEXT,TEXT")}, text(u"A"), true},
        {"text pattern", {0, 1}, {Variant(u"TEXT"), Variant(u"W-*")}, text(u"W-12"), true},
        {"text pattern is case-sensitive", {0, 1}, {Variant(u"TEXT"), Variant(u"W-*")}, text(u"w-12"), false},
        {"text pattern on an INSERT", {1}, {Variant(u"*")}, insert(u"B", true), false},
        {"japanese text", {1}, {Variant(u"*停止*")}, text(u"非常停止"), true},
        {"block name ignores case", {0, 2}, {Variant(u"INSERT"), Variant(u"plc*")}, insert(u"PLC_IO", true), true},
        {"block name mismatch", {2}, {Variant(u"DEV*")}, insert(u"PLC_IO", true), false},
        {"block name on a TEXT", {2}, {Variant(u"*")}, text(u"A"), false},
        {"attributes follow", {0, 2, 66}, {Variant(u"INSERT"), Variant(u"*"), Variant(int16_t{1})}, insert(u"X", true), true},
        {"no attributes", {0, 2, 66}, {Variant(u"INSERT"), Variant(u"*"), Variant(int16_t{1})}, insert(u"X", false), false},
        {"flag 0 takes the bare INSERT", {66}, {Variant(int16_t{0})}, insert(u"X", false), true},
        {"66 on a TEXT", {66}, {Variant(int16_t{1})}, text(u"A"), false},
        {"layer", {8}, {Variant(u"title*")}, text(u"A", u"TITLE BLOCK"), true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Variant types = c.types.empty() ? Variant::omitted() : Variant::int16Array(c.types);
        const Variant values = c.values.empty() ? Variant::omitted() : Variant::variantArray(c.values);
        EXPECT_EQ(SelectionFilter::fromVariants(types, values).matches(c.entity), c.matches);
    }
}

TEST(SelectionFilter, TypesMayComeAsVariantArray)
{
    const auto filter = SelectionFilter::fromVariants(Variant::variantArray({Variant(0)}),
                                                      Variant::variantArray({Variant(u"TEXT")}));
    EXPECT_TRUE(filter.matches(text(u"A")));
}

TEST(SelectionFilter, RejectsMalformedArrays)
{
    struct Case {
        const char* name;
        Variant types;
        Variant values;
        int32_t code;
    } cases[] = {
        {"lengths differ", Variant::int16Array({0, 1}), Variant::variantArray({Variant(u"TEXT")}),
         automation::hr::InvalidArg},
        {"unsupported group code", Variant::int16Array({62}), Variant::variantArray({Variant(1)}),
         automation::hr::InvalidArg},
        {"types only", Variant::int16Array({0}), Variant::omitted(), automation::hr::InvalidArg},
        {"not arrays", Variant(0), Variant(u"TEXT"), automation::hr::TypeMismatch},
        {"flag that is no number", Variant::int16Array({66}), Variant::variantArray({Variant(u"yes")}),
         automation::hr::TypeMismatch},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            (void)SelectionFilter::fromVariants(c.types, c.values);
            ADD_FAILURE() << "accepted";
        } catch (const automation::AutomationError& e) {
            EXPECT_EQ(e.code(), c.code);
        }
    }
}

}  // namespace
}  // namespace kelvocad
