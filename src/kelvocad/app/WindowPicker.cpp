#include "kelvocad/app/WindowPicker.h"

#include "kelvocad/app/DrawingView.h"
#include "kelvocad/objects/ScriptedPicker.h"

#include <QEventLoop>

namespace kelvocad {

WindowPicker::WindowPicker(DrawingView* view) : view_(view), planned_(std::make_unique<ScriptedPicker>()) {}

WindowPicker::~WindowPicker() = default;

PickResult WindowPicker::pick(const Drawing& drawing, const SelectionFilter& filter)
{
    if (planned_->pendingPicks() > 0)
        return planned_->pick(drawing, filter);

    PickResult cancelled;
    cancelled.cancelled = true;
    // One user cannot answer two picks at once.
    if (!view_ || picking_)
        return cancelled;

    picking_ = true;
    QEventLoop loop;
    QObject::connect(view_.data(), &DrawingView::pickEnded, &loop, &QEventLoop::quit);
    QObject::connect(view_.data(), &QObject::destroyed, &loop, &QEventLoop::quit);
    view_->beginPick(filter);
    // Quitting the application ends every event loop, this one included.
    if (view_->isPicking())
        loop.exec();
    picking_ = false;

    if (!view_)
        return cancelled;
    if (view_->isPicking()) {
        // The loop ended without the user ending the pick: the application is going away.
        view_->cancelPick();
        return cancelled;
    }
    return view_->pickResult();
}

}  // namespace kelvocad
