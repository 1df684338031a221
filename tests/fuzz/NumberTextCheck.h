#pragma once

// What the number fuzzer checks of every input, shared with the test that replays its
// findings: the addition and numbering commands end on any text and any field with no
// exception but their documented ones, and their digit arithmetic agrees with 64-bit
// integers wherever the numbers fit.
#include "FuzzInput.h"

#include "textops/Addition.h"
#include "textops/DigitArithmetic.h"
#include "textops/InvalidNumberError.h"
#include "textops/NumberText.h"
#include "textops/Numbering.h"
#include "textops/TooManyItemsError.h"

#include <charconv>
#include <cstdint>
#include <string>
#include <string_view>

namespace fuzzing {

inline std::u16string upperDigits(int64_t value, int base)
{
    char buffer[80];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value, base);
    std::u16string text;
    for (const char* p = buffer; p != end; ++p)
        text += static_cast<char16_t>(*p >= 'a' && *p <= 'z' ? *p - 'a' + 'A' : *p);
    return text;
}

// The digit arithmetic against int64 for digit strings short enough to fit.
inline std::string checkDigitArithmetic(std::u16string_view digits, bool negative, textops::Radix radix, int64_t addend)
{
    const int base = static_cast<int>(radix);
    const size_t maxDigits = radix == textops::Radix::Decimal ? 15 : radix == textops::Radix::Hexadecimal ? 12 : 17;
    if (digits.empty() || digits.size() > maxDigits)
        return {};
    std::string narrow;
    for (const char16_t c : digits) {
        if (!textops::isDigitOf(c, radix))
            return {};
        narrow += static_cast<char>(c);
    }
    int64_t value = 0;
    std::from_chars(narrow.data(), narrow.data() + narrow.size(), value, base);
    const int64_t expected = (negative ? -value : value) + addend;
    const textops::DigitNumber sum = textops::addToDigits(digits, negative, radix, addend);
    const std::u16string expectedDigits = upperDigits(expected < 0 ? -expected : expected, base);
    if (sum.digits != expectedDigits || sum.negative != (expected < 0))
        return (negative ? "-" : "") + narrow + " + " + std::to_string(addend) + " in radix " + std::to_string(base) +
               " gives " + (sum.negative ? "-" : "") + printable(sum.digits);
    if (textops::digitsOf(expected, radix) != sum)
        return "digitsOf(" + std::to_string(expected) + ") differs from the sum";
    return {};
}

inline textops::Radix radixFrom(uint8_t b)
{
    static constexpr textops::Radix radixes[] = {textops::Radix::Decimal, textops::Radix::Hexadecimal,
                                                 textops::Radix::Octal};
    return radixes[b % 3];
}

inline std::string checkAddition(std::u16string_view text, std::u16string_view edit1, uint8_t flags, int digitCount)
{
    const textops::AdditionSettings settings =
        textops::readAdditionSettings(edit1, (flags & 1) != 0, radixFrom(flags >> 1), digitCount);
    if (settings.digitCount < textops::minDigitCount || settings.digitCount > textops::maxDigitCount)
        return "digit count " + std::to_string(settings.digitCount) + " outside 1 to 8";
    const std::optional<std::u16string> added = textops::addToText(text, settings);
    if (added && settings.addend == 0 && settings.radix == textops::Radix::Decimal) {
        const auto before = textops::SplitNumber(text, settings.position);
        const auto after = textops::SplitNumber(*added, settings.position);
        if (before.number != after.number)
            return "adding 0 to \"" + printable(text) + "\" changed its number to \"" + printable(*added) + "\"";
    }
    const auto selection = textops::addToSelection(text, settings, {});
    if (settings.addend != 0 && !selection)
        return "adding to a selection gave nothing for a non-zero addend";
    const auto split = textops::SplitNumber(text, settings.position);
    if (!split.number.empty() && split.prefix.find_first_of(u"0123456789") != std::u16string::npos &&
        settings.position == textops::NumberPosition::Head)
        return "the first digit run of \"" + printable(text) + "\" has a digit before it";
    return checkDigitArithmetic(split.number, false, textops::Radix::Decimal, settings.addend);
}

inline std::string checkOctal(int64_t value, size_t width)
{
    if (value < 0)
        value = -(value + 1);
    const std::u16string octal = textops::IntToOct(value, width);
    if (octal.size() < width)
        return "IntToOct gave fewer than " + std::to_string(width) + " digits";
    if (!octal.empty() && textops::OctToInt(octal) != value)
        return "octal " + printable(octal) + " does not read back as " + std::to_string(value);
    return {};
}

inline std::string checkNumbering(const textops::NumberingFields& fields)
{
    try {
        (void)textops::numberingPreview(fields);
    } catch (const textops::InvalidNumberError&) {
    }
    std::optional<textops::NumberingRun> run;
    try {
        run.emplace(fields);
    } catch (const textops::InvalidNumberError&) {
        return {};
    }
    // A count beyond 32 bits is refused before any item is made; the grid asks only for
    // as many items as it has rows.
    if (run->count() > 0 && !run->countTooLarge()) {
        (void)run->item(0);
        (void)run->item(run->count() - 1);
    }
    if (run->count() <= 200 && !run->countTooLarge()) {
        const auto items = run->itemsForEditor();
        if (static_cast<int64_t>(items.size()) != std::max<int64_t>(run->count(), 0))
            return "the editor got " + std::to_string(items.size()) + " items for a count of " +
                   std::to_string(run->count());
    } else if (run->countTooLarge() || run->count() > textops::maxNumberingLines) {
        try {
            (void)run->itemsForEditor();
            return "a count of " + std::to_string(run->count()) + " was made";
        } catch (const textops::TooManyItemsError&) {
        }
    }
    return {};
}

inline std::string checkNumberText(std::string_view bytes)
{
    InputReader input(bytes);
    const uint8_t flags = input.byte();
    const int digitCount = static_cast<int8_t>(input.byte());
    const int32_t addend = input.int32();
    const int64_t wide = (static_cast<int64_t>(input.int32()) << 32) | static_cast<uint32_t>(input.int32());
    const std::u16string text = input.field();
    const std::u16string edit1 = input.field();
    if (std::string fault = checkDigitArithmetic(text, (flags & 0x80) != 0, radixFrom(flags >> 3), addend); !fault.empty())
        return fault;
    if (std::string fault = checkAddition(text, edit1, flags, digitCount); !fault.empty())
        return fault;
    if (std::string fault = checkOctal(wide, static_cast<size_t>(digitCount & 0x1F)); !fault.empty())
        return fault;
    textops::NumberingFields fields;
    fields.Edit1 = text;
    fields.Edit2 = edit1;
    fields.Edit3 = input.field();
    fields.Edit4 = input.field();
    fields.Edit5 = input.field();
    fields.radix = radixFrom(flags >> 5);
    return checkNumbering(fields);
}

}  // namespace fuzzing
