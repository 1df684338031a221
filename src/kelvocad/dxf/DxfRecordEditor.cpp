#include "kelvocad/dxf/DxfRecordEditor.h"

namespace kelvocad {

namespace {

constexpr int subclassMarker = 100;
constexpr int embeddedObjectMarker = 101;
constexpr int firstExtendedDataCode = 1000;

}  // namespace

size_t DxfRecordEditor::ownGroupsEnd() const
{
    for (size_t i = 1; i < tags_.size(); ++i)
        if (tags_[i].code == embeddedObjectMarker || tags_[i].code >= firstExtendedDataCode)
            return i;
    return tags_.size();
}

std::optional<size_t> DxfRecordEditor::indexOf(int code) const
{
    const size_t end = ownGroupsEnd();
    bool inGroup = false;  // inside a 102 {...} application group
    for (size_t i = 1; i < end; ++i) {
        if (tags_[i].code == 102) {
            inGroup = !tags_[i].value.empty() && tags_[i].value[0] == '{';
            continue;
        }
        if (!inGroup && tags_[i].code == code)
            return i;
    }
    return std::nullopt;
}

std::optional<std::string> DxfRecordEditor::find(int code) const
{
    if (auto index = indexOf(code))
        return tags_[*index].value;
    return std::nullopt;
}

size_t DxfRecordEditor::insertionPoint(std::string_view subclass, int subclassOccurrence)
{
    const size_t end = ownGroupsEnd();
    bool hasMarkers = false;
    int seen = 0;
    for (size_t i = 1; i < end; ++i) {
        if (tags_[i].code != subclassMarker)
            continue;
        hasMarkers = true;
        if (tags_[i].value == subclass && ++seen == subclassOccurrence) {
            size_t j = i + 1;
            while (j < end && tags_[j].code != subclassMarker)
                ++j;
            return j;
        }
    }
    if (hasMarkers) {
        tags_.insert(tags_.begin() + static_cast<std::ptrdiff_t>(end), {subclassMarker, std::string(subclass), 0});
        return end + 1;
    }
    return end;
}

void DxfRecordEditor::set(int code, std::string value, std::string_view subclass, int subclassOccurrence)
{
    if (auto index = indexOf(code)) {
        tags_[*index].value = std::move(value);
        return;
    }
    const size_t at = insertionPoint(subclass, subclassOccurrence);
    tags_.insert(tags_.begin() + static_cast<std::ptrdiff_t>(at), {code, std::move(value), 0});
}

void DxfRecordEditor::setPoint(int firstCode, const Point3& point, std::string_view subclass)
{
    const double coordinates[3] = {point.x, point.y, point.z};
    auto index = indexOf(firstCode);
    if (!index) {
        const size_t at = insertionPoint(subclass, 1);
        for (int axis = 0; axis < 3; ++axis)
            tags_.insert(tags_.begin() + static_cast<std::ptrdiff_t>(at + axis),
                         {firstCode + 10 * axis, formatDxfDouble(coordinates[axis]), 0});
        return;
    }
    for (int axis = 0; axis < 3; ++axis) {
        const size_t at = *index + axis;
        const int code = firstCode + 10 * axis;
        if (at < tags_.size() && tags_[at].code == code)
            tags_[at].value = formatDxfDouble(coordinates[axis]);
        else
            tags_.insert(tags_.begin() + static_cast<std::ptrdiff_t>(at), {code, formatDxfDouble(coordinates[axis]), 0});
    }
}

void DxfRecordEditor::setHandle(std::string handle)
{
    if (tags_.size() > 1 && tags_[1].code == 5) {
        tags_[1].value = std::move(handle);
        return;
    }
    if (auto index = indexOf(5)) {
        tags_[*index].value = std::move(handle);
        return;
    }
    tags_.insert(tags_.begin() + 1, {5, std::move(handle), 0});
}

}  // namespace kelvocad
