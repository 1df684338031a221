#include "textops/Numbering.h"

#include "common/TextUtil.h"
#include "common/Utf.h"
#include "textops/InvalidNumberError.h"
#include "textops/NumberText.h"
#include "textops/TooManyItemsError.h"

#include <algorithm>
#include <limits>

namespace textops {

namespace {

enum class CountReading { Number, NotANumber, TooLarge };

struct Count {
    CountReading reading = CountReading::NotANumber;
    std::int64_t value = 0;
};

// The count box holds digits only; a digit string too long for 32 bits is a count too large
// to make, not a text that is no number.
Count readCount(std::u16string_view text)
{
    if (const auto value = readInteger(text))
        return {CountReading::Number, *value};
    std::u16string_view digits = text;
    while (!digits.empty() && digits.front() == u' ')
        digits.remove_prefix(1);
    if (!digits.empty() && digits.front() == u'+')
        digits.remove_prefix(1);
    if (!digits.empty() && std::all_of(digits.begin(), digits.end(), [](char16_t c) { return c >= u'0' && c <= u'9'; }))
        return {CountReading::TooLarge, std::numeric_limits<std::int64_t>::max()};
    return {};
}

// The start number in the radix, of any length; nothing when it is not one. Octal throws
// for a character other than 0-7.
std::optional<DigitNumber> readStart(std::u16string_view text, Radix radix)
{
    if (radix == Radix::Octal) {
        for (char16_t c : text)
            if (!isDigitOf(c, Radix::Octal))
                throw InvalidNumberError(std::u16string(1, c));
        return addToDigits(text, false, radix, 0);
    }
    // A decimal start is read as the program reads every integer box (leading blanks, a sign,
    // $ or 0x for hexadecimal); only a run of digits too long for that is read digit by digit.
    if (radix == Radix::Decimal) {
        if (const auto value = readInteger(text))
            return digitsOf(*value, Radix::Decimal);
    }
    bool negative = false;
    std::u16string_view digits = text;
    if (radix == Radix::Decimal && !digits.empty() && (digits.front() == u'-' || digits.front() == u'+')) {
        negative = digits.front() == u'-';
        digits.remove_prefix(1);
    }
    if (digits.empty() || !std::all_of(digits.begin(), digits.end(), [radix](char16_t c) { return isDigitOf(c, radix); }))
        return std::nullopt;
    return addToDigits(digits, negative, radix, 0);
}

std::u16string numberText(const DigitNumber& start, Radix radix, std::int64_t offset, std::size_t width)
{
    return formatDigits(addToDigits(start.digits, start.negative, radix, offset), width);
}

// Whether the line editor refuses a run of this many lines.
bool tooManyForEditor(const Count& count)
{
    return count.reading == CountReading::TooLarge ||
           (count.reading == CountReading::Number && count.value > maxNumberingLines);
}

std::u16string countText(const Count& count, std::u16string_view typed)
{
    if (count.reading != CountReading::TooLarge)
        return common::fromAscii(std::to_string(count.value));
    // Leading zeros carry no meaning in a count.
    std::u16string_view digits = typed;
    while (!digits.empty() && (digits.front() == u' ' || digits.front() == u'+'))
        digits.remove_prefix(1);
    while (digits.size() > 1 && digits.front() == u'0')
        digits.remove_prefix(1);
    return std::u16string(digits);
}

}  // namespace

NumberingPreview numberingPreview(const NumberingFields& fields, NumberingTarget target)
{
    NumberingPreview preview;
    const std::u16string first = fields.Edit1 + fields.Edit2 + fields.Edit3;
    const Count count = readCount(fields.Edit4);
    // The preview refuses what the generation will refuse.
    const bool refused = target == NumberingTarget::LineEditor ? tooManyForEditor(count)
                                                               : count.reading == CountReading::TooLarge;
    if (fields.Edit2.empty()) {
        preview.stepEnabled = false;
        if (refused && target == NumberingTarget::LineEditor) {
            preview.StaticText1 = TooManyItemsError(countText(count, fields.Edit4), maxNumberingLines).message();
            return preview;
        }
        const Count shown = count.reading == CountReading::NotANumber ? Count{CountReading::Number, 0} : count;
        preview.StaticText1 = u"[ " + common::asciiUpper(first) + u" ] x " + countText(shown, fields.Edit4);
        return preview;
    }
    preview.stepEnabled = true;
    DigitNumber start = readStart(fields.Edit2, fields.radix).value_or(DigitNumber{false, u"0"});
    switch (fields.radix) {
    case Radix::Decimal: preview.Label5Caption = u"10進"; break;
    case Radix::Hexadecimal: preview.Label5Caption = u"16進"; break;
    case Radix::Octal: preview.Label5Caption = u" 8進"; break;
    }
    if (refused) {
        preview.StaticText1 = TooManyItemsError(countText(count, fields.Edit4), maxNumberingLines).message();
        return preview;
    }
    const std::int64_t shownCount =
        count.reading == CountReading::Number ? count.value : (fields.radix == Radix::Decimal ? 0 : 1);
    const std::int64_t step = readInteger(fields.Edit5).value_or(1);
    const std::u16string lastValue = numberText(start, fields.radix, step * (shownCount - 1), fields.Edit2.size());
    preview.StaticText1 =
        common::asciiUpper(u"[ " + first + u" ] ～ [ " + fields.Edit1 + lastValue + fields.Edit3 + u" ]");
    return preview;
}

NumberingRun::NumberingRun(const NumberingFields& fields)
    : prefix_(fields.Edit1), suffix_(fields.Edit3), countText_(fields.Edit4), radix_(fields.radix),
      width_(fields.Edit2.size())
{
    const Count count = readCount(fields.Edit4);
    countTooLarge_ = count.reading == CountReading::TooLarge;
    count_ = count.reading == CountReading::NotANumber ? 1 : count.value;
    fixedText_ = fields.Edit2.empty();
    if (fixedText_)
        return;
    // A start that is no number of its radix begins the run at 1.
    start_ = readStart(fields.Edit2, radix_).value_or(DigitNumber{false, u"1"});
    step_ = readInteger(fields.Edit5).value_or(1);
}

std::u16string NumberingRun::item(std::int64_t b) const
{
    if (fixedText_)
        return common::asciiUpper(prefix_ + suffix_);
    return common::asciiUpper(prefix_ + numberText(start_, radix_, b * step_, width_) + suffix_);
}

std::vector<std::u16string> NumberingRun::itemsForEditor() const
{
    if (tooManyForEditor(Count{countTooLarge_ ? CountReading::TooLarge : CountReading::Number, count_})) {
        throw TooManyItemsError(countText(Count{countTooLarge_ ? CountReading::TooLarge : CountReading::Number, count_}, countText_),
                                maxNumberingLines);
    }
    std::vector<std::u16string> items;
    if (count_ <= 0)
        return items;
    items.reserve(static_cast<size_t>(count_));
    for (std::int64_t b = 0; b < count_; ++b)
        items.push_back(item(b));
    return items;
}

void placeNumberingLines(std::vector<std::u16string>& lines, const std::vector<std::u16string>& items,
                         NumberingMode mode, int selectionStartLine)
{
    if (mode == NumberingMode::Append) {
        lines.insert(lines.end(), items.begin(), items.end());
        return;
    }
    const auto at = static_cast<size_t>(std::clamp(selectionStartLine, 0, static_cast<int>(lines.size())));
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), items.begin(), items.end());
}

RowRange numberingRows(int selectionTop, int selectionBottom, int currentRow, int lastRow) noexcept
{
    if (selectionTop == selectionBottom)
        return {currentRow, lastRow};
    return {selectionTop, selectionBottom};
}

int overwriteNumberingCells(CellTarget& grid, const NumberingRun& run, int column, const RowRange& rows)
{
    int written = 0;
    for (std::int64_t b = 0; b < run.count(); ++b) {
        const std::int64_t row = rows.first + b;
        if (row > rows.last)
            break;
        grid.pushUndo(column, static_cast<int>(row));
        grid.setCellText(column, static_cast<int>(row), run.item(b));
        ++written;
    }
    return std::max(written, 1);
}

}  // namespace textops
