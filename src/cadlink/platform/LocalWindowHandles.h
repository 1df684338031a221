#pragma once

#include "cadlink/WindowServices.h"

class QWidget;

namespace cadlink::platform {

// Handles for the program's own top-level windows where the window system cannot tell them
// apart from the drawing host's: the host's `HWND` is a window id of another process, which
// may carry the same number as one of ours (the offscreen platform counts from 1 in every
// process). Own handles carry a mark no host window id can have.
WindowHandle localHandle(const QWidget& window);
bool isLocalHandle(WindowHandle handle);
// The visible top-level window of this program with that handle, or null.
QWidget* localWindow(WindowHandle handle);

}  // namespace cadlink::platform
