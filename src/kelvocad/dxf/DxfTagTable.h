#pragma once

#include "kelvocad/dxf/DxfTag.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kelvocad {

// The groups of a file as they stand in its bytes. The bytes are kept once and each group
// is where its lines lie in them: 24 bytes a group, where two strings a group made the
// groups of a drawing several times the size of its file.
class DxfTagTable {
public:
    DxfTagTable() = default;
    explicit DxfTagTable(std::string bytes) : bytes_(std::move(bytes)) {}

    const std::string& bytes() const noexcept { return bytes_; }

    // A group whose code line starts at codeAt and whose value line (without its line
    // ending) is [valueAt, valueAt + valueLength); line is the code line's number. False
    // when a figure does not fit the table's fields.
    bool add(int code, size_t codeAt, size_t valueAt, size_t valueLength, size_t line)
    {
        if (valueAt < codeAt || valueAt - codeAt > UINT32_MAX || valueLength > UINT32_MAX || line > UINT32_MAX)
            return false;
        groups_.push_back({valueAt, static_cast<uint32_t>(valueLength), static_cast<uint32_t>(valueAt - codeAt),
                           static_cast<uint32_t>(line), static_cast<int32_t>(code)});
        return true;
    }
    void shrinkToFit() { groups_.shrink_to_fit(); }

    size_t size() const noexcept { return groups_.size(); }
    bool empty() const noexcept { return groups_.empty(); }

    int code(size_t i) const { return groups_[i].code; }
    size_t line(size_t i) const { return groups_[i].line; }
    std::string_view value(size_t i) const
    {
        return std::string_view(bytes_).substr(groups_[i].valueAt, groups_[i].valueLength);
    }
    // The code line as read, so that an unchanged file is written back as it was: what lies
    // before the value line, less the line ending (a LF and every CR before it).
    std::string_view codeText(size_t i) const
    {
        std::string_view text = std::string_view(bytes_).substr(groups_[i].valueAt - groups_[i].codeBack,
                                                                 groups_[i].codeBack);
        if (!text.empty() && text.back() == '\n')
            text.remove_suffix(1);
        while (!text.empty() && text.back() == '\r')
            text.remove_suffix(1);
        return text;
    }
    // The group as a value of its own, to be edited.
    DxfTag tag(size_t i) const { return DxfTag(code(i), std::string(value(i)), line(i), std::string(codeText(i))); }

private:
    struct Group {
        uint64_t valueAt;
        uint32_t valueLength;
        uint32_t codeBack;  // from the code line's start to the value line's
        uint32_t line;
        int32_t code;
    };
    static_assert(sizeof(Group) == 24);

    std::string bytes_;
    std::vector<Group> groups_;
};

}  // namespace kelvocad
