#pragma once

#include <exception>
#include <utility>

namespace ui {

class UserMessages;

// The application's default error handler: every event handler runs through run(), so an
// exception never unwinds through Qt's event loop. It is shown in a message box and the
// program keeps running.
class DefaultErrorHandler {
public:
    explicit DefaultErrorHandler(UserMessages& messages) : messages_(messages) {}

    template <class Handler>
    void run(Handler&& handler) noexcept
    {
        try {
            std::forward<Handler>(handler)();
        } catch (...) {
            report(std::current_exception());
        }
    }

    void report(std::exception_ptr error) noexcept;

private:
    UserMessages& messages_;
};

}  // namespace ui
