#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace textops {

enum class Radix { Decimal = 10, Hexadecimal = 16, Octal = 8 };

// A whole number of any length, written in one radix. The numbers in drawing texts are
// digit strings of any length, so they are added digit by digit instead of being squeezed
// into a machine integer.
struct DigitNumber {
    bool negative = false;
    std::u16string digits;  // magnitude, most significant first, upper case; "0" for zero

    bool operator==(const DigitNumber&) const = default;
};

bool isDigitOf(char16_t c, Radix radix) noexcept;

// digits (either case, leading zeros allowed, all of them digits of the radix) with the
// given sign, plus addend. Exact whatever the length; linear in it.
DigitNumber addToDigits(std::u16string_view digits, bool negative, Radix radix, std::int64_t addend);

DigitNumber digitsOf(std::int64_t value, Radix radix);

// The number with zeros put in front until it is at least width long. A negative number
// keeps its minus sign first and the zeros go between sign and digits, the sign counting
// toward the width: -4 in width 3 is "-04".
std::u16string formatDigits(const DigitNumber& number, std::size_t width);

}  // namespace textops
