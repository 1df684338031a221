#pragma once

#include "kelvocad/objects/PickStrategy.h"

#include <QPointer>

namespace kelvocad {

class DrawingView;

// Picks in the drawing window: hands the pick to the view and waits in a nested event
// loop until the user ends or cancels it. The window stays live meanwhile; the transport
// tells other callers to come back later. A window that goes away, or an application
// that quits, ends the pick as cancelled.
class WindowPicker : public PickStrategy {
public:
    explicit WindowPicker(DrawingView* view);

    PickResult pick(const Drawing& drawing, const SelectionFilter& filter) override;
    bool isPicking() const noexcept { return picking_; }

private:
    QPointer<DrawingView> view_;
    bool picking_ = false;
};

}  // namespace kelvocad
