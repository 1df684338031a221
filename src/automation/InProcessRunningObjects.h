#pragma once

#include "automation/RunningObjects.h"

#include <string>
#include <vector>

namespace automation {

// A running object table inside one process, for tests: ProgIDs are registered first (the
// stand-in for the class registry), then instances announce themselves under them. It
// fails exactly as the system's table does: an unregistered ProgID is an invalid class
// string, a registered one without an instance is not running. ProgIDs compare regardless
// of letter case, as on Windows.
class InProcessRunningObjects : public RunningObjects {
public:
    void registerProgId(std::u16string_view progId);
    void unregisterProgId(std::u16string_view progId);

    // Announces a running instance (registering the ProgID if needed); a null object stands
    // for an instance that offers no Automation interface.
    void announce(std::u16string_view progId, ObjectRef object);
    void revoke(std::u16string_view progId);

    bool isRunning(std::u16string_view progId) override;
    ObjectRef activeObject(std::u16string_view progId) override;

private:
    struct Entry {
        std::u16string progId;
        bool running = false;
        ObjectRef object;
    };
    Entry* find(std::u16string_view progId);
    Entry& registered(std::u16string_view progId);

    std::vector<Entry> entries_;
};

}  // namespace automation
