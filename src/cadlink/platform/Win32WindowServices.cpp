#include "cadlink/platform/Win32WindowServices.h"

#include <windows.h>

#include <string>

namespace cadlink::platform {

namespace {

HWND toHwnd(WindowHandle window)
{
    return reinterpret_cast<HWND>(static_cast<intptr_t>(window));
}

}  // namespace

bool Win32WindowServices::topLevelWindowExists(std::u16string_view title)
{
    const std::wstring text(title.begin(), title.end());
    return FindWindowW(nullptr, text.c_str()) != nullptr;
}

bool Win32WindowServices::isIconic(WindowHandle window)
{
    return IsIconic(toHwnd(window)) != FALSE;
}

void Win32WindowServices::openIcon(WindowHandle window)
{
    OpenIcon(toHwnd(window));
}

bool Win32WindowServices::setForegroundWindow(WindowHandle window)
{
    return SetForegroundWindow(toHwnd(window)) != FALSE;
}

WindowHandle Win32WindowServices::foregroundWindow()
{
    return static_cast<WindowHandle>(reinterpret_cast<intptr_t>(GetForegroundWindow()));
}

void Win32WindowServices::sendEscape()
{
    keybd_event(VK_ESCAPE, 0, 0, 0);
    keybd_event(VK_ESCAPE, 0, KEYEVENTF_KEYUP, 0);
}

void Win32WindowServices::sleep(int milliseconds)
{
    Sleep(milliseconds > 0 ? static_cast<DWORD>(milliseconds) : 0);
}

uint32_t Win32WindowServices::windowThread(WindowHandle window)
{
    return GetWindowThreadProcessId(toHwnd(window), nullptr);
}

void Win32WindowServices::attachThreadInput(uint32_t from, uint32_t to, bool attach)
{
    AttachThreadInput(from, to, attach ? TRUE : FALSE);
}

void Win32WindowServices::bringWindowToTop(WindowHandle window)
{
    BringWindowToTop(toHwnd(window));
}

void Win32WindowServices::drawMarker(WindowHandle window, const MarkerPoint* points, int count, int penWidth,
                                     uint32_t rgb, bool xorMode)
{
    if (count < 1)
        return;
    const HWND hwnd = toHwnd(window);
    HDC dc = GetDC(hwnd);
    if (dc == nullptr)
        return;
    HPEN pen = CreatePen(PS_SOLID, penWidth, static_cast<COLORREF>(rgb));
    HGDIOBJ previousPen = pen ? SelectObject(dc, pen) : nullptr;
    if (xorMode)
        SetROP2(dc, R2_XORPEN);
    MoveToEx(dc, points[0].x, points[0].y, nullptr);
    for (int i = 1; i < count; ++i)
        LineTo(dc, points[i].x, points[i].y);
    // The pen must leave the DC before it can be deleted.
    if (previousPen)
        SelectObject(dc, previousPen);
    if (pen)
        DeleteObject(pen);
    ReleaseDC(hwnd, dc);
}

}  // namespace cadlink::platform
