// The window services with KelvoCAD as the host: which steps become requests to the host
// (by which name, with which arguments), which stay in this program, and what a missing
// host answers.

#include "ServerThread.h"
#include "TestObjects.h"

#include "automation/AutomationError.h"
#include "automation/socket/RunningObjectDirectory.h"
#include "automation/socket/SocketRunningObjects.h"
#include "cadlink/platform/KelvoCadWindowServices.h"
#include "cadlink/platform/LocalWindowHandles.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <vector>

namespace cadlink::platform::test {
namespace {

using automation::Variant;
using automation::socket::RunningObjectDirectory;
using automation::socket::SocketRunningObjects;
using automation::socket::SocketServer;

constexpr WindowHandle hostWindow = 4711;

// A host that answers its window services from plain fields and writes down each request.
struct FakeHost {
    std::mutex mutex;
    std::vector<std::string> requests;
    bool iconic = false;
    bool active = false;
    std::vector<Variant> lastMarker;

    void record(const std::u16string& name, std::span<const Variant> args)
    {
        std::string line(name.begin(), name.end());
        for (const auto& a : args)
            if (a.type() == automation::VariantType::Int32)
                line += " " + std::to_string(a.toInt());
        std::lock_guard lock(mutex);
        requests.push_back(line);
    }

    std::vector<std::string> take()
    {
        std::lock_guard lock(mutex);
        return std::exchange(requests, {});
    }

    void install(SocketServer& server)
    {
        auto handler = [this](std::u16string name, auto answer) {
            return [this, name, answer](std::span<const Variant> args) {
                record(name, args);
                return answer(args);
            };
        };
        server.setServiceHandler(u"IsIconic", handler(u"IsIconic", [this](auto) { return Variant(iconic); }));
        server.setServiceHandler(u"OpenIcon", handler(u"OpenIcon", [this](auto) {
                                     iconic = false;
                                     return Variant(true);
                                 }));
        server.setServiceHandler(u"SetForegroundWindow", handler(u"SetForegroundWindow", [this](auto) {
                                     active = true;
                                     return Variant(true);
                                 }));
        server.setServiceHandler(u"BringToFront", handler(u"BringToFront", [this](auto) {
                                     active = true;
                                     return Variant(true);
                                 }));
        server.setServiceHandler(u"ForegroundWindow", handler(u"ForegroundWindow", [this](auto) {
                                     return Variant(static_cast<int32_t>(active ? hostWindow : 0));
                                 }));
        server.setServiceHandler(u"Escape", handler(u"Escape", [](auto) { return Variant(false); }));
        server.setServiceHandler(u"DrawMarker", handler(u"DrawMarker", [this](std::span<const Variant> args) {
                                     std::lock_guard lock(mutex);
                                     lastMarker.assign(args.begin(), args.end());
                                     return Variant(true);
                                 }));
    }
};

class KelvoCadWindowServicesTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        directory_.emplace(std::filesystem::path(dir_.path().toStdString()) / "objects");
        server_ = std::make_unique<sockettest::ServerThread>(std::make_shared<sockettest::TestRoot>());
        server_->run([&](SocketServer& s) {
            host_.install(s);
            s.serve(*directory_, u"Host.Application");
        });
        runningObjects_.emplace(*directory_, std::chrono::milliseconds(5));
        services_.emplace(*runningObjects_, [this] { return progId_; });
    }

    QTemporaryDir dir_;
    std::optional<RunningObjectDirectory> directory_;
    FakeHost host_;
    std::unique_ptr<sockettest::ServerThread> server_;
    std::optional<SocketRunningObjects> runningObjects_;
    std::u16string progId_ = u"Host.Application";
    std::optional<KelvoCadWindowServices> services_;
};

TEST_F(KelvoCadWindowServicesTest, StepsOnTheHostsWindowAreRequestsToTheHost)
{
    auto& s = *services_;
    host_.iconic = true;
    EXPECT_TRUE(s.isIconic(hostWindow));
    s.openIcon(hostWindow);
    EXPECT_FALSE(s.isIconic(hostWindow));
    EXPECT_TRUE(s.setForegroundWindow(hostWindow));
    EXPECT_EQ(s.foregroundWindow(), hostWindow);
    s.sendEscape();
    s.bringWindowToTop(hostWindow);
    EXPECT_EQ(s.windowThread(hostWindow), 0u);
    s.attachThreadInput(1, 0, true);  // nothing to do, nothing asked
    EXPECT_EQ(host_.take(), (std::vector<std::string>{"IsIconic 4711", "OpenIcon 4711", "IsIconic 4711",
                                                      "SetForegroundWindow 4711", "ForegroundWindow",
                                                      "ForegroundWindow", "Escape", "BringToFront 4711"}));

    const MarkerPoint triangle[] = {{500, 300}, {450, 275}, {450, 325}, {500, 300}};
    s.drawMarker(hostWindow, triangle, 4, 3, 0x006464FF, true);
    std::vector<Variant> marker;
    {
        std::lock_guard lock(host_.mutex);
        marker = host_.lastMarker;
    }
    ASSERT_EQ(marker.size(), 5u);
    EXPECT_EQ(marker[0].toInt(), hostWindow);
    ASSERT_TRUE(marker[1].isArray());
    std::vector<int32_t> flat;
    for (const auto& v : marker[1].elements())
        flat.push_back(v.toInt());
    EXPECT_EQ(flat, (std::vector<int32_t>{500, 300, 450, 275, 450, 325, 500, 300}));
    EXPECT_EQ(marker[2].toInt(), 3);
    EXPECT_EQ(marker[3].toInt(), 0x006464FF);
    EXPECT_TRUE(marker[4].toBool());
}

TEST_F(KelvoCadWindowServicesTest, StepsOnOwnWindowsStayHere)
{
    QWidget own;
    own.setWindowTitle(QStringLiteral("nanoCAD 5"));
    own.show();
    const WindowHandle handle = localHandle(own);
    EXPECT_TRUE(isLocalHandle(handle));
    EXPECT_FALSE(isLocalHandle(hostWindow));
    EXPECT_FALSE(isLocalHandle(0));
    EXPECT_EQ(localWindow(handle), &own);
    // A host window id with the same number as ours is still the host's.
    EXPECT_EQ(localWindow(static_cast<WindowHandle>(own.winId())), nullptr);

    auto& s = *services_;
    EXPECT_TRUE(s.topLevelWindowExists(u"nanoCAD 5"));
    EXPECT_FALSE(s.topLevelWindowExists(u"nanoCAD 5 "));
    EXPECT_EQ(s.windowThread(handle), KelvoCadWindowServices::ownThread);
    own.showMinimized();
    EXPECT_TRUE(s.isIconic(handle));
    s.openIcon(handle);
    EXPECT_FALSE(s.isIconic(handle));
    s.bringWindowToTop(handle);
    const MarkerPoint line[] = {{0, 0}, {10, 10}};
    s.drawMarker(handle, line, 2, 3, 0, false);
    EXPECT_TRUE(host_.take().empty());
}

TEST_F(KelvoCadWindowServicesTest, WithoutAHostStepsAnswerAsForAWindowThatDoesNotExist)
{
    struct Case {
        const char* what;
        std::function<void()> arrange;
    } cases[] = {
        // In this order: the second case takes the host away for good.
        {"ProgID nobody registered", [this] { progId_ = u"Nobody.Application"; }},
        {"host gone", [this] {
             progId_ = u"Host.Application";
             server_->run([](SocketServer& s) { s.close(); });
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        c.arrange();
        auto& s = *services_;
        host_.iconic = true;
        host_.active = true;
        EXPECT_FALSE(s.isIconic(hostWindow));
        EXPECT_NO_THROW(s.openIcon(hostWindow));
        EXPECT_FALSE(s.setForegroundWindow(hostWindow));
        EXPECT_NE(s.foregroundWindow(), hostWindow);
        EXPECT_NO_THROW(s.sendEscape());
        EXPECT_NO_THROW(s.bringWindowToTop(hostWindow));
        const MarkerPoint line[] = {{0, 0}, {10, 10}};
        EXPECT_NO_THROW(s.drawMarker(hostWindow, line, 2, 3, 0, false));
        EXPECT_TRUE(host_.take().empty());
    }
}

TEST_F(KelvoCadWindowServicesTest, FollowsAChangeOfTargetProgId)
{
    FakeHost other;
    other.iconic = true;
    sockettest::ServerThread otherServer(std::make_shared<sockettest::TestRoot>());
    otherServer.run([&](SocketServer& s) {
        other.install(s);
        s.serve(*directory_, u"Other.Application");
    });
    EXPECT_FALSE(services_->isIconic(hostWindow));
    progId_ = u"Other.Application";
    EXPECT_TRUE(services_->isIconic(hostWindow));
    EXPECT_EQ(host_.take().size(), 1u);
    EXPECT_EQ(other.take().size(), 1u);
}

}  // namespace
}  // namespace cadlink::platform::test
