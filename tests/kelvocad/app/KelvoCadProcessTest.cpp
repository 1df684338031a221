// The kelvocad program itself, started as a process of its own and reached over the
// running-object directory the way KelvoEdit reaches it.
#include "automation/AutomationError.h"
#include "automation/Object.h"
#include "automation/socket/RunningObjectDirectory.h"
#include "automation/socket/SocketClient.h"
#include "automation/socket/SocketRunningObjects.h"

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <atomic>
#include <chrono>
#include <optional>
#include <thread>

#include <csignal>

namespace kelvocad::test {
namespace {

using automation::AutomationError;
using automation::ObjectRef;
using automation::Variant;
using automation::socket::RunningObjectDirectory;
using automation::socket::SocketClient;
using automation::socket::SocketRunningObjects;

constexpr std::chrono::milliseconds quickRetry{20};
// Generous bounds for a program starting and stopping on a busy machine.
constexpr int startMs = 60000;

class KelvoCadProcessTest : public ::testing::Test {
protected:
    void SetUp() override { start({}); }

    // Starts the program serving both ProgIDs, with these arguments after them.
    void start(const QStringList& more)
    {
        ASSERT_TRUE(runtime.isValid());
        directory.emplace(std::filesystem::path(runtime.path().toStdString()) / "kelvoedit");
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        process.setProcessEnvironment(environment);
        process.setProcessChannelMode(QProcess::SeparateChannels);
        const QStringList arguments{QStringLiteral("--progid"), QString::fromStdU16String(progId),
                                    QStringLiteral("--progid"), QString::fromStdU16String(otherProgId)};
        process.start(QStringLiteral(KELVOCAD_EXECUTABLE), arguments + more);
        ASSERT_TRUE(process.waitForStarted(startMs));
        // The program says when it serves.
        QByteArray out;
        const QDeadlineTimer deadline(startMs);
        while (out.count('\n') < 2 && !deadline.hasExpired() && process.state() == QProcess::Running) {
            process.waitForReadyRead(200);
            out += process.readAllStandardOutput();
        }
        ASSERT_TRUE(out.contains("serving KelvoCadTest.Other")) << out.constData()
                                                                << process.readAllStandardError().constData();
    }

    void TearDown() override
    {
        if (process.state() != QProcess::NotRunning) {
            process.terminate();
            if (!process.waitForFinished(startMs))
                process.kill();
            process.waitForFinished(startMs);
        }
    }

    std::shared_ptr<SocketClient> connect(std::u16string_view id = u"KelvoCadTest.App") const
    {
        return SocketClient::connect(directory->socketPath(id), quickRetry);
    }

    // Waits until the program reports a pick waiting for the user.
    bool waitForPick(SocketClient& client)
    {
        const QDeadlineTimer deadline(startMs);
        while (!deadline.hasExpired()) {
            if (client.service(u"PickInProgress").toBool())
                return true;
            QThread::msleep(10);
        }
        return false;
    }

    const std::u16string progId = u"KelvoCadTest.App";
    const std::u16string otherProgId = u"KelvoCadTest.Other";
    QTemporaryDir runtime;
    std::optional<RunningObjectDirectory> directory;
    QProcess process;
};

TEST_F(KelvoCadProcessTest, ServesTheDrawingAndTheRealWindow)
{
    SocketRunningObjects table(*directory, quickRetry);
    EXPECT_TRUE(table.isRunning(progId));
    EXPECT_TRUE(table.isRunning(u"kelvocadtest.other"));
    {
        ObjectRef app = table.activeObject(progId);
        ObjectRef doc = app->get(u"ActiveDocument").toObject();
        EXPECT_NE(app->get(u"HWND").toInt(), 0);
        EXPECT_NE(doc->get(u"HWND").toInt(), 0);
        // The window's drawing view has told the session its size.
        const Variant screen = doc->call(u"GetVariable", {Variant(u"SCREENSIZE")});
        EXPECT_GT(screen.at(0).toInt(), 100);
        EXPECT_GT(screen.at(1).toInt(), 100);
        EXPECT_NE(screen.at(0).toInt(), 1000);  // not the session's value before any window existed
        EXPECT_GT(doc->get(u"Layers").toObject()->get(u"Count").toInt(), 1);
    }
    auto client = connect();
    EXPECT_FALSE(client->service(u"IsIconic").toBool());
    EXPECT_FALSE(client->service(u"Escape").toBool());
}

TEST_F(KelvoCadProcessTest, EscapeCancelsAPickAndOtherProgIdsWaitMeanwhile)
{
    std::atomic<bool> pickFailed{false};
    std::thread picker([&] {
        auto client = connect();
        ObjectRef doc = client->rootObject()->get(u"ActiveDocument").toObject();
        ObjectRef set = doc->get(u"SelectionSets").toObject()->call(u"Add", {Variant(u"P")}).toObject();
        try {
            set->call(u"SelectOnScreen");
        } catch (const AutomationError&) {
            pickFailed = true;
        }
    });
    auto control = connect();
    ASSERT_TRUE(waitForPick(*control));

    // A call through the other ProgID is told to wait: it may only be answered after the pick.
    // The other ProgID's server counts the calls it turns away; the pick ends only once it
    // has turned this one away twice, so the call was asked while the pick ran and asked
    // again.
    const auto otherServer = connect(otherProgId);
    const auto busyAnswers = [&otherServer] { return otherServer->service(u"Statistics").doubleAt(2); };
    const double busyBefore = busyAnswers();
    std::atomic<bool> answered{false};
    std::atomic<bool> answeredDuringPick{false};
    std::thread other([&] {
        auto client = connect(otherProgId);
        client->rootObject()->get(u"HWND");
        answeredDuringPick = client->service(u"PickInProgress").toBool();
        answered = true;
    });
    const QDeadlineTimer deadline(startMs);
    while (busyAnswers() < busyBefore + 2 && !answered && !deadline.hasExpired())
        QThread::msleep(10);
    EXPECT_GE(busyAnswers() - busyBefore, 2) << "the call through the other ProgID was not turned away while the pick ran";
    EXPECT_TRUE(control->service(u"Escape").toBool());
    picker.join();
    other.join();
    EXPECT_TRUE(pickFailed);
    EXPECT_FALSE(answeredDuringPick);
}

TEST_F(KelvoCadProcessTest, EndingDuringAPickFailsTheCallAndStopsServing)
{
    std::atomic<bool> pickFailed{false};
    std::thread picker([&] {
        auto client = connect();
        ObjectRef doc = client->rootObject()->get(u"ActiveDocument").toObject();
        ObjectRef set = doc->get(u"SelectionSets").toObject()->call(u"Add", {Variant(u"P")}).toObject();
        try {
            set->call(u"SelectOnScreen");
        } catch (const AutomationError&) {
            pickFailed = true;
        }
    });
    {
        auto control = connect();
        ASSERT_TRUE(waitForPick(*control));
    }
    process.terminate();
    picker.join();
    EXPECT_TRUE(pickFailed);
    ASSERT_TRUE(process.waitForFinished(startMs));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 0);

    SocketRunningObjects table(*directory, quickRetry);
    EXPECT_FALSE(table.isRunning(progId));
    EXPECT_FALSE(table.isRunning(otherProgId));
}

TEST_F(KelvoCadProcessTest, PlannedPickWriteAndUndoAcrossTheProcessBoundary)
{
    auto client = connect();
    ObjectRef doc = client->rootObject()->get(u"ActiveDocument").toObject();
    ObjectRef all = doc->get(u"SelectionSets").toObject()->call(u"Add", {Variant(u"ALL")}).toObject();
    all->call(u"Select", {Variant(5), Variant::omitted(), Variant::omitted(), Variant::int16Array({0}),
                          Variant::variantArray({Variant(u"TEXT")})});
    ASSERT_GE(all->get(u"Count").toInt(), 2);
    const std::u16string first = all->call(u"Item", {Variant(0)}).toObject()->get(u"Handle").toString();
    const std::u16string second = all->call(u"Item", {Variant(1)}).toObject()->get(u"Handle").toString();

    client->service(u"NextPickReturns", std::vector<Variant>{Variant::variantArray({Variant(second), Variant(first)})});
    ObjectRef picked = doc->get(u"SelectionSets").toObject()->call(u"Add", {Variant(u"PICK")}).toObject();
    picked->call(u"SelectOnScreen");
    ASSERT_EQ(picked->get(u"Count").toInt(), 2);
    ObjectRef text = picked->call(u"Item", {Variant(0)}).toObject();
    EXPECT_EQ(text->get(u"Handle").toString(), second);
    const std::u16string before = text->get(u"TextString").toString();

    doc->call(u"StartUndoMark");
    text->put(u"TextString", Variant(u"CHANGED"));
    text->put(u"TextString", Variant(u"CHANGED AGAIN"));
    doc->call(u"EndUndoMark");
    EXPECT_EQ(text->get(u"TextString").toString(), u"CHANGED AGAIN");
    EXPECT_TRUE(client->service(u"Undo").toBool());
    EXPECT_EQ(text->get(u"TextString").toString(), before);
}

// The figures a benchmark reads: calls that ran (failed ones too), window-service requests,
// and the exported-object table, which is back where it was once a client has gone.
TEST_F(KelvoCadProcessTest, StatisticsCountWhatAClientCost)
{
    const auto control = connect();
    struct Figures {
        int64_t accesses, exported, services;
    };
    const auto figures = [&control] {
        const Variant answer = control->service(u"Statistics");
        return Figures{static_cast<int64_t>(answer.doubleAt(0)), static_cast<int64_t>(answer.doubleAt(1)),
                       static_cast<int64_t>(answer.doubleAt(3))};
    };
    const Figures baseline = figures();

    auto client = connect();
    ObjectRef doc = client->rootObject()->get(u"ActiveDocument").toObject();
    const Figures attached = figures();
    EXPECT_GT(attached.exported, baseline.exported);
    for (int i = 0; i < 3; ++i)
        doc->call(u"GetVariable", {Variant(u"VIEWSIZE")});
    EXPECT_THROW(doc->get(u"NoSuchMember"), AutomationError);
    client->service(u"IsIconic", std::vector<Variant>{Variant(0)});
    const Figures used = figures();
    EXPECT_EQ(used.accesses - attached.accesses, 4);
    EXPECT_EQ(used.services - attached.services, 1);

    doc.reset();
    client.reset();
    Figures after = figures();
    const QDeadlineTimer deadline(startMs);
    while (after.exported != baseline.exported && !deadline.hasExpired()) {
        QThread::msleep(10);
        after = figures();
    }
    EXPECT_EQ(after.exported, baseline.exported);
    EXPECT_EQ(after.accesses, used.accesses) << "reading the figures is no member access";
}

TEST_F(KelvoCadProcessTest, ASecondInstanceCannotTakeOverAServedProgId)
{
    QProcess second;
    second.setProcessEnvironment(process.processEnvironment());
    second.start(QStringLiteral(KELVOCAD_EXECUTABLE), {QStringLiteral("--progid"), QString::fromStdU16String(progId)});
    ASSERT_TRUE(second.waitForFinished(startMs));
    EXPECT_NE(second.exitCode(), 0);
    EXPECT_TRUE(second.readAllStandardError().contains("KelvoCadTest.App"));
    // The first one still serves.
    SocketRunningObjects table(*directory, quickRetry);
    EXPECT_TRUE(table.isRunning(progId));
}

// The program started with a DXF file on its command line.
class KelvoCadWithFileTest : public KelvoCadProcessTest {
protected:
    void SetUp() override
    {
        QFile file(runtime.filePath(QStringLiteral("plan.dxf")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1015\n0\nENDSEC\n0\nSECTION\n2\nENTITIES\n"
                   "0\nTEXT\n5\n2A\n8\n0\n10\n1\n20\n2\n30\n0\n40\n2.5\n1\nFROM THE FILE\n0\nENDSEC\n0\nEOF\n");
        file.close();
        start({file.fileName()});
    }
};

TEST_F(KelvoCadWithFileTest, ServesTheDrawingOfTheFileNamed)
{
    SocketRunningObjects table(*directory, quickRetry);
    ObjectRef doc = table.activeObject(progId)->get(u"ActiveDocument").toObject();
    ObjectRef text = doc->call(u"HandleToObject", {Variant(u"2A")}).toObject();
    EXPECT_EQ(text->get(u"TextString").toString(), u"FROM THE FILE");
}

TEST(KelvoCadProgram, RefusesADrawingItCannotRead)
{
    QTemporaryDir runtime;
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(KELVOCAD_EXECUTABLE),
                  {QStringLiteral("--progid"), QStringLiteral("KelvoCadTest.None"), runtime.filePath("missing.dxf")});
    ASSERT_TRUE(program.waitForFinished(startMs));
    EXPECT_EQ(program.exitCode(), 2);
    EXPECT_TRUE(program.readAllStandardError().contains("missing.dxf"));
    // Nothing was served.
    SocketRunningObjects table(RunningObjectDirectory(std::filesystem::path(runtime.path().toStdString()) / "kelvoedit"));
    EXPECT_THROW(table.isRunning(u"KelvoCadTest.None"), AutomationError);
}

}  // namespace
}  // namespace kelvocad::test
