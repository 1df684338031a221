#pragma once

#include "app/ui/TestDoubles.h"
#include "automation/socket/SocketRunningObjects.h"
#include "cadlink/platform/KelvoCadWindowServices.h"

#include <QTemporaryDir>

#include <memory>

namespace Ui {
class TKelvoMainForm;
}

namespace app {
class QtOwnWindow;
class TKelvoMainForm;
}  // namespace app

namespace bench::e2e {

class CadServer;

// kelvoedit's main window with its three pages, built as its main() builds it, on the
// offscreen platform: attached to a kelvocad server through the running-object directory,
// or to none. Its settings and lists live in a folder of its own; message boxes are
// recorded instead of shown.
class KelvoEditWindow {
public:
    explicit KelvoEditWindow(const CadServer* cad);
    ~KelvoEditWindow();

    app::TKelvoMainForm& form() { return *form_; }
    Ui::TKelvoMainForm& ui();

    testing_support::RecordingMessages messages;

private:
    QTemporaryDir dir_;
    testing_support::RecordingLauncher launcher_;
    automation::socket::SocketRunningObjects runningObjects_;
    cadlink::platform::KelvoCadWindowServices windows_;
    std::unique_ptr<app::TKelvoMainForm> form_;
    std::unique_ptr<app::QtOwnWindow> ownWindow_;
};

}  // namespace bench::e2e
