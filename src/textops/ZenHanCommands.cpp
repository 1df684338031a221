#include "textops/ZenHanCommands.h"

#include "textops/zenHanUtil.h"

#include <stdexcept>

namespace textops {

const std::array<ZenHanCommandInfo, 17>& zenHanCommands()
{
    using C = ZenHanCommand;
    using T = CommandTarget;
    static const std::array<ZenHanCommandInfo, 17> commands = {{
        {C::N1, u"N1", u"すべて全角に", T::EveryLine, false},
        {C::N2, u"N2", u"選択範囲を全角に", T::Selection, false},
        {C::N4, u"N4", u"すべて半角に", T::EveryLine, false},
        {C::N5, u"N5", u"選択範囲を半角に", T::Selection, false},
        {C::N28, u"N28", u"すべての半角 ( ) を全角に ", T::EveryLine, false},
        {C::N23, u"N23", u"半角カタカナを全角に", T::EveryLine, true},
        {C::N24, u"N24", u"全角カタカナを半角に", T::EveryLine, true},
        {C::N091, u"N091", u"半角数字(0..9)を全角に", T::EveryLine, true},
        {C::N092, u"N092", u"全角数字(0..9)を半角に", T::EveryLine, true},
        {C::N094, u"N094", u"半角数値(0..9+-.,)を全角に", T::EveryLine, true},
        {C::N093, u"N093", u"全角数値(0..9+-.,)を半角に", T::EveryLine, true},
        {C::AZ1, u"AZ1", u"半角アルファベット(A..Z)を全角に", T::EveryLine, true},
        {C::AZ2, u"AZ2", u"全角アルファベット(A..Z)を半角に", T::EveryLine, true},
        {C::N27, u"N27", u"半角記号を全角に", T::EveryLine, true},
        {C::N26, u"N26", u"全角記号を半角に", T::EveryLine, true},
        {C::N32, u"N32", u"選択範囲のスペース以外を全角に", T::GridCells, false},
        {C::N33, u"N33", u"選択範囲を半角に", T::GridCells, false},
    }};
    return commands;
}

const ZenHanCommandInfo& zenHanCommandInfo(ZenHanCommand command)
{
    for (const auto& info : zenHanCommands())
        if (info.command == command)
            return info;
    throw std::invalid_argument("unknown width command");
}

std::optional<ZenHanCommand> zenHanCommandForItem(std::u16string_view itemName)
{
    for (const auto& info : zenHanCommands())
        if (info.itemName == itemName)
            return info.command;
    return std::nullopt;
}

void applyZenHanCommand(ZenHanCommand command, std::u16string& text, const MessagePump& pump)
{
    switch (command) {
    case ZenHanCommand::N1:
    case ZenHanCommand::N2:
        ToZenAll(text);
        break;
    case ZenHanCommand::N4:
    case ZenHanCommand::N5:
    case ZenHanCommand::N33:
        ToHanAll(text);
        break;
    case ZenHanCommand::N28:
        text = replaceEvery(text, u"(", u"（");
        text = replaceEvery(text, u")", u"）");
        break;
    case ZenHanCommand::N23: ToZenKana(text, pump); break;
    case ZenHanCommand::N24: ToHanKana(text, pump); break;
    case ZenHanCommand::N091: ToZenDigit(text, pump); break;
    case ZenHanCommand::N092: ToHanDigit(text, pump); break;
    case ZenHanCommand::N094: ToZenNumeric(text, pump); break;
    case ZenHanCommand::N093: ToHanNumeric(text, pump); break;
    case ZenHanCommand::AZ1: ToZenAlpha(text, pump); break;
    case ZenHanCommand::AZ2: ToHanAlpha(text, pump); break;
    case ZenHanCommand::N27: ToZenSymbol(text, pump); break;
    case ZenHanCommand::N26: ToHanSymbol(text, pump); break;
    case ZenHanCommand::N32:
        // Spaces stay half width in attribute values.
        ToZenAll(text);
        text = replaceEvery(text, u"\u3000", u" ");
        break;
    }
}

LineBatchResult zenHanEveryLine(ZenHanCommand command, std::vector<std::u16string> lines, const StepControl& control)
{
    const MessagePump pump = control.processPendingMessages;
    return transformLines(std::move(lines), [&](std::u16string& line) {
        applyZenHanCommand(command, line, pump);
        return true;
    }, control);
}

std::optional<SelectionResult> zenHanSelection(ZenHanCommand command, std::u16string_view selected, const StepControl& control)
{
    return transformSelection(selected, [&](std::u16string& line) {
        applyZenHanCommand(command, line);
        return true;
    }, control);
}

int zenHanCells(ZenHanCommand command, CellTarget& grid, const CellRect& rect)
{
    return transformCells(grid, rect, [&](std::u16string& text) {
        applyZenHanCommand(command, text);
        // The grid commands never pump.
        return false;
    }, CellUndo::EveryCell);
}

}  // namespace textops
