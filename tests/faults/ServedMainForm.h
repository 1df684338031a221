#pragma once

#include "ServerThread.h"

#include "app/TKelvoMainForm.h"
#include "app/ui/TestDoubles.h"
#include "automation/socket/RunningObjectDirectory.h"
#include "automation/socket/SocketRunningObjects.h"
#include "cadlink/FakeWindowServices.h"
#include "kelvocad/objects/CadSession.h"

#include <gtest/gtest.h>

#include <QString>
#include <QTemporaryDir>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace Ui {
class TKelvoMainForm;
}

namespace faults {

// Which call a fault waits for: the n-th call of a member (any letter case), optionally only
// on one kind of object or one access.
struct CallMatch {
    CallMatch() = default;
    CallMatch(std::u16string member, std::u16string objectKind = {},
              std::optional<kelvocad::MemberAccess> access = std::nullopt, int occurrence = 1)
        : member(std::move(member)), objectKind(std::move(objectKind)), access(access), occurrence(occurrence)
    {
    }

    std::u16string member;
    std::u16string objectKind;  // empty: any
    std::optional<kelvocad::MemberAccess> access;
    int occurrence = 1;

    bool matches(const kelvocad::CallRecord& call) const;
};

// A state of the drawing as lines to compare: every TEXT with its string and point, every
// attribute with its value.
using DrawingLines = std::vector<std::string>;

// kelvoedit's main window with its three pages, reaching a KelvoCAD session over the local
// socket as it does on Linux: the session is served from a thread of its own, under the
// program's default ProgID, in a running-object directory of the test's own; calls the
// server turns away as busy are sent again every second. Window steps go to fakes.
class ServedMainForm : public ::testing::Test {
protected:
    ServedMainForm();
    ~ServedMainForm() override;

    void SetUp() override;
    void TearDown() override;

    // Runs f in the server's thread, where the session lives, and waits for it.
    void inServer(const std::function<void(kelvocad::CadSession&)>& f);

    // Runs action in the server's thread once, just before the call that follows the
    // matching call, so that it lands between two calls of an operation.
    void afterCall(CallMatch match, std::function<void(kelvocad::CadSession&)> action);
    // The server turns the next call away for three seconds, then answers it.
    void busyAfter(CallMatch match);
    // The call after the matching one fails as if the host had died, and the server stops
    // serving: the connection drops and the ProgID is no longer running.
    void killAfter(CallMatch match);
    bool serverKilled() const { return *killed_; }
    // How many planned actions of afterCall ran, and whether a planned member failure hit a
    // call: a fault that never struck proves nothing.
    int actionsRun() const { return *actionsRun_; }
    bool injectedFailureHit();
    // Whether a call on the entity, or one that named its handle, failed: an operation that
    // met an entity erased before it started.
    bool callFailedOn(const std::u16string& handle);
    // Whether the server still has refusals of a busy spell left to give.
    bool serverStillBusy();
    // The planned picks not taken yet, and how many picks the session has run.
    size_t pendingPicks();
    int pickCount();

    // The user's click or key, with a hang guard (WindowChecks.h).
    void bounded(const std::function<void()>& userAction);
    void expectAnswersInput();
    // The window is back at rest: no operation marked running, Stop buttons disabled,
    // editor writable, progress label hidden, main window restored.
    void expectAtRest();

    // The CAD undo group is closed and the operation took at most one undo step, which
    // brings back `before`.
    void expectUndoClosedAndOneStep(const DrawingLines& before);

    // Drawing helpers, run in the server's thread.
    std::u16string addText(const std::u16string& string, double x, double y, const std::u16string& layer = u"0");
    // A block "DEV" with tags A and B, and one reference per row of values (empty: no attribute).
    std::vector<std::u16string> addDevices(const std::vector<std::pair<std::u16string, std::u16string>>& rows);
    void erase(const std::u16string& handle);
    void planPick(const std::vector<std::u16string>& handles);
    void planCancelledPick();
    DrawingLines drawingLines();
    std::u16string textOf(const std::u16string& handle);
    std::u16string attributeOf(const std::u16string& reference, size_t index);
    // The undo history emptied, so that only the operation under test can be undone.
    DrawingLines markDrawing();

    // Page helpers.
    QStringList editorLines() const;
    void setEditorText(const QString& text);
    QStringList gridRow(int row) const;
    QStringList searchRows() const;
    void openCellEditor(int col, int row, bool searchGrid, const QString& text);
    void pressEnterInGrid(bool searchGrid);
    // The messages shown, as "kind: text" with kind "plain", "info" or "error".
    std::vector<std::string> shownMessages() const;

    QTemporaryDir dir;
    std::shared_ptr<kelvocad::CadSession> session;
    std::unique_ptr<sockettest::ServerThread> server;
    std::optional<automation::socket::RunningObjectDirectory> directory;
    std::unique_ptr<automation::socket::SocketRunningObjects> runningObjects;
    cadlink::fakes::FakeWindowServices windows;
    cadlink::fakes::FakeOwnWindow ownWindow{windows.log, 7};
    testing_support::RecordingMessages messages;
    testing_support::RecordingLauncher launcher;
    std::unique_ptr<app::TKelvoMainForm> form;
    Ui::TKelvoMainForm* ui = nullptr;

private:
    automation::socket::SocketServer* socketServer_ = nullptr;
    std::shared_ptr<bool> killed_ = std::make_shared<bool>(false);
    std::shared_ptr<int> actionsRun_ = std::make_shared<int>(0);
};

}  // namespace faults
