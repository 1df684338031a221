#include "kelvocad/objects/ScriptedPicker.h"

namespace kelvocad {

void ScriptedPicker::nextPickReturns(std::vector<std::u16string> handles)
{
    script_.push_back({false, std::move(handles)});
}

void ScriptedPicker::nextPickIsCancelled()
{
    script_.push_back({true, {}});
}

PickResult ScriptedPicker::pick(const Drawing&, const SelectionFilter&)
{
    ++picks_;
    if (script_.empty())
        return {};
    PickResult next = std::move(script_.front());
    script_.pop_front();
    return next;
}

}  // namespace kelvocad
