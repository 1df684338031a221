#include "textops/DigitArithmetic.h"

#include <algorithm>
#include <vector>

namespace textops {

namespace {

// Digit values, least significant first, without leading zeros (zero is empty).
using Magnitude = std::vector<unsigned>;

unsigned digitValue(char16_t c) noexcept
{
    if (c >= u'0' && c <= u'9')
        return static_cast<unsigned>(c - u'0');
    if (c >= u'A' && c <= u'F')
        return static_cast<unsigned>(c - u'A' + 10);
    if (c >= u'a' && c <= u'f')
        return static_cast<unsigned>(c - u'a' + 10);
    return 99;
}

void trim(Magnitude& m)
{
    while (!m.empty() && m.back() == 0)
        m.pop_back();
}

Magnitude magnitudeOf(std::u16string_view digits)
{
    Magnitude m;
    m.reserve(digits.size());
    for (auto it = digits.rbegin(); it != digits.rend(); ++it)
        m.push_back(digitValue(*it));
    trim(m);
    return m;
}

Magnitude magnitudeOf(std::uint64_t value, unsigned base)
{
    Magnitude m;
    while (value != 0) {
        m.push_back(static_cast<unsigned>(value % base));
        value /= base;
    }
    return m;
}

int compare(const Magnitude& a, const Magnitude& b)
{
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    for (size_t i = a.size(); i-- > 0;)
        if (a[i] != b[i])
            return a[i] < b[i] ? -1 : 1;
    return 0;
}

Magnitude add(const Magnitude& a, const Magnitude& b, unsigned base)
{
    Magnitude sum;
    sum.reserve(std::max(a.size(), b.size()) + 1);
    unsigned carry = 0;
    for (size_t i = 0; i < std::max(a.size(), b.size()); ++i) {
        unsigned d = carry + (i < a.size() ? a[i] : 0) + (i < b.size() ? b[i] : 0);
        carry = d / base;
        sum.push_back(d % base);
    }
    if (carry != 0)
        sum.push_back(carry);
    return sum;
}

// a - b for a >= b.
Magnitude subtract(const Magnitude& a, const Magnitude& b, unsigned base)
{
    Magnitude difference;
    difference.reserve(a.size());
    unsigned borrow = 0;
    for (size_t i = 0; i < a.size(); ++i) {
        const unsigned subtrahend = (i < b.size() ? b[i] : 0) + borrow;
        if (a[i] >= subtrahend) {
            difference.push_back(a[i] - subtrahend);
            borrow = 0;
        } else {
            difference.push_back(a[i] + base - subtrahend);
            borrow = 1;
        }
    }
    trim(difference);
    return difference;
}

DigitNumber toNumber(const Magnitude& m, bool negative)
{
    static constexpr char16_t symbols[] = u"0123456789ABCDEF";
    DigitNumber number;
    number.negative = negative && !m.empty();
    if (m.empty()) {
        number.digits = u"0";
        return number;
    }
    number.digits.reserve(m.size());
    for (auto it = m.rbegin(); it != m.rend(); ++it)
        number.digits.push_back(symbols[*it]);
    return number;
}

std::uint64_t absoluteValue(std::int64_t value) noexcept
{
    // Negating in unsigned arithmetic keeps the lowest value representable.
    return value < 0 ? ~static_cast<std::uint64_t>(value) + 1 : static_cast<std::uint64_t>(value);
}

}  // namespace

bool isDigitOf(char16_t c, Radix radix) noexcept
{
    return digitValue(c) < static_cast<unsigned>(radix);
}

DigitNumber addToDigits(std::u16string_view digits, bool negative, Radix radix, std::int64_t addend)
{
    const auto base = static_cast<unsigned>(radix);
    const Magnitude a = magnitudeOf(digits);
    const Magnitude b = magnitudeOf(absoluteValue(addend), base);
    const bool addendNegative = addend < 0;
    if (negative == addendNegative || b.empty())
        return toNumber(add(a, b, base), negative);
    if (compare(a, b) >= 0)
        return toNumber(subtract(a, b, base), negative);
    return toNumber(subtract(b, a, base), addendNegative);
}

DigitNumber digitsOf(std::int64_t value, Radix radix)
{
    return toNumber(magnitudeOf(absoluteValue(value), static_cast<unsigned>(radix)), value < 0);
}

std::u16string formatDigits(const DigitNumber& number, std::size_t width)
{
    std::u16string text;
    const size_t signWidth = number.negative ? 1 : 0;
    if (number.negative)
        text.push_back(u'-');
    if (number.digits.size() + signWidth < width)
        text.append(width - signWidth - number.digits.size(), u'0');
    text += number.digits;
    return text;
}

}  // namespace textops
