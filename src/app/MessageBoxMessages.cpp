#include "app/MessageBoxMessages.h"

#include "app/AppInfo.h"

#include <QApplication>
#include <QMessageBox>
#include <QScreen>
#include <QWindow>

namespace app {

MessageBoxMessages::MessageBoxMessages(QWidget* owner) : owner_(owner) {}

void MessageBoxMessages::show(Kind kind, const QString& text)
{
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    if (kind == Kind::Information)
        icon = QMessageBox::Information;
    else if (kind == Kind::Error)
        icon = QMessageBox::Critical;

    // A box owned by the main window would open below a modal dialog that took the topmost
    // place from it, and the dialog would seem frozen: the box belongs to the dialog then,
    // and stays on top whenever its owner does.
    QWidget* owner = QApplication::activeModalWidget();
    if (!owner)
        owner = owner_;
    QMessageBox box(icon, applicationTitle(), text, QMessageBox::Ok, owner);
    // The topmost hand-over moves the flag on the native window, not on the widget.
    const auto onTop = [](QWidget* window) {
        const QWindow* handle = window->windowHandle();
        return (handle ? handle->flags() : window->windowFlags()).testFlag(Qt::WindowStaysOnTopHint);
    };
    if (owner && onTop(owner))
        box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
    box.adjustSize();
    // An owned box would be centred on its owner; the program's boxes sit in the middle of
    // the screen instead. Moving it here keeps Qt from re-centring it when it is shown.
    if (QScreen* screen = QApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        box.move(area.center() - box.rect().center());
    }
    box.exec();
}

}  // namespace app
