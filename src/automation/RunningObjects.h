#pragma once

#include "automation/Object.h"

#include <string_view>

namespace automation {

// The running object table: where a CAD application announces itself under its ProgID.
class RunningObjects {
public:
    virtual ~RunningObjects() = default;

    // Whether an instance of progId runs. Throws AutomationError(hr::InvalidClassString)
    // for a ProgID that nobody registered.
    virtual bool isRunning(std::u16string_view progId) = 0;

    // The running instance's Automation object. Throws InvalidClassString for an
    // unregistered ProgID and NotRunning when no instance runs.
    virtual ObjectRef activeObject(std::u16string_view progId) = 0;
};

}  // namespace automation
