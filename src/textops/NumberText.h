#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace textops {

enum class NumberPosition { Head, Tail };

struct SplitNumberResult {
    std::u16string prefix;
    std::u16string number;  // a run of 0-9; empty when the text holds no digit
    std::u16string suffix;

    bool operator==(const SplitNumberResult&) const = default;
};

// The first (Head) or last (Tail) run of the digits 0-9 of the text stripped of characters
// up to U+0020 at both ends, with what stands before and after it. Full-width digits are not
// digits here.
SplitNumberResult SplitNumber(std::u16string_view text, NumberPosition position);

// Whether every character is a hexadecimal (octal) digit; true for an empty text.
bool IsHexDigits(std::u16string_view text) noexcept;
bool IsOctDigits(std::u16string_view text) noexcept;

// The value of octal digits. A character other than 0-7 (8 and 9 included) throws
// InvalidNumberError naming it; so does a value beyond 64 bits.
std::int64_t OctToInt(std::u16string_view text);
// Octal digits of value, most significant first (empty for 0), zeros put in front until the
// text is at least width long. A negative value is written with a minus sign first.
std::u16string IntToOct(std::int64_t value, std::size_t width);

// A box read as a 32-bit integer the way the program's number boxes are read: leading spaces,
// a sign, then decimal digits or, after $ or 0x, hexadecimal digits (up to eight, so $FFFFFFFF
// is -1), and nothing after them. Nothing when the text is not such an integer.
std::optional<std::int32_t> readInteger(std::u16string_view text) noexcept;

}  // namespace textops
