#include "textops/NumberText.h"

#include "textops/InvalidNumberError.h"

#include <gtest/gtest.h>

#include <limits>

namespace textops {
namespace {

TEST(SplitNumber, FindsTheFirstOrLastRunOfTheTrimmedText)
{
    struct Case { std::u16string text; NumberPosition position; SplitNumberResult expected; };
    const Case cases[] = {
        {u"A-12B3", NumberPosition::Head, {u"A-", u"12", u"B3"}},
        {u"A-12B3", NumberPosition::Tail, {u"A-12B", u"3", u""}},
        {u"  x12 y ", NumberPosition::Tail, {u"x", u"12", u" y"}},
        {u"12", NumberPosition::Head, {u"", u"12", u""}},
        {u"１２3４", NumberPosition::Head, {u"１２", u"3", u"４"}},
        {u"\tW-001\r\n", NumberPosition::Head, {u"W-", u"001", u""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.text));
        EXPECT_EQ(SplitNumber(c.text, c.position), c.expected);
    }
    EXPECT_TRUE(SplitNumber(u" abc ", NumberPosition::Tail).number.empty());
    EXPECT_TRUE(SplitNumber(u"", NumberPosition::Head).number.empty());
}

TEST(DigitChecks, HexAndOctal)
{
    EXPECT_TRUE(IsHexDigits(u""));
    EXPECT_TRUE(IsHexDigits(u"09afAF"));
    EXPECT_FALSE(IsHexDigits(u"0G"));
    EXPECT_FALSE(IsHexDigits(u"０"));
    EXPECT_FALSE(IsHexDigits(u" 1"));
    EXPECT_TRUE(IsOctDigits(u""));
    EXPECT_TRUE(IsOctDigits(u"01234567"));
    EXPECT_FALSE(IsOctDigits(u"08"));
    EXPECT_FALSE(IsOctDigits(u"9"));
}

TEST(OctToInt, ReadsOctalAndRejectsEveryOtherCharacter)
{
    EXPECT_EQ(OctToInt(u""), 0);
    EXPECT_EQ(OctToInt(u"17"), 15);
    EXPECT_EQ(OctToInt(u"0777"), 511);
    EXPECT_EQ(OctToInt(u"777777777777777777777"), std::numeric_limits<std::int64_t>::max());
    for (const std::u16string bad : {u"19", u"8", u"1a", u"-1", u"1 "}) {
        SCOPED_TRACE(testing::PrintToString(bad));
        EXPECT_THROW(OctToInt(bad), InvalidNumberError);
    }
    try {
        OctToInt(u"129");
        FAIL();
    } catch (const InvalidNumberError& e) {
        EXPECT_EQ(e.offending(), u"9");
        EXPECT_STREQ(e.what(), "'9' is not a valid integer value");
    }
    EXPECT_THROW(OctToInt(u"1000000000000000000000"), InvalidNumberError);
}

TEST(IntToOct, FillsToTheWidth)
{
    EXPECT_EQ(IntToOct(0, 0), u"");
    EXPECT_EQ(IntToOct(0, 2), u"00");
    EXPECT_EQ(IntToOct(8, 0), u"10");
    EXPECT_EQ(IntToOct(7, 3), u"007");
    EXPECT_EQ(IntToOct(64, 1), u"100");
    EXPECT_EQ(IntToOct(-8, 3), u"-10");
}

TEST(ReadInteger, ReadsLikeTheNumberBoxes)
{
    struct Case { std::u16string text; std::optional<std::int32_t> value; };
    const Case cases[] = {
        {u"1", 1}, {u"  -5", -5}, {u"+7", 7}, {u"$FF", 255}, {u"0x10", 16}, {u"-$10", -16},
        {u"$FFFFFFFF", -1}, {u"2147483647", 2147483647}, {u"-2147483648", std::numeric_limits<std::int32_t>::min()},
        {u"2147483648", std::nullopt}, {u"$100000000", std::nullopt}, {u"1 ", std::nullopt},
        {u"", std::nullopt}, {u"abc", std::nullopt}, {u"+", std::nullopt}, {u"$", std::nullopt},
        {u"0x", std::nullopt}, {u"１", std::nullopt}, {u"1.5", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.text));
        EXPECT_EQ(readInteger(c.text), c.value);
    }
}

}  // namespace
}  // namespace textops
