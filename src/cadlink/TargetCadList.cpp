#include "cadlink/TargetCadList.h"

#include "taglists/TagLists.h"

#include <algorithm>
#include <stdexcept>

namespace cadlink {

void TargetCadList::load(std::vector<std::u16string> lines)
{
    lines_ = std::move(lines);
    taglists::sortIgnoringCase(lines_);
}

size_t TargetCadList::add(std::u16string line)
{
    const auto place = std::upper_bound(lines_.begin(), lines_.end(), line, [](const auto& a, const auto& b) {
        return taglists::compareIgnoringCase(a, b) < 0;
    });
    const auto index = place - lines_.begin();
    lines_.insert(place, std::move(line));
    return static_cast<size_t>(index);
}

void TargetCadList::checkIndex(int index) const
{
    if (index < 0 || static_cast<size_t>(index) >= lines_.size())
        throw std::out_of_range("List index out of bounds (" + std::to_string(index) + ")");
}

const std::u16string& TargetCadList::line(int index) const
{
    checkIndex(index);
    return lines_[static_cast<size_t>(index)];
}

void TargetCadList::remove(int index)
{
    checkIndex(index);
    lines_.erase(lines_.begin() + index);
}

void TargetCadList::change(int index, std::u16string line)
{
    checkIndex(index);
    lines_[static_cast<size_t>(index)] = std::move(line);
}

std::optional<size_t> TargetCadList::findIgnoringCase(std::u16string_view line) const
{
    for (size_t i = 0; i < lines_.size(); ++i) {
        if (taglists::compareIgnoringCase(lines_[i], line) == 0)
            return i;
    }
    return std::nullopt;
}

std::optional<size_t> TargetCadList::findProgId(std::u16string_view progId) const
{
    std::u16string needle = u"\t";
    needle += progId;
    for (size_t i = 0; i < lines_.size(); ++i) {
        if (lines_[i].find(needle) != std::u16string::npos)
            return i;
    }
    return std::nullopt;
}

std::u16string TargetCadList::joinLine(std::u16string_view name, std::u16string_view progId)
{
    std::u16string line(name);
    line += u'\t';
    line += progId;
    return line;
}

TargetCadList::Entry TargetCadList::splitLine(std::u16string_view line)
{
    const size_t tab = line.find(u'\t');
    if (tab == std::u16string_view::npos)
        return {std::u16string(), std::u16string(line)};
    return {std::u16string(line.substr(0, tab)), std::u16string(line.substr(tab + 1))};
}

}  // namespace cadlink
