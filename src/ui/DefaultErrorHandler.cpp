#include "ui/DefaultErrorHandler.h"

#include "ui/UserMessages.h"

#include <QString>

namespace ui {

void DefaultErrorHandler::report(std::exception_ptr error) noexcept
{
    QString text;
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        text = QString::fromUtf8(e.what());
    } catch (...) {
        text = QStringLiteral("Unknown error");
    }
    try {
        messages_.show(UserMessages::Kind::Error, text);
    } catch (...) {
        // Nothing is left to tell the user with; the program keeps running.
    }
}

}  // namespace ui
