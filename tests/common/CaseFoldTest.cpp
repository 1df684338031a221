#include "common/CaseFold.h"

#include <gtest/gtest.h>

namespace {

TEST(CaseFold, ComparesIgnoringCaseBeyondAscii)
{
    struct Case {
        std::u16string a, b;
        int expected;
    };
    const Case cases[] = {
        {u"KelvoEdit", u"KELVOEDIT", 0},
        {u"progid", u"ProgID", 0},
        {u"ｆｕｌｌ", u"ＦＵＬＬ", 0},             // full-width Latin
        {u"é", u"É", 0},
        {u"a", u"B", -1},                       // not ordinal: 'a' > 'B' by code unit
        {u"_", u"a", 1},                        // compared upper-cased: '_' (U+005F) follows 'A'
        {u"_", u"\u00E0", -1},
        {u"abc", u"ab", 1},
        {u"", u"", 0},
        {u"図枠", u"機器", -1},                  // by code point
        {u"\U0001F600", u"\uFFFF", 1},          // a supplementary character sorts after the BMP
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        const Case& c = cases[i];
        const int result = common::compareIgnoringCase(c.a, c.b);
        EXPECT_EQ(result < 0 ? -1 : (result > 0 ? 1 : 0), c.expected);
        EXPECT_EQ(common::equalsIgnoringCase(c.a, c.b), c.expected == 0);
    }
}

}  // namespace
