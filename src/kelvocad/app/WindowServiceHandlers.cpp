#include "kelvocad/app/WindowServiceHandlers.h"

#include "automation/AutomationError.h"
#include "automation/Object.h"
#include "kelvocad/app/CadMainWindow.h"
#include "kelvocad/app/DrawingView.h"
#include "kelvocad/app/WindowPicker.h"
#include "kelvocad/objects/ScriptedPicker.h"
#include "kelvocad/objects/CadSession.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QPolygon>
#include <QThread>

namespace kelvocad {

using automation::AutomationError;
using automation::Variant;
namespace hr = automation::hr;

namespace {

// How long bringing the window forward waits for the window system to make it active.
constexpr int activationWaitMs = 300;

QColor fromColorRef(uint32_t colour)
{
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                  static_cast<int>((colour >> 16) & 0xFF));
}

}  // namespace

WindowServiceHandlers::WindowServiceHandlers(CadMainWindow* window) : window_(window) {}

const std::vector<std::u16string>& WindowServiceHandlers::names()
{
    static const std::vector<std::u16string> all = {u"IsIconic",     u"Restore",          u"OpenIcon",
                                                    u"BringToFront", u"SetForegroundWindow", u"IsForeground",
                                                    u"ForegroundWindow", u"Escape",        u"PickInProgress",
                                                    u"NextPickReturns", u"NextPickIsCancelled", u"PendingPicks", u"Undo",
                                                    u"DrawMarker", u"Marker"};
    return all;
}

Variant WindowServiceHandlers::handle(std::u16string_view name, std::span<const Variant> args)
{
    ++requests_;
    if (!window_)
        throw AutomationError(hr::Fail, u"The KelvoCAD window is gone");
    auto is = [name](std::u16string_view candidate) { return automation::memberNameEquals(name, candidate); };
    if (is(u"IsIconic"))
        return Variant(window_->isMinimized());
    if (is(u"Restore") || is(u"OpenIcon"))
        return Variant(restore());
    if (is(u"BringToFront") || is(u"SetForegroundWindow"))
        return Variant(bringToFront());
    if (is(u"IsForeground"))
        return Variant(isForeground());
    if (is(u"ForegroundWindow"))
        return Variant(isForeground() ? window_->view()->session().applicationWindow : int32_t{0});
    if (is(u"Escape"))
        return Variant(escape());
    if (is(u"PickInProgress"))
        return Variant(window_->view()->isPicking());
    if (is(u"NextPickReturns"))
        return Variant(planPick(args));
    if (is(u"NextPickIsCancelled")) {
        window_->picker()->plannedPicks().nextPickIsCancelled();
        return Variant(static_cast<int32_t>(window_->picker()->plannedPicks().pendingPicks()));
    }
    if (is(u"PendingPicks"))
        return Variant(static_cast<int32_t>(window_->picker()->plannedPicks().pendingPicks()));
    if (is(u"Undo"))
        return Variant(window_->undoLastStep());
    if (is(u"DrawMarker"))
        return Variant(drawMarker(args));
    if (is(u"Marker"))
        return marker();
    throw AutomationError(hr::MemberNotFound, u"Unknown window service: " + std::u16string(name));
}

bool WindowServiceHandlers::restore()
{
    if (window_->isMinimized())
        window_->showNormal();
    return true;
}

bool WindowServiceHandlers::bringToFront()
{
    if (window_->isMinimized())
        window_->showNormal();
    window_->show();
    window_->raise();
    window_->activateWindow();
    // Activation goes through the window system. Let it arrive, but without touching the
    // sockets, so no Automation call can slip in here.
    const QDeadlineTimer deadline(activationWaitMs);
    while (!window_->isActiveWindow() && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::ExcludeSocketNotifiers);
        if (!window_)
            return false;
        if (!window_->isActiveWindow())
            QThread::msleep(5);
    }
    return window_->isActiveWindow();
}

bool WindowServiceHandlers::isForeground() const
{
    return window_->isActiveWindow();
}

bool WindowServiceHandlers::escape()
{
    DrawingView* view = window_->view();
    if (!view->isPicking())
        return false;
    view->cancelPick();
    return true;
}

int32_t WindowServiceHandlers::planPick(std::span<const Variant> args)
{
    if (args.size() != 1 || !args[0].isArray())
        throw AutomationError(hr::InvalidArg, u"NextPickReturns takes one array of handles");
    std::vector<std::u16string> handles;
    for (const Variant& handle : args[0].elements())
        handles.push_back(handle.toString());
    ScriptedPicker& planned = window_->picker()->plannedPicks();
    planned.nextPickReturns(std::move(handles));
    return static_cast<int32_t>(planned.pendingPicks());
}

bool WindowServiceHandlers::drawMarker(std::span<const Variant> args)
{
    if (args.size() < 4)
        throw AutomationError(hr::BadParamCount, u"DrawMarker takes a window, points, pen width and colour");
    const Variant& points = args[1];
    if (!points.isArray() || points.arraySize() % 2 != 0)
        throw AutomationError(hr::InvalidArg, u"DrawMarker needs an array of x, y pairs");
    QPolygon polygon;
    for (size_t i = 0; i + 1 < points.arraySize(); i += 2)
        polygon << QPoint(points.at(i).toInt(), points.at(i + 1).toInt());
    const int penWidth = args[2].toInt();
    const auto colour = static_cast<uint32_t>(args[3].toInt());
    if (polygon.size() < 2)
        return false;
    const bool xorMode = args.size() > 4 && args[4].toBool();
    window_->view()->showMarker(polygon, penWidth, fromColorRef(colour),
                                xorMode ? DrawingView::MarkerMode::Xor : DrawingView::MarkerMode::Normal);
    return true;
}

Variant WindowServiceHandlers::marker() const
{
    const DrawingView& view = *window_->view();
    if (!view.hasMarker())
        return Variant::variantArray({});
    std::vector<double> points;
    for (const QPoint& point : view.marker()) {
        points.push_back(point.x());
        points.push_back(point.y());
    }
    const QColor colour = view.markerColour();
    const auto colorRef = static_cast<int32_t>(static_cast<uint32_t>(colour.red()) |
                                               (static_cast<uint32_t>(colour.green()) << 8) |
                                               (static_cast<uint32_t>(colour.blue()) << 16));
    return Variant::variantArray(
        {Variant::doubleArray(std::move(points)), Variant(int32_t{view.markerPenWidth()}), Variant(colorRef)});
}

}  // namespace kelvocad
