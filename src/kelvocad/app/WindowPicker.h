#pragma once

#include "kelvocad/objects/PickStrategy.h"

#include <QPointer>

#include <memory>

namespace kelvocad {

class DrawingView;
class ScriptedPicker;

// Picks in the drawing window: hands the pick to the view and waits in a nested event
// loop until the user ends or cancels it. The window stays live meanwhile; the transport
// tells other callers to come back later. A window that goes away, or an application
// that quits, ends the pick as cancelled.
//
// A pick planned in advance (by a test driving the program from outside) is answered from
// the plan instead, without waiting for the user.
class WindowPicker : public PickStrategy {
public:
    explicit WindowPicker(DrawingView* view);
    ~WindowPicker() override;

    PickResult pick(const Drawing& drawing, const SelectionFilter& filter) override;
    bool isPicking() const noexcept { return picking_; }
    ScriptedPicker& plannedPicks() const noexcept { return *planned_; }

private:
    QPointer<DrawingView> view_;
    std::unique_ptr<ScriptedPicker> planned_;
    bool picking_ = false;
};

}  // namespace kelvocad
