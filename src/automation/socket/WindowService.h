#pragma once

#include <string_view>

// The window services a drawing host offers beside its object model, by request name.
// They act on the host's own windows, which the client cannot reach itself on this
// platform. Arguments and results:
//
//   Restore        ()                           restores the main window if minimised;
//                                               true if it was minimised
//   BringToFront   ()                           raises and activates the main window
//   IsForeground   ()                           whether the main window is the active one
//   Escape         ()                           what the Escape key does: cancels a pick
//   Marker         (penWidth, xorMode, size)    draws the entity marker at the view centre
namespace automation::socket::windowservice {

inline constexpr std::u16string_view restore = u"Restore";
inline constexpr std::u16string_view bringToFront = u"BringToFront";
inline constexpr std::u16string_view isForeground = u"IsForeground";
inline constexpr std::u16string_view escape = u"Escape";
inline constexpr std::u16string_view marker = u"Marker";

}  // namespace automation::socket::windowservice
