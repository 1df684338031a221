#pragma once

#include <QString>

namespace ui {

// Where the program's message boxes go. The window code only says what to tell the user;
// tests record the messages instead of showing them.
class UserMessages {
public:
    enum class Kind {
        Plain,        // no icon
        Information,  // information icon
        Error         // the default error handler's box
    };

    virtual ~UserMessages() = default;
    // Shows the text with one OK button and returns when the user has dismissed it.
    virtual void show(Kind kind, const QString& text) = 0;
};

}  // namespace ui
