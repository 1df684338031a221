#pragma once

#include "automation/AutomationError.h"

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace kelvocad {

struct CallRecord;

// Faults a test plans for a session. Calls are numbered from 1 in the order the session
// receives them (CadSession::callCount() is the number of the last one), whatever object
// they address. Before a call runs, in this order:
//   1. the hooks planned for its number run (to erase an entity between two calls, say);
//   2. while the server is busy the call is turned away with hr::CallRejected and does
//      nothing; a transport answers that with "retry later" and the client sends it again;
//   3. a failure planned for its number, or the first matching member rule, makes it fail.
class FaultInjector {
public:
    struct MemberFailure {
        std::u16string member;      // any letter case
        std::u16string objectKind;  // empty: every kind of object
        std::u16string objectId;    // empty: every object; else a handle (any case) or a name
        int32_t code = automation::hr::Exception;
        std::u16string description = u"Injected failure";
        int times = -1;             // how many calls fail; -1 for all of them

        // MemberFailure::of(u"TextString").onKind(u"Text").withError(hr::ServerFault).onlyTimes(1)
        static MemberFailure of(std::u16string member)
        {
            MemberFailure failure;
            failure.member = std::move(member);
            return failure;
        }
        MemberFailure& onKind(std::u16string kind) { return objectKind = std::move(kind), *this; }
        MemberFailure& onObject(std::u16string id) { return objectId = std::move(id), *this; }
        MemberFailure& withError(int32_t errorCode, std::u16string text = u"Injected failure")
        {
            code = errorCode;
            description = std::move(text);
            return *this;
        }
        MemberFailure& onlyTimes(int count) { return times = count, *this; }
    };

    void failMember(MemberFailure failure) { memberFailures_.push_back(std::move(failure)); }
    void failCall(uint64_t callNumber, int32_t code = automation::hr::Exception,
                  std::u16string description = u"Injected failure");
    void beforeCall(uint64_t callNumber, std::function<void()> hook);

    // The next `calls` calls are turned away; -1 keeps the server busy until setBusy(0).
    void setBusy(int calls) { busyCalls_ = calls; }
    bool busy() const noexcept { return busyCalls_ != 0; }

    void clear();

    // Runs the plan for one call; throws AutomationError when the call must fail.
    void check(const CallRecord& call);

private:
    std::vector<MemberFailure> memberFailures_;
    std::map<uint64_t, automation::AutomationError> callFailures_;
    std::multimap<uint64_t, std::function<void()>> hooks_;
    int busyCalls_ = 0;
};

}  // namespace kelvocad
