#include "KelvoCadProcess.h"

#include "automation/Variant.h"
#include "automation/socket/SocketClient.h"

#include <QDeadlineTimer>

#include <chrono>
#include <csignal>

namespace e2e {

using automation::ObjectRef;
using automation::Variant;

KelvoCadProcess::KelvoCadProcess(QString drawingFile, int startMs)
    : drawingFile_(std::move(drawingFile)), startMs_(startMs)
{
    directory_.emplace(std::filesystem::path(runtime_.path().toStdString()) / "objects");
}

KelvoCadProcess::~KelvoCadProcess()
{
    if (process_.state() != QProcess::NotRunning) {
        process_.terminate();
        if (!process_.waitForFinished(startMs_))
            process_.kill();
        process_.waitForFinished(startMs_);
    }
}

bool KelvoCadProcess::start()
{
    if (!runtime_.isValid()) {
        error_ = "no temporary directory";
        return false;
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("KELVOEDIT_RUNTIME_DIR"), QString::fromStdString(directory_->path().string()));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process_.setProcessEnvironment(environment);
    process_.setProcessChannelMode(QProcess::SeparateChannels);
    QStringList arguments{QStringLiteral("--progid"), QString::fromUtf16(progId)};
    if (!drawingFile_.isEmpty())
        arguments << drawingFile_;
    process_.start(QStringLiteral(KELVOCAD_EXECUTABLE), arguments);
    if (!process_.waitForStarted(startMs_)) {
        error_ = "kelvocad did not start";
        return false;
    }
    // The program says when it serves.
    QByteArray out;
    const QDeadlineTimer deadline(startMs_);
    while (!out.contains("serving") && !deadline.hasExpired() && process_.state() == QProcess::Running) {
        process_.waitForReadyRead(200);
        out += process_.readAllStandardOutput();
    }
    if (!out.contains("serving")) {
        error_ = "kelvocad does not serve: " + out.toStdString() + process_.readAllStandardError().toStdString();
        return false;
    }
    return true;
}

void KelvoCadProcess::kill()
{
    ::kill(static_cast<pid_t>(process_.processId()), SIGKILL);
}

std::shared_ptr<automation::socket::SocketClient> KelvoCadProcess::connect() const
{
    return automation::socket::SocketClient::connect(directory_->socketPath(progId), std::chrono::milliseconds(20));
}

std::u16string handleOfText(automation::Object& document, const std::u16string& text)
{
    const ObjectRef sets = document.get(u"SelectionSets").toObject();
    const ObjectRef set = sets->call(u"Add", {Variant(u"E2E-LOOKUP")}).toObject();
    set->call(u"Select", {Variant(5), Variant::omitted(), Variant::omitted(), Variant::int16Array({0, 1}),
                          Variant::variantArray({Variant(u"TEXT"), Variant(text)})});
    std::u16string handle;
    if (set->get(u"Count").toInt() == 1)
        handle = set->call(u"Item", {Variant(0)}).toObject()->get(u"Handle").toString();
    set->call(u"Delete");
    return handle;
}

std::u16string textOf(automation::Object& document, const std::u16string& handle)
{
    return document.call(u"HandleToObject", {Variant(handle)}).toObject()->get(u"TextString").toString();
}

}  // namespace e2e
