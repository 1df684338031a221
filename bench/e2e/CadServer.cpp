#include "CadServer.h"

#include "automation/Variant.h"
#include "automation/socket/SocketClient.h"

#include <QDeadlineTimer>

#include <chrono>

namespace bench::e2e {

using automation::Variant;

namespace {

// A drawing of 100,000 entities takes a while to read and to show on a busy machine.
constexpr int startMs = 300000;

}  // namespace

CadServer::CadServer(QString drawingFile) : drawingFile_(std::move(drawingFile))
{
    directory_.emplace(std::filesystem::path(runtime_.path().toStdString()) / "objects");
}

CadServer::~CadServer()
{
    document_.reset();
    control_.reset();
    if (process_.state() != QProcess::NotRunning) {
        process_.terminate();
        if (!process_.waitForFinished(60000))
            process_.kill();
        process_.waitForFinished(60000);
    }
}

bool CadServer::start()
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
    process_.start(QStringLiteral(KELVOCAD_EXECUTABLE),
                   {QStringLiteral("--progid"), QString::fromUtf16(progId), drawingFile_});
    if (!process_.waitForStarted(startMs)) {
        error_ = "kelvocad did not start";
        return false;
    }
    QByteArray out;
    const QDeadlineTimer deadline(startMs);
    while (!out.contains("serving") && !deadline.hasExpired() && process_.state() == QProcess::Running) {
        process_.waitForReadyRead(200);
        out += process_.readAllStandardOutput();
    }
    if (!out.contains("serving")) {
        error_ = "kelvocad does not serve: " + out.toStdString() + process_.readAllStandardError().toStdString();
        return false;
    }
    control_ = automation::socket::SocketClient::connect(directory_->socketPath(progId), std::chrono::milliseconds(20));
    document_ = control_->rootObject()->get(u"ActiveDocument").toObject();
    return true;
}

ServerStatistics CadServer::statistics()
{
    const Variant answer = control_->service(u"Statistics");
    const auto at = [&answer](size_t i) { return static_cast<int64_t>(answer.doubleAt(i)); };
    return {at(0), at(1), at(2), at(3)};
}

void CadServer::planPick(const std::vector<std::u16string>& handles)
{
    std::vector<Variant> elements;
    elements.reserve(handles.size());
    for (const auto& handle : handles)
        elements.emplace_back(handle);
    control_->service(u"NextPickReturns", std::vector{Variant::variantArray(std::move(elements))});
}

}  // namespace bench::e2e
