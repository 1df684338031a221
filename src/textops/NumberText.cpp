#include "textops/NumberText.h"

#include "common/TextUtil.h"
#include "textops/DigitArithmetic.h"
#include "textops/InvalidNumberError.h"

#include <limits>

namespace textops {

namespace {

bool isAsciiDigit(char16_t c) noexcept
{
    return c >= u'0' && c <= u'9';
}

}  // namespace

SplitNumberResult SplitNumber(std::u16string_view text, NumberPosition position)
{
    const std::u16string_view t = common::trimControlAndSpace(text);
    size_t begin = 0;
    size_t end = 0;
    if (position == NumberPosition::Head) {
        while (begin < t.size() && !isAsciiDigit(t[begin]))
            ++begin;
        end = begin;
        while (end < t.size() && isAsciiDigit(t[end]))
            ++end;
    } else {
        end = t.size();
        while (end > 0 && !isAsciiDigit(t[end - 1]))
            --end;
        begin = end;
        while (begin > 0 && isAsciiDigit(t[begin - 1]))
            --begin;
    }
    if (begin == end)
        return {std::u16string(t), {}, {}};
    return {std::u16string(t.substr(0, begin)), std::u16string(t.substr(begin, end - begin)),
            std::u16string(t.substr(end))};
}

bool IsHexDigits(std::u16string_view text) noexcept
{
    for (char16_t c : text)
        if (!isDigitOf(c, Radix::Hexadecimal))
            return false;
    return true;
}

bool IsOctDigits(std::u16string_view text) noexcept
{
    for (char16_t c : text)
        if (!isDigitOf(c, Radix::Octal))
            return false;
    return true;
}

std::int64_t OctToInt(std::u16string_view text)
{
    std::int64_t value = 0;
    for (char16_t c : text) {
        if (!isDigitOf(c, Radix::Octal))
            throw InvalidNumberError(std::u16string(1, c));
        if (value > (std::numeric_limits<std::int64_t>::max() >> 3))
            throw InvalidNumberError(std::u16string(text));
        value = value * 8 + (c - u'0');
    }
    return value;
}

std::u16string IntToOct(std::int64_t value, std::size_t width)
{
    if (value == 0)
        return std::u16string(width, u'0');
    return formatDigits(digitsOf(value, Radix::Octal), width);
}

std::optional<std::int32_t> readInteger(std::u16string_view text) noexcept
{
    size_t i = 0;
    while (i < text.size() && text[i] == u' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    Radix radix = Radix::Decimal;
    if (i < text.size() && text[i] == u'$') {
        radix = Radix::Hexadecimal;
        ++i;
    } else if (i + 1 < text.size() && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X')) {
        radix = Radix::Hexadecimal;
        i += 2;
    }
    if (i == text.size())
        return std::nullopt;
    std::uint64_t magnitude = 0;
    const std::uint64_t limit = radix == Radix::Hexadecimal ? 0xFFFFFFFFull : 0x80000000ull;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (!isDigitOf(c, radix))
            return std::nullopt;
        const unsigned digit = c <= u'9' ? c - u'0' : (c | 0x20) - u'a' + 10;
        magnitude = magnitude * static_cast<unsigned>(radix) + digit;
        if (magnitude > limit)
            return std::nullopt;
    }
    if (radix == Radix::Hexadecimal) {
        const auto value = static_cast<std::int32_t>(static_cast<std::uint32_t>(magnitude));
        return negative ? static_cast<std::int32_t>(0u - static_cast<std::uint32_t>(value)) : value;
    }
    if (!negative && magnitude == limit)
        return std::nullopt;
    return negative ? static_cast<std::int32_t>(-static_cast<std::int64_t>(magnitude))
                    : static_cast<std::int32_t>(magnitude);
}

}  // namespace textops
