#include "cadlink/platform/LocalWindowHandles.h"

#include <QApplication>
#include <QWidget>

namespace cadlink::platform {

namespace {

// Window ids of the window systems we run on fit in 32 bits.
constexpr WindowHandle localMark = WindowHandle{1} << 48;
constexpr WindowHandle idMask = (WindowHandle{1} << 32) - 1;

}  // namespace

WindowHandle localHandle(const QWidget& window)
{
    return localMark | (static_cast<WindowHandle>(window.window()->winId()) & idMask);
}

bool isLocalHandle(WindowHandle handle)
{
    return (handle & localMark) != 0 && (handle & ~(localMark | idMask)) == 0;
}

QWidget* localWindow(WindowHandle handle)
{
    if (!isLocalHandle(handle))
        return nullptr;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->testAttribute(Qt::WA_WState_Created) && localHandle(*window) == handle)
            return window;
    }
    return nullptr;
}

}  // namespace cadlink::platform
