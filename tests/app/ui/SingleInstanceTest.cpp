#include "app/SingleInstanceLock.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QThread>

#include <sys/stat.h>
#include <unistd.h>

namespace {

TEST(SingleInstanceLock, OnlyOneHolderAtATime)
{
    QTemporaryDir dir;
    const auto path = std::filesystem::path(dir.path().toStdU16String()) / "kelvoedit.lock";
    {
        app::SingleInstanceLock first(path);
        ASSERT_TRUE(first.tryAcquire());
        app::SingleInstanceLock second(path);
        EXPECT_FALSE(second.tryAcquire());
    }
    app::SingleInstanceLock afterFirstEnded(path);
    EXPECT_TRUE(afterFirstEnded.tryAcquire());
}

// In a shared /tmp another user may hold a file of the lock's name; it does not lock this
// user out. Only root can make a file of another user's.
TEST(SingleInstanceLock, AnotherUsersFileUnderTheNameLocksNobodyOut)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "making a file of another user's needs root";
    QTemporaryDir dir;
    const auto path = std::filesystem::path(dir.path().toStdU16String()) / "kelvoedit.lock";
    app::SingleInstanceLock foreign(path);
    ASSERT_TRUE(foreign.tryAcquire());
    ASSERT_EQ(::chown(path.c_str(), 12345, 12345), 0);
    ASSERT_EQ(::chmod(path.c_str(), 0666), 0);
    app::SingleInstanceLock ours(path);
    EXPECT_TRUE(ours.tryAcquire());
}

// A second kelvoedit ends at once, silently, and leaves the first one running.
TEST(SingleInstanceLock, SecondStartEndsSilently)
{
    QTemporaryDir runtimeDir;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir.path());
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));

    QProcess first;
    first.setProcessEnvironment(environment);
    first.start(QStringLiteral(KELVOEDIT_EXECUTABLE), {});
    ASSERT_TRUE(first.waitForStarted());

    // Wait until the first instance has created its lock file and has had time to lock it. A
    // probe that took the lock first would make the first instance end: then this test
    // fails, it cannot pass by accident.
    const auto lockPath = std::filesystem::path(runtimeDir.path().toStdU16String()) / "kelvoedit.lock";
    for (int attempt = 0; attempt < 600 && !std::filesystem::exists(lockPath); ++attempt)
        QThread::msleep(50);
    QThread::msleep(300);
    {
        app::SingleInstanceLock probe(lockPath);
        ASSERT_FALSE(probe.tryAcquire()) << first.readAllStandardError().toStdString();
    }

    QProcess second;
    second.setProcessEnvironment(environment);
    second.start(QStringLiteral(KELVOEDIT_EXECUTABLE), {});
    ASSERT_TRUE(second.waitForFinished(60000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_TRUE(second.readAllStandardOutput().isEmpty());
    EXPECT_TRUE(second.readAllStandardError().isEmpty());
    EXPECT_EQ(first.state(), QProcess::Running);

    first.kill();
    first.waitForFinished();
}

}  // namespace
