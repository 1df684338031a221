#pragma once

#include <cstdint>
#include <string_view>

namespace cadlink {

// A top-level window as the CAD application reports it (its `HWND` property) or as the
// program knows its own main window.
using WindowHandle = int64_t;

struct MarkerPoint {
    int x = 0;
    int y = 0;
    bool operator==(const MarkerPoint&) const = default;
};

// What the connection operations need from the windowing system. On Windows these are the
// Win32 calls of the same names; with KelvoCAD they are requests to the drawing host.
class WindowServices {
public:
    virtual ~WindowServices() = default;

    // A top-level window with exactly this title exists (FindWindowW without a class).
    virtual bool topLevelWindowExists(std::u16string_view title) = 0;
    virtual bool isIconic(WindowHandle window) = 0;
    virtual void openIcon(WindowHandle window) = 0;
    virtual bool setForegroundWindow(WindowHandle window) = 0;
    virtual WindowHandle foregroundWindow() = 0;
    // Escape key down, then up, sent to whatever window has the keyboard.
    virtual void sendEscape() = 0;
    virtual void sleep(int milliseconds) = 0;

    virtual uint32_t windowThread(WindowHandle window) = 0;
    virtual void attachThreadInput(uint32_t from, uint32_t to, bool attach) = 0;
    virtual void bringWindowToTop(WindowHandle window) = 0;

    // Draws a polyline straight onto the window's client area (not into the drawing); it
    // vanishes at the window's next repaint. xorMode draws with R2_XORPEN.
    virtual void drawMarker(WindowHandle window, const MarkerPoint* points, int count, int penWidth,
                            uint32_t rgb, bool xorMode) = 0;
};

}  // namespace cadlink
