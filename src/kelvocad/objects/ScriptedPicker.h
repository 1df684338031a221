#pragma once

#include "kelvocad/objects/PickStrategy.h"

#include <deque>

namespace kelvocad {

// Picks that a test plans in advance. Without a planned pick, the user is taken to have
// ended the pick without choosing anything.
class ScriptedPicker : public PickStrategy {
public:
    void nextPickReturns(std::vector<std::u16string> handles);
    void nextPickIsCancelled();
    size_t pendingPicks() const noexcept { return script_.size(); }
    int pickCount() const noexcept { return picks_; }

    PickResult pick(const Drawing& drawing, const SelectionFilter& filter) override;

private:
    std::deque<PickResult> script_;
    int picks_ = 0;
};

}  // namespace kelvocad
