#include "app/QtOwnWindow.h"

#include <QWidget>

#ifndef _WIN32
#include "cadlink/platform/LocalWindowHandles.h"
#endif

namespace app {

QtOwnWindow::QtOwnWindow(QWidget& window) : window_(&window) {}

cadlink::WindowHandle QtOwnWindow::handle() const
{
    if (!window_)
        return 0;
#ifdef _WIN32
    return static_cast<cadlink::WindowHandle>(window_->winId());
#else
    return cadlink::platform::localHandle(*window_);
#endif
}

void QtOwnWindow::minimize()
{
    if (window_)
        window_->showMinimized();
}

void QtOwnWindow::showNormal()
{
    if (window_)
        window_->showNormal();
}

}  // namespace app
