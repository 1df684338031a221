#pragma once

#include "automation/Variant.h"

#include <QPointer>

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kelvocad {

class CadMainWindow;

// The window services KelvoCAD answers on its Automation connection, outside the object
// model. A window argument, where a request has one, is the handle the client got from
// the `HWND` property; it is accepted but not needed, since the program has one window.
//
//   IsIconic(window)          -> bool   the main window is minimised
//   Restore(window)           -> bool   shows a minimised main window normally again ("OpenIcon" too)
//   BringToFront(window)      -> bool   raises and activates the main window; true when it is
//                                        active afterwards ("SetForegroundWindow" too)
//   IsForeground(window)      -> bool   the main window is the active window
//   ForegroundWindow()        -> int    the main window's handle when it is active, else 0
//   Escape()                  -> bool   cancels a pick in progress like the Escape key; false
//                                        when there was nothing to cancel
//   PickInProgress()          -> bool   a SelectOnScreen is waiting for the user
//   NextPickReturns(handles)  -> int    plans the next SelectOnScreen's answer (an array of
//                                        handle strings, possibly empty) so that it does not
//                                        wait for the user; the number of planned picks
//   NextPickIsCancelled()     -> int    plans the next SelectOnScreen to be cancelled
//   PendingPicks()            -> int    planned picks not yet taken by a SelectOnScreen
//   Undo()                    -> bool   what Ctrl+Z does: undoes the last undo group; false
//                                        when there was nothing to undo or a pick is running
//   DrawMarker(window, points, penWidth, colour, xorMode) -> bool
//                                        draws a polyline over the drawing view until its next
//                                        change; points is a flat array x0, y0, x1, y1, ... in
//                                        the view's pixels, colour a Windows COLORREF
//                                        (0x00BBGGRR); xorMode XORs the colour onto the picture
//   Marker()                  -> array  the marker shown now, as DrawMarker was asked for it:
//                                        the flat points array, the pen width and the colour;
//                                        an empty array when none is shown
class WindowServiceHandlers {
public:
    explicit WindowServiceHandlers(CadMainWindow* window);

    // The handlers, by name; a transport registers each of names() with its server.
    automation::Variant handle(std::u16string_view name, std::span<const automation::Variant> args);

    static const std::vector<std::u16string>& names();

    // Requests handled so far, failed ones included: they are round trips as much as member
    // accesses are, and the benchmarks count both.
    int64_t requestCount() const noexcept { return requests_; }

private:
    bool restore();
    bool bringToFront();
    bool isForeground() const;
    bool escape();
    int32_t planPick(std::span<const automation::Variant> args);
    bool drawMarker(std::span<const automation::Variant> args);
    automation::Variant marker() const;

    QPointer<CadMainWindow> window_;
    int64_t requests_ = 0;
};

}  // namespace kelvocad
