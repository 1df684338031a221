#include "textops/Addition.h"

#include "common/TextUtil.h"

#include <algorithm>

namespace textops {

namespace {

std::optional<std::u16string> addDecimal(std::u16string_view text, const AdditionSettings& settings)
{
    const SplitNumberResult split = SplitNumber(text, settings.position);
    if (split.number.empty())
        return std::nullopt;
    const DigitNumber sum = addToDigits(split.number, false, Radix::Decimal, settings.addend);
    return split.prefix + formatDigits(sum, split.number.size()) + split.suffix;
}

std::optional<std::u16string> addToTail(std::u16string_view text, const AdditionSettings& settings)
{
    const size_t count = static_cast<size_t>(clampDigitCount(settings.digitCount));
    const size_t tailSize = std::min(count, text.size());
    const std::u16string_view head = text.substr(0, text.size() - tailSize);
    const std::u16string_view tail = text.substr(text.size() - tailSize);
    const bool digits = settings.radix == Radix::Hexadecimal ? IsHexDigits(tail) : IsOctDigits(tail);
    if (!digits)
        return std::nullopt;
    const DigitNumber sum = addToDigits(tail, false, settings.radix, settings.addend);
    return std::u16string(head) + formatDigits(sum, count);
}

}  // namespace

int clampDigitCount(int digitCount) noexcept
{
    return std::clamp(digitCount, minDigitCount, maxDigitCount);
}

AdditionSettings readAdditionSettings(std::u16string_view edit1Text, bool radioButton2Checked, Radix radix,
                                      int digitCount)
{
    AdditionSettings settings;
    settings.addend = readInteger(edit1Text).value_or(0);
    settings.position = radioButton2Checked ? NumberPosition::Tail : NumberPosition::Head;
    settings.radix = radix;
    settings.digitCount = clampDigitCount(digitCount);
    return settings;
}

KasanRadixView kasanRadixEffects(Radix radix) noexcept
{
    KasanRadixView view;
    view.directionEnabled = radix == Radix::Decimal;
    view.digitCountEnabled = radix != Radix::Decimal;
    switch (radix) {
    case Radix::Decimal: view.Label5Caption = u"10進"; break;
    case Radix::Hexadecimal: view.Label5Caption = u"16進"; break;
    case Radix::Octal: view.Label5Caption = u" 8進"; break;
    }
    return view;
}

std::optional<std::u16string> addToText(std::u16string_view text, const AdditionSettings& settings)
{
    if (common::isBlank(text))
        return std::nullopt;
    if (settings.radix == Radix::Decimal)
        return addDecimal(text, settings);
    return addToTail(text, settings);
}

namespace {

bool addInPlace(std::u16string& text, const AdditionSettings& settings)
{
    std::optional<std::u16string> result = addToText(text, settings);
    if (!result)
        return false;
    text = std::move(*result);
    return true;
}

}  // namespace

std::optional<LineBatchResult> addToEveryLine(std::vector<std::u16string> lines, const AdditionSettings& settings,
                                              const StepControl& control)
{
    if (settings.addend == 0)
        return std::nullopt;
    return transformLines(std::move(lines), [&](std::u16string& line) { return addInPlace(line, settings); }, control);
}

std::optional<SelectionResult> addToSelection(std::u16string_view selected, const AdditionSettings& settings,
                                              const StepControl& control)
{
    if (settings.addend == 0)
        return std::nullopt;
    LineBatchResult batch = transformLines(splitSelectedLines(selected),
                                           [&](std::u16string& line) { return addInPlace(line, settings); }, control);
    return SelectionResult{joinSelectedLines(batch.lines), batch.stopped};
}

std::optional<int> addToCells(CellTarget& grid, const CellRect& rect, const AdditionSettings& settings, CellUndo undo,
                              const StepControl& control)
{
    if (settings.addend == 0)
        return std::nullopt;
    return transformCells(grid, rect, [&](std::u16string& text) { return addInPlace(text, settings); }, undo, control);
}

}  // namespace textops
