// kelvoedit's own operations against a real kelvocad process: attach by ProgID, pick by
// plan, read, write back, undo one group in the drawing host; and a host that dies while
// the user picks must not take kelvoedit with it.

#include "FakeLineEditorHost.h"
#include "KelvoCadProcess.h"

#include "app/QtOwnWindow.h"
#include "automation/AutomationError.h"
#include "automation/socket/SocketClient.h"
#include "automation/socket/SocketRunningObjects.h"
#include "cadlink/CadConnection.h"
#include "cadlink/platform/KelvoCadWindowServices.h"
#include "editor/LineEditorContext.h"
#include "editor/TextAcquisition.h"
#include "editor/WriteBack.h"
#include "editor/records/EntityArrays.h"

#include <QDeadlineTimer>
#include <QThread>
#include <QWidget>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace e2e {
namespace {

using automation::ObjectRef;
using automation::Variant;

// kelvoedit's side of the link, built as its main() builds it, around a stand-in main window.
struct KelvoEditSide {
    explicit KelvoEditSide(const KelvoCadProcess& cad)
        : runningObjects(cad.directory()),
          windows(runningObjects, [] { return std::u16string(KelvoCadProcess::progId); }),
          ownWindow(mainWindow),
          link{runningObjects, windows, ownWindow, KelvoCadProcess::progId},
          context{link, page, arrays.TextEntities, fields}
    {
        mainWindow.setWindowTitle(QStringLiteral("KelvoEdit"));
        mainWindow.show();
    }

    automation::socket::SocketRunningObjects runningObjects;
    cadlink::platform::KelvoCadWindowServices windows;
    QWidget mainWindow;
    app::QtOwnWindow ownWindow;
    cadlink::CadLink link;
    editor::test::FakeLineEditorHost page;
    editor::EntityArrays arrays;
    editor::LineEditorFields fields;
    editor::LineEditorContext context;
};

TEST(TextEditAcrossProcesses, PickedTextsAreEditedWrittenBackAndUndoneInTheHost)
{
    KelvoCadProcess cad;
    ASSERT_TRUE(cad.start()) << cad.error();
    KelvoEditSide edit(cad);
    ASSERT_TRUE(cadlink::IsCadRunning(edit.link));

    const auto control = cad.connect();
    const ObjectRef document = control->rootObject()->get(u"ActiveDocument").toObject();
    const std::u16string wire = handleOfText(*document, u"W-01");
    const std::u16string title = handleOfText(*document, u"PUMP UNIT");        // layer "TITLE"
    const std::u16string revision = handleOfText(*document, u"REV A");         // layer "TITLE BLOCK", locked
    ASSERT_FALSE(wire.empty());
    ASSERT_FALSE(title.empty());
    ASSERT_FALSE(revision.empty());

    // The user's picks, in this order, as the host's next pick will report them.
    control->service(u"NextPickReturns",
                     std::vector{Variant::variantArray({Variant(wire), Variant(revision), Variant(title)})});
    edit.page.checkBox1 = false;  // keep the pick order
    editor::SpeedButton1Click(edit.context);
    EXPECT_EQ(edit.page.lines, (std::vector<std::u16string>{u"W-01", u"PUMP UNIT"}));
    EXPECT_EQ(edit.page.messages, std::vector<std::u16string>{u"ロック画層のTEXT 1 個を除外しました."});
    EXPECT_FALSE(edit.mainWindow.isMinimized()) << "the main window comes back after the pick";
    EXPECT_FALSE(control->service(u"PickInProgress").toBool());

    edit.page.lines = {u"W-01A", u"PUMP UNIT 2"};
    editor::SpeedButton2Click(edit.context);
    EXPECT_EQ(textOf(*document, wire), u"W-01A");
    EXPECT_EQ(textOf(*document, title), u"PUMP UNIT 2");
    EXPECT_EQ(textOf(*document, revision), u"REV A");

    // Ctrl+Z in the host takes the whole write-back back as one step.
    EXPECT_TRUE(control->service(u"Undo").toBool());
    EXPECT_EQ(textOf(*document, wire), u"W-01");
    EXPECT_EQ(textOf(*document, title), u"PUMP UNIT");
}

TEST(TextEditAcrossProcesses, HostWindowStepsReachTheHost)
{
    KelvoCadProcess cad;
    ASSERT_TRUE(cad.start()) << cad.error();
    KelvoEditSide edit(cad);
    const auto control = cad.connect();
    const ObjectRef application = control->rootObject();
    const cadlink::WindowHandle host = application->get(u"HWND").toInt();
    ASSERT_NE(host, 0);

    auto& windows = edit.windows;
    EXPECT_FALSE(windows.isIconic(host));
    EXPECT_NE(windows.windowThread(host), windows.windowThread(edit.ownWindow.handle()));
    // Escape reaches the host only while it has the keyboard; there it cancels a pick.
    std::atomic<bool> pickFailed{false};
    std::thread picker([&] {
        const auto client = cad.connect();
        const ObjectRef doc = client->rootObject()->get(u"ActiveDocument").toObject();
        const ObjectRef set = doc->get(u"SelectionSets").toObject()->call(u"Add", {Variant(u"P")}).toObject();
        try {
            set->call(u"SelectOnScreen");
        } catch (const automation::AutomationError&) {
            pickFailed = true;
        }
    });
    const QDeadlineTimer deadline(60000);
    while (!control->service(u"PickInProgress").toBool() && !deadline.hasExpired())
        QThread::msleep(10);
    // The host runs on the offscreen platform, where activation is granted.
    ASSERT_TRUE(windows.setForegroundWindow(host));
    EXPECT_EQ(windows.foregroundWindow(), host);
    windows.sendEscape();
    const QDeadlineTimer cancelled(60000);
    while (control->service(u"PickInProgress").toBool() && !cancelled.hasExpired())
        QThread::msleep(10);
    if (control->service(u"PickInProgress").toBool()) {
        ADD_FAILURE() << "the Escape did not reach the host";
        control->service(u"Escape");
    }
    picker.join();
    EXPECT_TRUE(pickFailed);

    // The zoom with its marker goes through without an error reaching the caller.
    const Variant point = Variant::array(automation::ArrayType::Double, {Variant(50.0), Variant(50.0), Variant(0.0)});
    cadlink::ZoomToEntity(windows, *application, point, 3, false, 0.05);
    EXPECT_FALSE(control->service(u"PickInProgress").toBool());
}

TEST(TextEditAcrossProcesses, HostKilledWhileTheUserPicksLeavesKelvoEditUsable)
{
    KelvoCadProcess cad;
    ASSERT_TRUE(cad.start()) << cad.error();
    KelvoEditSide edit(cad);
    const cadlink::WindowHandle host = cad.connect()->rootObject()->get(u"HWND").toInt();

    std::atomic<bool> killed{false};
    std::thread killer([&] {
        const auto control = cad.connect();
        const QDeadlineTimer deadline(60000);
        while (!deadline.hasExpired()) {
            if (control->service(u"PickInProgress").toBool()) {
                cad.kill();
                killed = true;
                return;
            }
            QThread::msleep(10);
        }
    });
    // No pick is planned: the acquisition waits for a user until the host dies under it.
    bool failed = false;
    try {
        editor::SpeedButton1Click(edit.context);
    } catch (const automation::AutomationError& error) {
        failed = true;
        EXPECT_EQ(error.code(), automation::hr::Disconnected);
    }
    killer.join();
    ASSERT_TRUE(killed) << "the pick never started";
    // The error reaches the page's handler, which shows it; the editor keeps what it had.
    EXPECT_TRUE(failed);
    EXPECT_TRUE(edit.page.lines.empty());
    EXPECT_FALSE(edit.mainWindow.isMinimized());
    EXPECT_FALSE(edit.fields.cadOperationRunning);

    // The next operation finds no CAD and skips its work; the window steps ask nobody.
    EXPECT_FALSE(cadlink::IsCadRunning(edit.link));
    EXPECT_FALSE(edit.windows.isIconic(host));
    EXPECT_NE(edit.windows.foregroundWindow(), host);
}

}  // namespace
}  // namespace e2e
