#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QThread>

#include <csignal>
#include <filesystem>

namespace {

// A logout, a closed terminal or a `kill` ends kelvoedit as a close of its window does: the
// settings and both lists are written beside the program.
TEST(TerminationSignal, EndsTheProgramAsACloseDoes)
{
    for (const int signalNumber : {SIGTERM, SIGHUP}) {
        SCOPED_TRACE(signalNumber == SIGTERM ? "SIGTERM" : "SIGHUP");
        QTemporaryDir folder;
        QTemporaryDir runtimeDir;
        const QString program = folder.filePath(QStringLiteral("kelvoedit"));
        ASSERT_TRUE(QFile::copy(QStringLiteral(KELVOEDIT_EXECUTABLE), program));

        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir.path());
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(program, {});
        ASSERT_TRUE(process.waitForStarted());

        // The lock is taken after the signals are caught, so from then on a signal is safe.
        const auto lockPath = std::filesystem::path(runtimeDir.path().toStdU16String()) / "kelvoedit.lock";
        for (int attempt = 0; attempt < 600 && !std::filesystem::exists(lockPath); ++attempt)
            QThread::msleep(50);
        ASSERT_TRUE(std::filesystem::exists(lockPath)) << process.readAllStandardError().toStdString();

        ASSERT_EQ(::kill(static_cast<pid_t>(process.processId()), signalNumber), 0);
        ASSERT_TRUE(process.waitForFinished(60000));
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit) << process.readAllStandardError().toStdString();
        EXPECT_EQ(process.exitCode(), 0);
        for (const char* name : {"kelvoedit.ini", "KelvoEditTagList.txt", "KelvoEdit2ATagList.txt"}) {
            const QFileInfo file(folder.filePath(QString::fromLatin1(name)));
            EXPECT_TRUE(file.exists() && file.size() > 0) << name;
        }
    }
}

}  // namespace
