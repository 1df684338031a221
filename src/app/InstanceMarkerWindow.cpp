#include "app/InstanceMarkerWindow.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace app {

#ifdef _WIN32
namespace {
constexpr wchar_t kClassName[] = L"TKelvoMainForm";
}

InstanceMarkerWindow::InstanceMarkerWindow()
{
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kClassName;
    // Registering twice (a second main window in one process) fails harmlessly.
    RegisterClassW(&windowClass);
    // A message-only window would not be found by FindWindowW: this one is a real, hidden
    // top-level window.
    window_ = CreateWindowExW(WS_EX_TOOLWINDOW, kClassName, L"KelvoEdit", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                              instance, nullptr);
}

InstanceMarkerWindow::~InstanceMarkerWindow()
{
    if (window_)
        DestroyWindow(static_cast<HWND>(window_));
}
#else
InstanceMarkerWindow::InstanceMarkerWindow() = default;
InstanceMarkerWindow::~InstanceMarkerWindow() = default;
#endif

}  // namespace app
