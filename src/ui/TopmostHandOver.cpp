#include "ui/TopmostHandOver.h"

#include <QDialog>
#include <QWidget>
#include <QWindow>

#ifdef _WIN32
#include <windows.h>
#endif

namespace ui {

void setTopmost(QWidget& window, bool topmost)
{
#ifdef _WIN32
    SetWindowPos(reinterpret_cast<HWND>(window.winId()), topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE);
    // Keep Qt's idea of the flags in step, so a later re-creation of the window keeps them.
    if (QWindow* handle = window.windowHandle())
        handle->setFlag(Qt::WindowStaysOnTopHint, topmost);
#else
    if (QWindow* handle = window.windowHandle()) {
        // Changing the flag on the native window keeps it where it is; QWidget::setWindowFlag
        // would re-create a visible window and lose its position.
        handle->setFlag(Qt::WindowStaysOnTopHint, topmost);
    } else {
        window.setWindowFlag(Qt::WindowStaysOnTopHint, topmost);
    }
#endif
}

int runModalWithTopmostHandOver(QWidget& mainWindow, QDialog& dialog)
{
    // The dialog needs its native window before it can be placed in the z-order.
    dialog.winId();
    setTopmost(mainWindow, false);
    setTopmost(dialog, true);
    const int result = dialog.exec();
    setTopmost(dialog, false);
    setTopmost(mainWindow, true);
    return result;
}

}  // namespace ui
