#pragma once

#include "automation/RunningObjects.h"

namespace automation::com {

// The Windows running object table: a ProgID becomes a class id (CLSIDFromProgID), the class
// id the running instance (GetActiveObject), and that its Automation interface
// (QueryInterface for IDispatch). Needs COM initialised on the calling thread.
class ComRunningObjects final : public RunningObjects {
public:
    bool isRunning(std::u16string_view progId) override;
    ObjectRef activeObject(std::u16string_view progId) override;
};

}  // namespace automation::com
