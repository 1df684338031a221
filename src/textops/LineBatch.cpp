#include "textops/LineBatch.h"

#include "common/TextUtil.h"

namespace textops {

LineBatchResult transformLines(std::vector<std::u16string> lines, const LineTransform& transform, const StepControl& control)
{
    LineBatchResult result;
    for (auto& line : lines) {
        if (!transform(line))
            continue;
        control.pump();
        if (!control.keepRunning()) {
            result.stopped = true;
            break;
        }
    }
    result.lines = std::move(lines);
    return result;
}

std::vector<std::u16string> splitSelectedLines(std::u16string_view selected)
{
    std::vector<std::u16string> lines;
    size_t start = 0;
    size_t i = 0;
    while (i < selected.size()) {
        const char16_t c = selected[i];
        if (c != u'\r' && c != u'\n') {
            ++i;
            continue;
        }
        lines.emplace_back(selected.substr(start, i - start));
        i += (c == u'\r' && i + 1 < selected.size() && selected[i + 1] == u'\n') ? 2 : 1;
        start = i;
    }
    if (start < selected.size())
        lines.emplace_back(selected.substr(start));
    return lines;
}

std::u16string joinSelectedLines(const std::vector<std::u16string>& lines)
{
    std::u16string joined;
    for (const auto& line : lines) {
        joined += line;
        joined += u"\r\n";
    }
    return std::u16string(common::trimControlAndSpace(joined));
}

std::optional<SelectionResult> transformSelection(std::u16string_view selected, const LineTransform& transform, const StepControl& control)
{
    if (selected.empty())
        return std::nullopt;
    LineBatchResult batch = transformLines(splitSelectedLines(selected), transform, control);
    return SelectionResult{joinSelectedLines(batch.lines), batch.stopped};
}

}  // namespace textops
