#pragma once

#include <string>
#include <vector>

namespace kelvocad {

class Drawing;
class SelectionFilter;

struct PickResult {
    bool cancelled = false;
    std::vector<std::u16string> handles;  // in pick order
};

// How SelectOnScreen gets the user's pick: from the drawing window, or from a script.
// The caller applies the filter to what comes back; a strategy may use it to show only
// what can be picked.
class PickStrategy {
public:
    virtual ~PickStrategy() = default;
    virtual PickResult pick(const Drawing& drawing, const SelectionFilter& filter) = 0;
};

}  // namespace kelvocad
