#pragma once

#include <string_view>

// The window services a drawing host offers beside its object model, by request name.
// They act on the host's own windows, which the client cannot reach itself on this
// platform. A window argument is the handle the client read from an `HWND` property.
//
//   IsIconic            (window)                               whether the main window is minimised
//   OpenIcon            (window)                               shows a minimised main window again
//   SetForegroundWindow (window)                               raises and activates the main window;
//                                                              true when it is active afterwards
//   BringToFront        (window)                               the same
//   ForegroundWindow    ()                                     the main window's handle when it is
//                                                              active, else 0
//   Escape              ()                                     what the Escape key does: cancels a pick
//   DrawMarker          (window, [x0, y0, ...], pen, colour, xor)
//                                                              draws a polyline over the view until
//                                                              its next repaint; colour is 0x00BBGGRR
namespace automation::socket::windowservice {

inline constexpr std::u16string_view isIconic = u"IsIconic";
inline constexpr std::u16string_view openIcon = u"OpenIcon";
inline constexpr std::u16string_view setForegroundWindow = u"SetForegroundWindow";
inline constexpr std::u16string_view bringToFront = u"BringToFront";
inline constexpr std::u16string_view foregroundWindow = u"ForegroundWindow";
inline constexpr std::u16string_view escape = u"Escape";
inline constexpr std::u16string_view drawMarker = u"DrawMarker";

}  // namespace automation::socket::windowservice
