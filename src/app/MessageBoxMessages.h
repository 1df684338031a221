#pragma once

#include "ui/UserMessages.h"

class QWidget;

namespace app {

// Plain message boxes with one OK button, centred on the screen. They are shown without the
// topmost hand-over: owned by the modal dialog that is up, else by the main window, they
// stay above whichever holds the topmost place.
class MessageBoxMessages : public ui::UserMessages {
public:
    explicit MessageBoxMessages(QWidget* owner = nullptr);

    void setOwner(QWidget* owner) { owner_ = owner; }
    void show(Kind kind, const QString& text) override;

private:
    QWidget* owner_;
};

}  // namespace app
