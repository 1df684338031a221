#include "automation/socket/ObjectTable.h"

#include "automation/AutomationError.h"

#include <vector>

namespace automation::socket {

int64_t ObjectTable::exportObject(const ObjectRef& object)
{
    if (const auto found = ids_.find(object.get()); found != ids_.end()) {
        ++entries_[found->second].count;
        return found->second;
    }
    const int64_t id = nextId_++;
    entries_.emplace(id, Entry{object, 1});
    ids_.emplace(object.get(), id);
    if (total_)
        ++*total_;
    return id;
}

ObjectRef ObjectTable::lookup(int64_t id) const
{
    const auto found = entries_.find(id);
    if (found == entries_.end())
        throw AutomationError(hr::InvalidArg, u"The object is not known to the server");
    return found->second.object;
}

void ObjectTable::release(int64_t id, int64_t count)
{
    const auto found = entries_.find(id);
    if (found == entries_.end() || count <= 0)
        return;
    found->second.count -= count;
    if (found->second.count > 0)
        return;
    // The object may run code when it dies; let that happen after the table is consistent.
    ObjectRef dying = std::move(found->second.object);
    ids_.erase(dying.get());
    entries_.erase(found);
    if (total_)
        --*total_;
}

void ObjectTable::clear()
{
    std::vector<ObjectRef> dying;
    dying.reserve(entries_.size());
    for (auto& [id, entry] : entries_)
        dying.push_back(std::move(entry.object));
    if (total_)
        *total_ -= static_cast<int64_t>(entries_.size());
    entries_.clear();
    ids_.clear();
}

}  // namespace automation::socket
