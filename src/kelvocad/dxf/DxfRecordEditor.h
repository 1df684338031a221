#pragma once

#include "kelvocad/dxf/DxfTag.h"
#include "kelvocad/model/Point3.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvocad {

// Changes single groups of one record (an entity or table entry from 0 to the next 0) and
// leaves the rest as it stands. A group that is missing is added at the end of the subclass
// it belongs to in files with subclass markers (R2000 on), before any extended data.
class DxfRecordEditor {
public:
    explicit DxfRecordEditor(std::vector<DxfTag> tags) : tags_(std::move(tags)) {}

    // The first value of the code in the entity's own groups (not in extended data or an
    // embedded object).
    std::optional<std::string> find(int code) const;

    // subclassOccurrence picks the n-th marker of that name (TEXT has two AcDbText).
    void set(int code, std::string value, std::string_view subclass, int subclassOccurrence = 1);
    void setPoint(int firstCode, const Point3& point, std::string_view subclass);
    // The handle goes right after the entity type.
    void setHandle(std::string handle);

    const std::vector<DxfTag>& tags() const noexcept { return tags_; }

private:
    std::optional<size_t> indexOf(int code) const;
    size_t ownGroupsEnd() const;
    size_t insertionPoint(std::string_view subclass, int subclassOccurrence);

    std::vector<DxfTag> tags_;
};

}  // namespace kelvocad
