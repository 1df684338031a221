#pragma once

#include "automation/Object.h"
#include "automation/socket/RunningObjectDirectory.h"
#include "e2e/KelvoCadProcess.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace automation::socket {
class SocketClient;
}

namespace bench::e2e {

// What the kelvocad server reports of itself on its Statistics request.
struct ServerStatistics {
    int64_t memberAccesses = 0;
    int64_t exportedObjects = 0;
    int64_t busyReplies = 0;
    int64_t windowServiceRequests = 0;
    double longestRepaintMs = 0.0;  // of kelvocad's view, since the previous request
};

// A kelvocad program serving one drawing file (see e2e::KelvoCadProcess), with one
// connection of the benchmark's own beside kelvoedit's.
class CadServer {
public:
    static constexpr const char16_t* progId = ::e2e::KelvoCadProcess::progId;

    explicit CadServer(QString drawingFile);
    ~CadServer();
    CadServer(const CadServer&) = delete;
    CadServer& operator=(const CadServer&) = delete;

    // Starts the program and waits until it serves; false with the reason in error().
    bool start();
    const std::string& error() const { return process_.error(); }
    pid_t pid() const { return static_cast<pid_t>(process_.processId()); }
    const automation::socket::RunningObjectDirectory& directory() const { return process_.directory(); }

    ServerStatistics statistics();
    // The next pick in the drawing host answers these handles.
    void planPick(const std::vector<std::u16string>& handles);
    // The benchmark's own view of the drawing.
    automation::Object& document() { return *document_; }

private:
    ::e2e::KelvoCadProcess process_;
    std::shared_ptr<automation::socket::SocketClient> control_;
    automation::ObjectRef document_;
};

}  // namespace bench::e2e
