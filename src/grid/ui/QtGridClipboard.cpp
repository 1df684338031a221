#include "grid/ui/QtGridClipboard.h"

#include <QClipboard>
#include <QGuiApplication>

#include <stdexcept>

namespace grid {

std::u16string QtGridClipboard::text()
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        throw std::runtime_error("the clipboard cannot be opened");
    return clipboard->text().toStdU16String();
}

void QtGridClipboard::setText(const std::u16string& text)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        throw std::runtime_error("the clipboard cannot be opened");
    const QString value = QString::fromStdU16String(text);
    clipboard->setText(value);
    // Qt does not report a clipboard held by another program; reading back does.
    if (clipboard->text() != value)
        throw std::runtime_error("the clipboard did not take the text");
}

}  // namespace grid
