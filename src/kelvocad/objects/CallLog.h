#pragma once

#include "automation/Variant.h"
#include "kelvocad/objects/MemberAccess.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvocad {

// One member access as the server saw it.
struct CallRecord {
    uint64_t index = 0;          // 1 for the session's first access
    std::u16string objectKind;   // "Document", "Text", "SelectionSet", ...
    std::u16string objectId;     // the entity's handle, a set's or layer's name; empty otherwise
    std::u16string member;       // as the caller spelled it
    MemberAccess access = MemberAccess::Get;
    std::vector<automation::Variant> args;
    automation::Variant value;   // the value written by a Put
    automation::Variant result;
    std::optional<int32_t> errorCode;
    std::u16string errorDescription;

    bool failed() const noexcept { return errorCode.has_value(); }
    // "Text(1A2).TextString = \"W-01\" -> ok" and the like, for logs and test output.
    std::u16string describe() const;
};

class CallLog {
public:
    void add(CallRecord record) { records_.push_back(std::move(record)); }
    const std::vector<CallRecord>& records() const noexcept { return records_; }
    // Accesses of a member (any letter case), optionally only on one kind of object.
    size_t count(std::u16string_view member, std::u16string_view objectKind = {}) const;
    // The member names in calling order, for comparing a whole sequence at once.
    std::vector<std::u16string> members() const;
    void clear() { records_.clear(); }
    std::u16string describe() const;

private:
    std::vector<CallRecord> records_;
};

}  // namespace kelvocad
