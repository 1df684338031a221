#include "automation/com/DispIdCache.h"

namespace automation::com {

DispIdCache& DispIdCache::instance()
{
    static DispIdCache cache;
    return cache;
}

std::optional<DISPID> DispIdCache::find(const std::u16string& typeKey, const std::u16string& lowerName) const
{
    std::lock_guard lock(mutex_);
    const auto found = entries_.find({typeKey, lowerName});
    if (found == entries_.end())
        return std::nullopt;
    return found->second;
}

void DispIdCache::store(const std::u16string& typeKey, const std::u16string& lowerName, DISPID dispId)
{
    std::lock_guard lock(mutex_);
    entries_[{typeKey, lowerName}] = dispId;
}

}  // namespace automation::com
