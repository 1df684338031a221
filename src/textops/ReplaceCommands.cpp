#include "textops/ReplaceCommands.h"

namespace textops {

std::u16string selectionSearchPrefill(std::u16string_view selected)
{
    // Cut at LF as well as CR: a search string holding a line break could never match one
    // line of the split selection.
    return std::u16string(selected.substr(0, selected.find_first_of(u"\r\n")));
}

void prefillTikanFields(ReplaceCommand command, TikanFields& fields, std::optional<std::u16string_view> source)
{
    if (!source)
        return;
    fields.Edit1 = command == ReplaceCommand::N8 ? selectionSearchPrefill(*source) : std::u16string(*source);
    if (command != ReplaceCommand::N35)
        fields.Edit2 = fields.Edit1;
}

std::optional<LineBatchResult> replaceEveryLine(std::vector<std::u16string> lines, std::u16string_view search,
                                                std::u16string_view replacement, MatchCase matchCase,
                                                const StepControl& control)
{
    if (search.empty())
        return std::nullopt;
    return transformLines(std::move(lines), [&](std::u16string& line) {
        line = replaceAll(line, search, replacement, matchCase);
        return true;
    }, control);
}

std::optional<SelectionResult> replaceInSelection(std::u16string_view selected, std::u16string_view search,
                                                  std::u16string_view replacement, const StepControl& control)
{
    if (search.empty())
        return std::nullopt;
    return transformSelection(selected, [&](std::u16string& line) {
        line = replaceAll(line, search, replacement, MatchCase::Exact);
        return true;
    }, control);
}

std::optional<int> replaceInCells(CellTarget& grid, const CellRect& rect, std::u16string_view search,
                                  std::u16string_view replacement)
{
    if (search.empty())
        return std::nullopt;
    return transformCells(grid, rect, [&](std::u16string& text) {
        text = replaceAll(text, search, replacement, MatchCase::Exact);
        return false;  // the grid command does not pump
    }, CellUndo::EveryCell);
}

}  // namespace textops
