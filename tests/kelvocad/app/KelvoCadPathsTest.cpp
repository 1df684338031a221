// The kelvocad program with blanks, quotes, shell syntax and Japanese in the path of its
// drawing and of its running-object directory.
#include "automation/Object.h"
#include "automation/socket/RunningObjectDirectory.h"
#include "automation/socket/SocketRunningObjects.h"

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <filesystem>

namespace kelvocad::test {
namespace {

using automation::ObjectRef;
using automation::Variant;
using automation::socket::RunningObjectDirectory;
using automation::socket::SocketRunningObjects;

constexpr int startMs = 60000;

TEST(KelvoCadPaths, DrawingAndRunningObjectDirectoryWithUnusualNames)
{
    struct Case {
        QString drawing;     // relative to a fresh temporary folder
        QString runtimeDir;  // likewise; kelvocad makes "kelvoedit" inside it
    } cases[] = {
        {QStringLiteral("a b/図面 'x'.dxf"), QStringLiteral("run dir")},
        {QStringLiteral("it's \"q\"/$(touch injected);y `id`.dxf"), QStringLiteral("実行 'q' $(x)")},
        {QStringLiteral("-n/&|<>*?.dxf"), QStringLiteral("-r \"\\\"")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.drawing.toStdString());
        QTemporaryDir base;
        ASSERT_TRUE(base.isValid());
        const QString drawing = base.filePath(c.drawing);
        const QString runtime = base.filePath(c.runtimeDir);
        ASSERT_TRUE(QDir().mkpath(QFileInfo(drawing).path()));
        ASSERT_TRUE(QDir().mkpath(runtime));
        QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        {
            QFile file(drawing);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write("0\nSECTION\n2\nENTITIES\n0\nTEXT\n5\n2A\n8\n0\n10\n1\n20\n2\n30\n0\n40\n2.5\n1\nODD PATH\n"
                       "0\nENDSEC\n0\nEOF\n");
        }

        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("KELVOEDIT_RUNTIME_DIR"));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        program.setProcessEnvironment(environment);
        program.setWorkingDirectory(base.path());
        program.start(QStringLiteral(KELVOCAD_EXECUTABLE), {QStringLiteral("--progid"), QStringLiteral("KelvoCadTest.Paths"), drawing});
        ASSERT_TRUE(program.waitForStarted(startMs));
        QByteArray out;
        const QDeadlineTimer deadline(startMs);
        while (!out.contains('\n') && !deadline.hasExpired() && program.state() == QProcess::Running) {
            program.waitForReadyRead(200);
            out += program.readAllStandardOutput();
        }
        ASSERT_TRUE(out.contains("serving")) << out.constData() << program.readAllStandardError().constData();

        const RunningObjectDirectory directory(std::filesystem::path(runtime.toStdU16String()) / "kelvoedit");
        SocketRunningObjects table(directory, std::chrono::milliseconds(20));
        {
            ObjectRef document = table.activeObject(u"KelvoCadTest.Paths")->get(u"ActiveDocument").toObject();
            EXPECT_EQ(document->get(u"Name").toString(), QFileInfo(drawing).fileName().toStdU16String());
            EXPECT_EQ(document->call(u"HandleToObject", {Variant(u"2A")}).toObject()->get(u"TextString").toString(),
                      u"ODD PATH");
        }
        program.terminate();
        ASSERT_TRUE(program.waitForFinished(startMs));
        EXPECT_EQ(program.exitCode(), 0);
        EXPECT_FALSE(QFile::exists(base.filePath(QStringLiteral("injected"))));
    }
}

}  // namespace
}  // namespace kelvocad::test
