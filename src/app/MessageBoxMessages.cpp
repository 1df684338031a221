#include "app/MessageBoxMessages.h"

#include "app/AppInfo.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>

namespace app {

MessageBoxMessages::MessageBoxMessages(QWidget* owner) : owner_(owner) {}

void MessageBoxMessages::show(Kind kind, const QString& text)
{
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    if (kind == Kind::Information)
        icon = QMessageBox::Information;
    else if (kind == Kind::Error)
        icon = QMessageBox::Critical;

    QMessageBox box(icon, applicationTitle(), text, QMessageBox::Ok, owner_);
    box.adjustSize();
    // An owned box would be centred on its owner; the program's boxes sit in the middle of
    // the screen instead. Moving it here keeps Qt from re-centring it when it is shown.
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        box.move(area.center() - box.rect().center());
    }
    box.exec();
}

}  // namespace app
