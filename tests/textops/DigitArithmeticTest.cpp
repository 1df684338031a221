#include "textops/DigitArithmetic.h"

#include <gtest/gtest.h>

#include <limits>

namespace textops {
namespace {

TEST(AddToDigits, IsExactWhateverTheLength)
{
    struct Case {
        std::u16string digits;
        bool negative;
        Radix radix;
        std::int64_t addend;
        DigitNumber expected;
    };
    const Case cases[] = {
        {u"099", false, Radix::Decimal, 1, {false, u"100"}},
        {u"12345678901", false, Radix::Decimal, 1, {false, u"12345678902"}},
        {u"99999999999999999999", false, Radix::Decimal, 1, {false, u"100000000000000000000"}},
        {u"2147483647", false, Radix::Decimal, 1, {false, u"2147483648"}},
        {u"100000000000000000000", false, Radix::Decimal, -1, {false, u"99999999999999999999"}},
        {u"5", false, Radix::Decimal, -7, {true, u"2"}},
        {u"5", true, Radix::Decimal, 3, {true, u"2"}},
        {u"5", true, Radix::Decimal, 5, {false, u"0"}},
        {u"5", true, Radix::Decimal, -5, {true, u"10"}},
        {u"000", false, Radix::Decimal, 0, {false, u"0"}},
        {u"", false, Radix::Decimal, 0, {false, u"0"}},
        {u"ff", false, Radix::Hexadecimal, 1, {false, u"100"}},
        {u"FFFFFFFF", false, Radix::Hexadecimal, 1, {false, u"100000000"}},
        {u"0e", false, Radix::Hexadecimal, 2, {false, u"10"}},
        {u"7", false, Radix::Octal, 1, {false, u"10"}},
        {u"0", false, Radix::Octal, -8, {true, u"10"}},
        {u"0", false, Radix::Decimal, std::numeric_limits<std::int64_t>::min(), {true, u"9223372036854775808"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.digits) + " + " + std::to_string(c.addend));
        EXPECT_EQ(addToDigits(c.digits, c.negative, c.radix, c.addend), c.expected);
    }
}

TEST(FormatDigits, FillsWithZerosAndKeepsTheSignFirst)
{
    EXPECT_EQ(formatDigits({false, u"8"}, 3), u"008");
    EXPECT_EQ(formatDigits({false, u"100"}, 2), u"100");
    EXPECT_EQ(formatDigits({false, u"0"}, 0), u"0");
    EXPECT_EQ(formatDigits({true, u"4"}, 3), u"-04");
    EXPECT_EQ(formatDigits({true, u"4"}, 1), u"-4");
    EXPECT_EQ(formatDigits({true, u"123"}, 2), u"-123");
    EXPECT_EQ(digitsOf(-255, Radix::Hexadecimal), (DigitNumber{true, u"FF"}));
}

}  // namespace
}  // namespace textops
