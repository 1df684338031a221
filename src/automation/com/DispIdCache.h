#pragma once

#include <windows.h>
#include <oaidl.h>

#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <utility>

namespace automation::com {

// DISPIDs by type and member name, for servers that describe their types: every object of one
// type shares the lookups made for any of them. Process-wide; names are kept in lower case.
class DispIdCache {
public:
    static DispIdCache& instance();

    std::optional<DISPID> find(const std::u16string& typeKey, const std::u16string& lowerName) const;
    void store(const std::u16string& typeKey, const std::u16string& lowerName, DISPID dispId);

private:
    mutable std::mutex mutex_;
    std::map<std::pair<std::u16string, std::u16string>, DISPID> entries_;
};

}  // namespace automation::com
