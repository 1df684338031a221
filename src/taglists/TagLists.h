#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace taglists {

// The items of ComboBox1 and ComboBox2 when their list files do not exist.
std::vector<std::u16string> builtInTagItems();
std::vector<std::u16string> builtInTagGroupItems();

// The order of the sorted combos and list boxes: alphabetical, ignoring case.
int compareIgnoringCase(std::u16string_view a, std::u16string_view b);
// Stable: items equal but for case keep their order.
void sortIgnoringCase(std::vector<std::u16string>& items);

// The position to select in a list of count items for a remembered position: the remembered
// one when it is in the list, else the first item; -1 (no selection) stays -1, and an empty
// list has no selection.
int rememberedPosition(int32_t remembered, size_t count);

// The lines that are not blank, unchanged (a reload drops blank lines but trims nothing).
std::vector<std::u16string> nonBlankLines(const std::vector<std::u16string>& lines);

// The display name of a ProgID in the target CAD list: the text before TAB + progId in the
// first line that contains it (case-sensitive, anywhere in the line).
std::optional<std::u16string> displayNameFor(const std::vector<std::u16string>& cadLines, std::u16string_view progId);

}  // namespace taglists
