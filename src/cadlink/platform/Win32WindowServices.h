#pragma once

#include "cadlink/WindowServices.h"

namespace cadlink::platform {

// The window services as the Win32 calls of the same names, on real top-level windows
// (window handles are HWND values). Colours are COLORREF values (0x00BBGGRR).
class Win32WindowServices final : public WindowServices {
public:
    bool topLevelWindowExists(std::u16string_view title) override;
    bool isIconic(WindowHandle window) override;
    void openIcon(WindowHandle window) override;
    bool setForegroundWindow(WindowHandle window) override;
    WindowHandle foregroundWindow() override;
    void sendEscape() override;
    void sleep(int milliseconds) override;
    uint32_t windowThread(WindowHandle window) override;
    void attachThreadInput(uint32_t from, uint32_t to, bool attach) override;
    void bringWindowToTop(WindowHandle window) override;
    void drawMarker(WindowHandle window, const MarkerPoint* points, int count, int penWidth, uint32_t rgb,
                    bool xorMode) override;
};

}  // namespace cadlink::platform
