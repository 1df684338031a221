#include "kelvocad/objects/CallLog.h"

#include "automation/Object.h"
#include "common/Utf.h"

#include <cstdio>

namespace kelvocad {

std::u16string CallRecord::describe() const
{
    std::u16string text = objectKind;
    if (!objectId.empty())
        text += u"(" + objectId + u")";
    text += u"." + member;
    if (access == MemberAccess::Call || !args.empty()) {
        text += u"(";
        for (size_t i = 0; i < args.size(); ++i) {
            if (i)
                text += u", ";
            text += automation::describe(args[i]);
        }
        text += u")";
    }
    if (access == MemberAccess::Put)
        text += u" = " + automation::describe(value);
    if (errorCode) {
        char hex[16];
        std::snprintf(hex, sizeof hex, "0x%08X", static_cast<unsigned>(*errorCode));
        text += u" -> error " + common::fromAscii(hex) + u" " + errorDescription;
    } else if (access != MemberAccess::Put) {
        text += u" -> " + automation::describe(result);
    }
    return text;
}

void CallLog::add(CallRecord record)
{
    if (capacity_ == 0)
        return;
    if (records_.size() == capacity_)
        records_.pop_front();
    records_.push_back(std::move(record));
}

void CallLog::setCapacity(size_t capacity)
{
    capacity_ = capacity;
    while (records_.size() > capacity_)
        records_.pop_front();
}

size_t CallLog::count(std::u16string_view member, std::u16string_view objectKind) const
{
    size_t n = 0;
    for (const auto& record : records_)
        if (automation::memberNameEquals(record.member, member) &&
            (objectKind.empty() || record.objectKind == objectKind))
            ++n;
    return n;
}

std::vector<std::u16string> CallLog::members() const
{
    std::vector<std::u16string> names;
    names.reserve(records_.size());
    for (const auto& record : records_)
        names.push_back(record.member);
    return names;
}

std::u16string CallLog::describe() const
{
    std::u16string text;
    for (const auto& record : records_)
        text += record.describe() + u"\n";
    return text;
}

}  // namespace kelvocad
