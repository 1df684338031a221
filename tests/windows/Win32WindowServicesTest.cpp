#include "cadlink/CadConnection.h"
#include "cadlink/platform/Win32WindowServices.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

using cadlink::WindowHandle;
using cadlink::platform::Win32WindowServices;

std::u16string uniqueTitle(const char16_t* base)
{
    const std::wstring suffix = std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(GetTickCount());
    return std::u16string(base) + u" " + std::u16string(suffix.begin(), suffix.end());
}

// A visible top-level window of our own, with a white client area, standing in for the CAD
// application's window. It records the keys it receives.
class TestWindow {
public:
    explicit TestWindow(const std::u16string& title)
    {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = &TestWindow::procedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        windowClass.lpszClassName = L"KelvoTestCadWindow";
        RegisterClassW(&windowClass);
        const std::wstring text(title.begin(), title.end());
        hwnd = CreateWindowExW(0, L"KelvoTestCadWindow", text.c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 400,
                               300, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        pump();
    }
    ~TestWindow() { DestroyWindow(hwnd); }

    WindowHandle handle() const { return static_cast<WindowHandle>(reinterpret_cast<intptr_t>(hwnd)); }

    static void pump()
    {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }

    HWND hwnd = nullptr;
    int escapeDown = 0;
    int escapeUp = 0;

private:
    static LRESULT CALLBACK procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        auto* self = reinterpret_cast<TestWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (self && wParam == VK_ESCAPE) {
            if (message == WM_KEYDOWN)
                ++self->escapeDown;
            else if (message == WM_KEYUP)
                ++self->escapeUp;
        }
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
};

TEST(Win32WindowServices, FindsATopLevelWindowByItsExactTitle)
{
    Win32WindowServices windows;
    const std::u16string title = uniqueTitle(u"nanoCAD 5");
    EXPECT_FALSE(windows.topLevelWindowExists(title));
    TestWindow window(title);
    EXPECT_TRUE(windows.topLevelWindowExists(title));
    EXPECT_FALSE(windows.topLevelWindowExists(title + u" "));
    EXPECT_FALSE(windows.topLevelWindowExists(title.substr(0, title.size() - 1)));
}

TEST(Win32WindowServices, RestoresAMinimisedWindow)
{
    Win32WindowServices windows;
    TestWindow window(uniqueTitle(u"KelvoTest restore"));
    EXPECT_FALSE(windows.isIconic(window.handle()));
    ShowWindow(window.hwnd, SW_MINIMIZE);
    TestWindow::pump();
    EXPECT_TRUE(windows.isIconic(window.handle()));
    windows.openIcon(window.handle());
    TestWindow::pump();
    EXPECT_FALSE(windows.isIconic(window.handle()));
}

TEST(Win32WindowServices, ThreadsOfOurWindows)
{
    Win32WindowServices windows;
    TestWindow window(uniqueTitle(u"KelvoTest thread"));
    EXPECT_EQ(windows.windowThread(window.handle()), GetCurrentThreadId());
    EXPECT_EQ(windows.windowThread(0), 0u);
}

// The window steps of an acquisition and the hand-back to the program's own window, on real
// windows: the CAD window comes to the front and gets Escape, then the own window is forced
// back to the foreground.
TEST(Win32WindowServices, WindowStepsBringTheCadForwardCancelAndHandBack)
{
    Win32WindowServices windows;
    TestWindow cad(uniqueTitle(u"KelvoTest cad"));
    TestWindow own(uniqueTitle(u"KelvoTest own"));
    ShowWindow(cad.hwnd, SW_MINIMIZE);
    TestWindow::pump();

    ASSERT_TRUE(windows.isIconic(cad.handle()));
    windows.openIcon(cad.handle());
    EXPECT_TRUE(windows.setForegroundWindow(cad.handle()));
    TestWindow::pump();
    ASSERT_EQ(windows.foregroundWindow(), cad.handle());
    windows.sendEscape();
    windows.sleep(5);
    TestWindow::pump();
    EXPECT_EQ(cad.escapeDown, 1);
    EXPECT_EQ(cad.escapeUp, 1);
    EXPECT_EQ(own.escapeDown, 0);

    cadlink::ForceForeground(windows, own.handle());
    TestWindow::pump();
    EXPECT_EQ(windows.foregroundWindow(), own.handle());
}

// The marker is drawn straight onto the window: the pixels under the triangle's outline take
// the pen's colour, and the area inside stays as it was.
TEST(Win32WindowServices, DrawsTheMarkerOntoTheWindow)
{
    Win32WindowServices windows;
    TestWindow window(uniqueTitle(u"KelvoTest marker"));
    SetForegroundWindow(window.hwnd);
    UpdateWindow(window.hwnd);
    TestWindow::pump();
    RECT client{};
    GetClientRect(window.hwnd, &client);
    const auto triangle = cadlink::markerTriangle(client.right, client.bottom, 0.2);
    const COLORREF colour = RGB(255, 100, 100);
    windows.drawMarker(window.handle(), triangle.data(), static_cast<int>(triangle.size()), 3, colour, false);

    HDC dc = GetDC(window.hwnd);
    const cadlink::MarkerPoint tip = triangle[0];
    const cadlink::MarkerPoint upper = triangle[1];
    const cadlink::MarkerPoint lower = triangle[2];
    EXPECT_EQ(GetPixel(dc, tip.x - 1, tip.y), colour);
    EXPECT_EQ(GetPixel(dc, upper.x, (upper.y + lower.y) / 2), colour);  // on the base
    EXPECT_EQ(GetPixel(dc, (tip.x + upper.x) / 2, tip.y), RGB(255, 255, 255));  // inside
    ReleaseDC(window.hwnd, dc);

    // In XOR mode a second stroke takes the first away again.
    windows.drawMarker(window.handle(), triangle.data(), static_cast<int>(triangle.size()), 3, colour, true);
    dc = GetDC(window.hwnd);
    const COLORREF xored = GetPixel(dc, upper.x, (upper.y + lower.y) / 2);
    ReleaseDC(window.hwnd, dc);
    EXPECT_EQ(xored, RGB(255, 100, 100) ^ RGB(255, 100, 100));
}

}  // namespace
