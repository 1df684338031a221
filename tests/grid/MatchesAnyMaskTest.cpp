#include "grid/MatchesAnyMask.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace grid::test {
namespace {

TEST(MatchesAnyMask, FileNameWildcards)
{
    struct Case {
        std::u16string name;
        std::u16string masks;
        bool matches;
    };
    const std::vector<Case> cases = {
        {u"PUMP1", u"*", true},
        {u"", u"*", true},
        {u"PUMP1", u"PUMP*", true},
        {u"PUMP", u"PUMP*", true},
        {u"XPUMP", u"PUMP*", false},
        {u"pump_a", u"PUMP*", true},
        {u"PUMP1", u"P?MP1", true},
        {u"PMP1", u"P?MP1", false},
        {u"PUMP12", u"PUMP?", false},
        {u"AXXBXXC", u"A*B*C", true},
        {u"AXXBXX", u"A*B*C", false},
        {u"ABCBC", u"*BC", true},
        {u"MOTOR", u"PUMP*,MOT*", true},
        {u"VALVE", u"PUMP*,MOT*", false},
        {u"VALVE", u"PUMP*,", false},
        {u"", u"PUMP*,", true},
        {u" PUMP", u"PUMP*, PUMP", true},
        {u"B2", u"[a-c]2", true},
        {u"d2", u"[a-c]2", false},
        {u"y", u"[xyz]", true},
        {u"Y", u"[xyz]", true},
        {u"w", u"[!xyz]", true},
        {u"x", u"[!xyz]", false},
        {u"-", u"[a-]", true},
        {u"5", u"[0-35-9]", true},
        {u"4", u"[0-35-9]", false},
        {u"機器A", u"機器?", true},
        {u"機械A", u"機器*", false},
        {u"Ａ", u"ａ", false},
        {u"PUMP", u"", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << testing::PrintToString(c.name) << " ~ " << testing::PrintToString(c.masks));
        EXPECT_EQ(MatchesAnyMask(c.name, c.masks), c.matches);
    }
}

TEST(MatchesAnyMask, MalformedMasksAreErrors)
{
    const std::vector<std::u16string> masks = {
        u"[abc", u"PUMP[", u"[!", u"[-z]", u"A,[b", u"*******************************",  // 31 stars
    };
    for (const auto& mask : masks) {
        SCOPED_TRACE(testing::PrintToString(mask));
        EXPECT_THROW(MatchesAnyMask(u"zzz", mask), MaskError);
    }
    EXPECT_NO_THROW(MatchesAnyMask(u"zzz", std::u16string(30, u'*')));
}

}  // namespace
}  // namespace grid::test
