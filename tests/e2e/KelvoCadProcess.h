#pragma once

#include "automation/Object.h"
#include "automation/socket/RunningObjectDirectory.h"

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace automation::socket {
class SocketClient;
}

namespace e2e {

// A kelvocad program of the caller's own: its sample drawing or the drawing of a file, served
// under a test ProgID in a running-object directory nobody else uses, on the offscreen platform.
class KelvoCadProcess {
public:
    static constexpr char16_t progId[] = u"KelvoEditE2E.Application";

    // startMs bounds both the start (reading the drawing included) and the stop.
    explicit KelvoCadProcess(QString drawingFile = {}, int startMs = 60000);
    ~KelvoCadProcess();
    KelvoCadProcess(const KelvoCadProcess&) = delete;
    KelvoCadProcess& operator=(const KelvoCadProcess&) = delete;

    // Starts the program and waits until it serves; false with the reason in error().
    bool start();
    const std::string& error() const { return error_; }
    // Ends it at once, without the chance to tidy up.
    void kill();
    qint64 processId() const { return process_.processId(); }

    const automation::socket::RunningObjectDirectory& directory() const { return *directory_; }

    // A connection of the test's own, to look into the drawing behind kelvoedit's back.
    std::shared_ptr<automation::socket::SocketClient> connect() const;

private:
    QString drawingFile_;
    int startMs_;
    QTemporaryDir runtime_;
    std::optional<automation::socket::RunningObjectDirectory> directory_;
    QProcess process_;
    std::string error_;
};

// The handle of the one TEXT whose string is exactly `text`; empty when there is not exactly one.
std::u16string handleOfText(automation::Object& document, const std::u16string& text);
// The string of the entity with that handle.
std::u16string textOf(automation::Object& document, const std::u16string& handle);

}  // namespace e2e
