#pragma once

#include "cadlink/CadConnection.h"

#include <QPointer>

class QWidget;

namespace app {

// The main window as the CAD connection steps see it: minimised while the user picks in
// the CAD application, shown normally again afterwards.
class QtOwnWindow : public cadlink::OwnWindow {
public:
    explicit QtOwnWindow(QWidget& window);

    cadlink::WindowHandle handle() const override;
    void minimize() override;
    void showNormal() override;

private:
    QPointer<QWidget> window_;
};

}  // namespace app
