#include "kelvocad/objects/FaultInjector.h"

#include "automation/Object.h"
#include "kelvocad/model/Drawing.h"
#include "kelvocad/objects/CallLog.h"

namespace kelvocad {

void FaultInjector::failCall(uint64_t callNumber, int32_t code, std::u16string description)
{
    callFailures_.insert_or_assign(callNumber, automation::AutomationError(code, std::move(description)));
}

void FaultInjector::beforeCall(uint64_t callNumber, std::function<void()> hook)
{
    hooks_.emplace(callNumber, std::move(hook));
}

void FaultInjector::clear()
{
    memberFailures_.clear();
    callFailures_.clear();
    hooks_.clear();
    busyCalls_ = 0;
}

void FaultInjector::check(const CallRecord& call)
{
    auto [first, last] = hooks_.equal_range(call.index);
    std::vector<std::function<void()>> due;
    for (auto it = first; it != last; ++it)
        due.push_back(std::move(it->second));
    hooks_.erase(first, last);
    for (auto& hook : due)
        hook();

    if (busyCalls_ != 0) {
        if (busyCalls_ > 0)
            --busyCalls_;
        throw automation::AutomationError(automation::hr::CallRejected, u"The server is busy");
    }

    if (auto it = callFailures_.find(call.index); it != callFailures_.end()) {
        automation::AutomationError error = it->second;
        callFailures_.erase(it);
        throw error;
    }

    for (auto& failure : memberFailures_) {
        if (failure.times == 0 || !automation::memberNameEquals(failure.member, call.member))
            continue;
        if (!failure.objectKind.empty() && failure.objectKind != call.objectKind)
            continue;
        if (!failure.objectId.empty() && Drawing::normalizeHandle(failure.objectId) != Drawing::normalizeHandle(call.objectId))
            continue;
        if (failure.times > 0)
            --failure.times;
        throw automation::AutomationError(failure.code, failure.description);
    }
}

}  // namespace kelvocad
