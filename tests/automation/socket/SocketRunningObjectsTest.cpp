#include "ServerThread.h"
#include "TestObjects.h"

#include "automation/AutomationError.h"
#include "automation/socket/RunningObjectDirectory.h"
#include "automation/socket/SocketRunningObjects.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using automation::AutomationError;
using automation::ObjectRef;
using automation::Variant;
using automation::socket::RunningObjectDirectory;
using automation::socket::SocketRunningObjects;
using automation::socket::SocketServer;
using sockettest::ServerThread;
namespace hr = automation::hr;

namespace {

int32_t errorCode(const std::function<void()>& f)
{
    try {
        f();
    } catch (const AutomationError& e) {
        return e.code();
    }
    ADD_FAILURE() << "did not fail";
    return 0;
}

mode_t modeOf(const std::filesystem::path& path)
{
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0);
    return st.st_mode & 07777;
}

class SocketRunningObjectsTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(temp_.isValid()); }

    std::filesystem::path base() const { return temp_.path().toStdString(); }
    RunningObjectDirectory directory() const { return RunningObjectDirectory(base() / "rot"); }

    QTemporaryDir temp_;
};

TEST_F(SocketRunningObjectsTest, FollowsRegistrationAndServerLifetime)
{
    SocketRunningObjects table(directory(), std::chrono::milliseconds(5));
    EXPECT_EQ(errorCode([&] { table.isRunning(u"Kelvo.Nobody"); }), hr::InvalidClassString);
    EXPECT_EQ(errorCode([&] { table.activeObject(u"Kelvo.Nobody"); }), hr::InvalidClassString);
    EXPECT_EQ(errorCode([&] { table.isRunning(u""); }), hr::InvalidClassString);

    {
        ServerThread server(std::make_shared<sockettest::TestRoot>());
        // One server may answer under several ProgIDs.
        server.run([&](SocketServer& s) {
            s.serve(directory(), u"KelvoCAD.Application");
            s.serve(directory(), u"Kelvo.Second");
        });
        EXPECT_TRUE(table.isRunning(u"kelvo.second"));
        for (const char16_t* spelling : {u"KelvoCAD.Application", u"kelvocad.application", u"KELVOCAD.APPLICATION"}) {
            EXPECT_TRUE(table.isRunning(spelling));
            const ObjectRef root = table.activeObject(spelling);
            EXPECT_EQ(root->call(u"Echo", {Variant(u"attached")}).toString(), u"attached");
        }
        EXPECT_EQ(errorCode([&] { table.isRunning(u"KelvoCAD.Application.2"); }), hr::InvalidClassString);

        // A second server for the same ProgID is refused while the first one answers.
        ServerThread rival(std::make_shared<sockettest::TestRoot>());
        EXPECT_EQ(errorCode([&] { rival.run([&](SocketServer& s) { s.serve(directory(), u"kelvocad.APPLICATION"); }); }),
                  hr::Fail);
        EXPECT_TRUE(table.isRunning(u"KelvoCAD.Application"));
    }

    // The registration outlives the server, as a class registration does.
    EXPECT_FALSE(table.isRunning(u"KelvoCAD.Application"));
    EXPECT_FALSE(table.isRunning(u"Kelvo.Second"));
    EXPECT_EQ(errorCode([&] { table.activeObject(u"KelvoCAD.Application"); }), hr::NotRunning);

    // A new server takes over the name.
    ServerThread again(std::make_shared<sockettest::TestRoot>());
    again.run([&](SocketServer& s) { s.serve(directory(), u"KelvoCAD.Application"); });
    EXPECT_TRUE(table.isRunning(u"KelvoCAD.Application"));
}

TEST_F(SocketRunningObjectsTest, StaleSocketOfADeadServerIsNotRunningAndIsReplaced)
{
    const auto dir = directory();
    dir.registerProgId(u"Kelvo.Stale");
    // What a killed server leaves behind: a socket file nobody listens on.
    {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray name = dir.socketPath(u"Kelvo.Stale").toLocal8Bit();
        std::memcpy(address.sun_path, name.constData(), static_cast<size_t>(name.size()));
        ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        ::close(fd);
        ASSERT_TRUE(std::filesystem::exists(name.toStdString()));
    }
    SocketRunningObjects table(dir);
    EXPECT_FALSE(table.isRunning(u"Kelvo.Stale"));
    ServerThread server(std::make_shared<sockettest::TestRoot>());
    server.run([&](SocketServer& s) { s.serve(dir, u"Kelvo.Stale"); });
    EXPECT_TRUE(table.isRunning(u"Kelvo.Stale"));
}

TEST_F(SocketRunningObjectsTest, DirectoryIsPrivateOrRefused)
{
    const auto path = base() / "rot";
    directory().registerProgId(u"Kelvo.Private");
    EXPECT_EQ(modeOf(path), 0700u);

    for (mode_t wider : {0755, 0710, 0702, 0777, 01777}) {
        SCOPED_TRACE(wider);
        ASSERT_EQ(::chmod(path.c_str(), wider), 0);
        SocketRunningObjects table(directory());
        EXPECT_EQ(errorCode([&] { table.isRunning(u"Kelvo.Private"); }), hr::Fail);
        EXPECT_EQ(errorCode([&] { directory().registerProgId(u"Kelvo.Other"); }), hr::Fail);
        EXPECT_EQ(modeOf(path), wider) << "the directory's mode must not be changed behind the user's back";
    }
    ::chmod(path.c_str(), 0700);

    // A private directory of another user's is not ours to trust either. Only root can give
    // it away.
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(path.c_str(), 12345, 12345), 0);
        EXPECT_EQ(errorCode([&] { directory().ensurePrivate(); }), hr::Fail);
        EXPECT_EQ(errorCode([&] { SocketRunningObjects(directory()).isRunning(u"Kelvo.Private"); }), hr::Fail);
        ASSERT_EQ(::chown(path.c_str(), ::geteuid(), ::getegid()), 0);
    }
    directory().ensurePrivate();

    // A file or a link in the directory's place is refused too.
    const auto link = base() / "link";
    std::filesystem::create_directory_symlink(path, link);
    EXPECT_EQ(errorCode([&] { RunningObjectDirectory(link).ensurePrivate(); }), hr::Fail);
}

TEST_F(SocketRunningObjectsTest, DefaultDirectoryIsPerUser)
{
    const auto restore = [](const char* name, const char* old) {
        if (old)
            ::setenv(name, old, 1);
        else
            ::unsetenv(name);
    };
    const char* oldOwn = std::getenv("KELVOEDIT_RUNTIME_DIR");
    const std::string savedOwn = oldOwn ? oldOwn : "";
    const char* oldXdg = std::getenv("XDG_RUNTIME_DIR");
    const std::string savedXdg = oldXdg ? oldXdg : "";

    ::unsetenv("KELVOEDIT_RUNTIME_DIR");
    ::setenv("XDG_RUNTIME_DIR", base().c_str(), 1);
    EXPECT_EQ(RunningObjectDirectory::userDefault().path(), base() / "kelvoedit");
    ::setenv("XDG_RUNTIME_DIR", (base() / "missing").c_str(), 1);
    EXPECT_EQ(RunningObjectDirectory::userDefault().path().string(), "/tmp/kelvoedit-" + std::to_string(::getuid()));
    ::setenv("KELVOEDIT_RUNTIME_DIR", (base() / "own").c_str(), 1);
    EXPECT_EQ(RunningObjectDirectory::userDefault().path(), base() / "own");

    restore("KELVOEDIT_RUNTIME_DIR", oldOwn ? savedOwn.c_str() : nullptr);
    restore("XDG_RUNTIME_DIR", oldXdg ? savedXdg.c_str() : nullptr);
}

TEST_F(SocketRunningObjectsTest, UnusualProgIdsGetSafeDistinctNames)
{
    const auto dir = directory();
    const std::u16string ids[] = {u"../escape", u"a/b", u"名前.App", std::u16string(300, u'x'), u"Plain.Id"};
    for (const auto& id : ids)
        dir.registerProgId(id);
    for (const auto& id : ids) {
        EXPECT_TRUE(dir.isRegistered(id));
        EXPECT_TRUE(dir.socketPath(id).startsWith(QString::fromStdString(dir.path().string()) + "/"));
        EXPECT_LT(dir.socketPath(id).size(), 108);
    }
    EXPECT_FALSE(dir.isRegistered(u"a_b"));
    EXPECT_FALSE(dir.isRegistered(u"escape"));
    EXPECT_NE(dir.socketPath(u"a/b"), dir.socketPath(u"a_b"));
}

}  // namespace
