// A real kelvocad process killed while kelvoedit's main window waits for it: during the
// user's pick, or while the host is busy with another client and the operation keeps asking.
// The window must come back with the user's text where it was, at rest, and the next
// operation must find no CAD application instead of hanging on the dead one.
#include "KelvoCadProcess.h"
#include "WindowChecks.h"

#include "app/QtOwnWindow.h"
#include "app/TKelvoMainForm.h"
#include "app/ui/TestDoubles.h"
#include "automation/AutomationError.h"
#include "automation/socket/SocketClient.h"
#include "automation/socket/SocketRunningObjects.h"
#include "cadlink/TargetProgID.h"
#include "cadlink/platform/KelvoCadWindowServices.h"
#include "grid/ui/KelvoStringGrid.h"
#include "ui/LineEditorWidget.h"
#include "ui_TKelvoMainForm.h"

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <atomic>
#include <memory>
#include <string>
#include <thread>

namespace faults {
namespace {

using automation::ObjectRef;
using automation::Variant;

enum class Moment {
    DuringPick,      // the user is picking in the host
    WhileHostBusy,   // another client's pick keeps the host busy; the operation keeps asking
};

enum class Op { TextAcquisition, AttrAcquisition, GridAcquisition, WriteBack, Search };

struct Case {
    Op op;
    Moment moment;
    const char* name;
};

void PrintTo(const Case& c, std::ostream* os)
{
    *os << c.name;
}

class HostProcessKilled : public ::testing::TestWithParam<Case> {
protected:
    e2e::KelvoCadProcess cad;
    std::u16string savedProgId = cadlink::TargetProgID;
    QTemporaryDir dir;
    testing_support::RecordingMessages messages;
    testing_support::RecordingLauncher launcher;
    std::unique_ptr<automation::socket::SocketRunningObjects> runningObjects;
    std::unique_ptr<cadlink::platform::KelvoCadWindowServices> windows;
    std::unique_ptr<app::TKelvoMainForm> form;
    std::unique_ptr<app::QtOwnWindow> ownWindow;
    Ui::TKelvoMainForm* ui = nullptr;
    std::shared_ptr<automation::socket::SocketClient> control;

    void SetUp() override
    {
        ASSERT_TRUE(cad.start()) << cad.error();
        // As kelvoedit's main() sets it up on Linux.
        runningObjects = std::make_unique<automation::socket::SocketRunningObjects>(cad.directory());
        windows = std::make_unique<cadlink::platform::KelvoCadWindowServices>(*runningObjects,
                                                                               [] { return cadlink::TargetProgID; });
        form = std::make_unique<app::TKelvoMainForm>(std::filesystem::path(dir.path().toStdU16String()) / "kelvoedit",
                                                     messages, launcher);
        // The window reads its target from its settings; this test's kelvocad serves its own.
        cadlink::TargetProgID = e2e::KelvoCadProcess::progId;
        ownWindow = std::make_unique<app::QtOwnWindow>(*form);
        form->setAutomation(*runningObjects, *windows, *ownWindow);
        ui = &form->controls();
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        control = cad.connect();
    }

    void TearDown() override
    {
        control.reset();
        form.reset();
        cadlink::TargetProgID = savedProgId;
    }

    ObjectRef document() { return control->rootObject()->get(u"ActiveDocument").toObject(); }

    bool pickInProgress()
    {
        try {
            return control->service(u"PickInProgress").toBool();
        } catch (const automation::AutomationError&) {
            return false;
        }
    }

    std::vector<std::string> shown() const
    {
        std::vector<std::string> texts;
        for (const auto& message : messages.shown)
            texts.push_back(message.text.toStdString());
        return texts;
    }

    QStringList editorLines() const
    {
        QStringList lines;
        for (int i = 0; i < ui->SynEdit1->lineCount(); ++i)
            lines << ui->SynEdit1->lineText(i);
        return lines;
    }

    // Two TEXTs of the sample drawing in the editor, then the user's own lines over them.
    void acquireAndEdit()
    {
        const ObjectRef doc = document();
        const std::u16string wire = e2e::handleOfText(*doc, u"W-01");
        const std::u16string title = e2e::handleOfText(*doc, u"PUMP UNIT");
        control->service(u"NextPickReturns", std::vector{Variant::variantArray({Variant(wire), Variant(title)})});
        ui->CheckBox1->setChecked(false);
        ui->SpeedButton1->click();
        ASSERT_EQ(editorLines(), (QStringList{"W-01", "PUMP UNIT"})) << ::testing::PrintToString(shown());
        ui->SynEdit1->selectAll();
        ui->SynEdit1->insertPlainText(QStringLiteral("W-01A\nPUMP UNIT 2"));
        messages.shown.clear();
    }
};

TEST_P(HostProcessKilled, WindowComesBackAtRestWithTheUsersTextAndFindsNoCadAfterwards)
{
    const Case c = GetParam();
    ui->SynEdit1->setPlainText(QStringLiteral("mine"));
    if (c.op == Op::WriteBack)
        acquireAndEdit();
    ASSERT_FALSE(HasFatalFailure());
    const QStringList linesBefore = editorLines();
    ui->StringGrid1->setCellText(1, 1, QStringLiteral("user"));
    ui->Edit3->setText(QStringLiteral("W"));

    // Another client's pick: the host answers every other call "busy" until it ends.
    std::thread otherClient;
    if (c.moment == Moment::WhileHostBusy) {
        otherClient = std::thread([this] {
            try {
                const auto client = cad.connect();
                const ObjectRef doc = client->rootObject()->get(u"ActiveDocument").toObject();
                const ObjectRef set = doc->get(u"SelectionSets").toObject()->call(u"Add", {Variant(u"OTHER")}).toObject();
                set->call(u"SelectOnScreen");
            } catch (const automation::AutomationError&) {
                // The host dies under it.
            }
        });
        const QDeadlineTimer deadline(60000);
        while (!pickInProgress() && !deadline.hasExpired())
            QThread::msleep(10);
        ASSERT_TRUE(pickInProgress());
    }

    // No pick is planned: a pick waits for the user until the host dies under it.
    std::atomic<bool> killed{false};
    std::thread killer([&] {
        if (c.moment == Moment::WhileHostBusy) {
            // Long enough for the operation to be asking, turned away, at least once.
            QThread::msleep(2500);
        } else {
            const auto watcher = cad.connect();
            const QDeadlineTimer deadline(60000);
            while (!deadline.hasExpired() && !watcher->service(u"PickInProgress").toBool())
                QThread::msleep(10);
        }
        cad.kill();
        killed = true;
    });

    runBounded([&] {
        switch (c.op) {
        case Op::TextAcquisition: ui->SpeedButton1->click(); break;
        case Op::AttrAcquisition: ui->SpeedButton8->click(); break;
        case Op::GridAcquisition: ui->SpeedButton10->click(); break;
        case Op::WriteBack: ui->SpeedButton2->click(); break;
        case Op::Search: ui->SpeedButton14->click(); break;
        }
    });
    killer.join();
    if (otherClient.joinable())
        otherClient.join();
    ASSERT_TRUE(killed);

    // What the user is told: only an operation whose attach is not guarded shows the error.
    const bool errorShown = c.op == Op::TextAcquisition || c.op == Op::WriteBack || c.op == Op::Search;
    ASSERT_EQ(messages.shown.size(), errorShown ? 1u : 0u) << ::testing::PrintToString(shown());
    if (errorShown) {
        EXPECT_EQ(messages.shown[0].kind, ui::UserMessages::Kind::Error);
    }

    // Nothing the user typed is lost, and the window is at rest.
    EXPECT_EQ(editorLines(), linesBefore);
    EXPECT_EQ(ui->StringGrid1->cellText(1, 1), QStringLiteral("user"));
    EXPECT_FALSE(form->isMinimized());
    EXPECT_FALSE(form->lineEditorFields().cadOperationRunning);
    EXPECT_FALSE(ui->SynEdit1->isReadOnly());
    EXPECT_FALSE(ui->SpeedButton5->isEnabled());
    EXPECT_FALSE(ui->SpeedButton12->isEnabled());
    EXPECT_EQ(ui->SpeedButton14->text(), QStringLiteral("検索"));
    EXPECT_TRUE(ui->Edit3->isEnabled());
    expectAnswersInput(*form);

    // The next operation finds no CAD application and skips its work without a word.
    messages.shown.clear();
    runBounded([&] { ui->SpeedButton1->click(); });
    EXPECT_TRUE(messages.shown.empty()) << ::testing::PrintToString(shown());
    EXPECT_EQ(editorLines(), linesBefore);
}

INSTANTIATE_TEST_SUITE_P(Kills, HostProcessKilled,
                         ::testing::Values(Case{Op::TextAcquisition, Moment::DuringPick, "TextAcquisitionPick"},
                                           Case{Op::AttrAcquisition, Moment::DuringPick, "AttrAcquisitionPick"},
                                           Case{Op::GridAcquisition, Moment::DuringPick, "GridAcquisitionPick"},
                                           Case{Op::WriteBack, Moment::WhileHostBusy, "WriteBackWhileBusy"},
                                           Case{Op::Search, Moment::WhileHostBusy, "SearchWhileBusy"}),
                         [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace faults
