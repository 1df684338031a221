#pragma once

#include <string>
#include <string_view>

namespace kelvocad {

class Drawing;

// The failures the CAD itself reports (as opposed to argument errors): they reach the
// client as hr::Exception with the server's own words, the way a CAD raises its errors.
[[noreturn]] void throwErased(std::u16string_view handle);
[[noreturn]] void throwCadError(std::u16string description);
// Entities on a locked layer can be read and selected, not changed.
void requireUnlocked(const Drawing& drawing, std::u16string_view layer);
// Arguments outside what a member accepts: hr::InvalidArg.
[[noreturn]] void throwInvalidArgument(std::u16string description);

}  // namespace kelvocad
