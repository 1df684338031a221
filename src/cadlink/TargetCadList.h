#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cadlink {

// The lines of the target CAD list (display name, TAB, ProgID), kept in the order of the
// dialog's sorted list box: alphabetical ignoring case. A changed line keeps its place until
// the list is loaded again.
class TargetCadList {
public:
    struct Entry {
        std::u16string name;
        std::u16string progId;
    };

    const std::vector<std::u16string>& lines() const noexcept { return lines_; }
    size_t size() const noexcept { return lines_.size(); }
    // Throws std::out_of_range for an index outside the list (-1: nothing selected).
    const std::u16string& line(int index) const;

    // Replaces every line; they take their sorted places.
    void load(std::vector<std::u16string> lines);
    // Inserts the line at its sorted place and returns that place.
    size_t add(std::u16string line);
    // Throw std::out_of_range for an index outside the list.
    void remove(int index);
    void change(int index, std::u16string line);

    // The first line equal to line, ignoring case.
    std::optional<size_t> findIgnoringCase(std::u16string_view line) const;
    // The first line that contains TAB + progId.
    std::optional<size_t> findProgId(std::u16string_view progId) const;

    static std::u16string joinLine(std::u16string_view name, std::u16string_view progId);
    // The text before the first TAB and the text after it; a line without TAB is all ProgID.
    static Entry splitLine(std::u16string_view line);

private:
    void checkIndex(int index) const;

    std::vector<std::u16string> lines_;
};

}  // namespace cadlink
