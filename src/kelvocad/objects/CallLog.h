#pragma once

#include "automation/Variant.h"
#include "kelvocad/objects/MemberAccess.h"

#include <cstdint>
#include <deque>
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
    // Objects passed or returned are logged as stand-ins that do not keep them alive (the
    // objects hold the session, which holds the log); this is the object a stand-in was
    // made for, or null once it is gone.
    static automation::ObjectRef loggedObject(const automation::Variant& value);
    // "Text(1A2).TextString = \"W-01\" -> ok" and the like, for logs and test output.
    std::u16string describe() const;
};

// The most recent calls of a session. It keeps at most capacity() records, dropping the
// oldest, so a KelvoCAD that runs for days does not grow without end; the session's call
// counter keeps counting regardless.
class CallLog {
public:
    void add(CallRecord record);
    const std::deque<CallRecord>& records() const noexcept { return records_; }
    size_t capacity() const noexcept { return capacity_; }
    void setCapacity(size_t capacity);
    // Accesses of a member (any letter case), optionally only on one kind of object.
    size_t count(std::u16string_view member, std::u16string_view objectKind = {}) const;
    // The member names in calling order, for comparing a whole sequence at once.
    std::vector<std::u16string> members() const;
    void clear() { records_.clear(); }
    std::u16string describe() const;

private:
    std::deque<CallRecord> records_;
    size_t capacity_ = 10000;
};

}  // namespace kelvocad
