#include "kelvocad/model/WildcardPattern.h"

#include "common/Utf.h"

#include <gtest/gtest.h>

namespace kelvocad {
namespace {

struct WildcardCase {
    std::u16string pattern;
    std::u16string text;
    bool matches;
    LetterCase letterCase = LetterCase::Sensitive;
};

void PrintTo(const WildcardCase& c, std::ostream* os)
{
    *os << "\"" << common::toUtf8(c.pattern) << "\" ~ \"" << common::toUtf8(c.text) << "\"";
}

class WildcardPatternTest : public ::testing::TestWithParam<WildcardCase> {};

TEST_P(WildcardPatternTest, Matches)
{
    const auto& c = GetParam();
    EXPECT_EQ(WildcardPattern::matches(c.pattern, c.text, c.letterCase), c.matches);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WildcardPatternTest,
    ::testing::Values(
        // star and question mark
        WildcardCase{u"*", u"", true}, WildcardCase{u"*", u"W-01", true}, WildcardCase{u"W-0?", u"W-01", true},
        WildcardCase{u"W-0?", u"W-010", false}, WildcardCase{u"?", u"", false}, WildcardCase{u"", u"", true},
        WildcardCase{u"", u"A", false}, WildcardCase{u"a**b", u"ab", true}, WildcardCase{u"*W-01*", u"配線W-01番", true},
        WildcardCase{u"*a*a*b", u"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", false},
        WildcardCase{u"*01", u"W-01-01", true}, WildcardCase{u"W*1", u"W-12", false},
        // digit, letter, non-alphanumeric
        WildcardCase{u"W-##", u"W-07", true}, WildcardCase{u"W-##", u"W-0A", false}, WildcardCase{u"@@@", u"abc", true},
        WildcardCase{u"@", u"1", false}, WildcardCase{u"@", u"電", true}, WildcardCase{u"#", u"１", false},
        WildcardCase{u"X.Y", u"X-Y", true}, WildcardCase{u"X.Y", u"XAY", false}, WildcardCase{u"X.Y", u"X5Y", false},
        WildcardCase{u"A.B", u"A　B", true},
        // negation at the start
        WildcardCase{u"~W*", u"X1", true}, WildcardCase{u"~W*", u"W1", false}, WildcardCase{u"~", u"x", true},
        WildcardCase{u"~", u"", false}, WildcardCase{u"A~", u"A~", true},
        // bracketed sets
        WildcardCase{u"[AB]1", u"B1", true}, WildcardCase{u"[AB]1", u"C1", false}, WildcardCase{u"[A-C]#", u"B7", true},
        WildcardCase{u"[A-C]#", u"D7", false}, WildcardCase{u"[~AB]1", u"C1", true}, WildcardCase{u"[~AB]1", u"A1", false},
        WildcardCase{u"[~AB]1", u"1", false}, WildcardCase{u"[]]", u"]", true}, WildcardCase{u"[AB", u"[AB", true},
        WildcardCase{u"[AB", u"A", false}, WildcardCase{u"[~]", u"~", true}, WildcardCase{u"[*]", u"*", true},
        WildcardCase{u"[*]", u"A", false},
        // escape
        WildcardCase{u"`*", u"*", true}, WildcardCase{u"`*", u"A", false}, WildcardCase{u"`#1", u"#1", true},
        WildcardCase{u"`#1", u"51", false}, WildcardCase{u"`~A", u"~A", true}, WildcardCase{u"`~A", u"B", false},
        WildcardCase{u"A`", u"A`", true},
        // comma alternatives, each with its own negation
        WildcardCase{u"A*,B*", u"BX", true}, WildcardCase{u"A*,B*", u"CX", false}, WildcardCase{u"`,", u",", true},
        WildcardCase{u"A`,B", u"A,B", true}, WildcardCase{u"[,]", u",", true}, WildcardCase{u"X,~Y*", u"Z", true},
        WildcardCase{u"X,~Y*", u"Y1", false}, WildcardCase{u"A,", u"", true},
        // letter case
        WildcardCase{u"abc", u"ABC", false}, WildcardCase{u"abc", u"ABC", true, LetterCase::Insensitive},
        WildcardCase{u"[a-c]", u"B", true, LetterCase::Insensitive}, WildcardCase{u"[a-c]", u"B", false},
        WildcardCase{u"ａ", u"Ａ", false, LetterCase::Insensitive}));

}  // namespace
}  // namespace kelvocad
