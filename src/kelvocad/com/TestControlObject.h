#pragma once

#include "automation/Object.h"

#include <memory>

namespace automation::com {
struct CallCounters;
}

namespace kelvocad {

class CadSession;

// What a test drives kelvocad-com with, beside the object model: planned picks, the drawing's
// TEXT and block reference handles, the counts of calls that reached the server and of the
// objects it has out, and the end of the server. Served as its own running object.
class TestControlObject final : public automation::Object {
public:
    TestControlObject(std::shared_ptr<CadSession> session, const automation::com::CallCounters& counters);

    automation::Variant get(std::u16string_view member, std::span<const automation::Variant> args = {}) override;
    void put(std::u16string_view member, const automation::Variant& value,
             std::span<const automation::Variant> args = {}) override;
    automation::Variant call(std::u16string_view member, std::span<const automation::Variant> args = {}) override;

private:
    std::shared_ptr<CadSession> session_;
    const automation::com::CallCounters& counters_;
};

}  // namespace kelvocad
