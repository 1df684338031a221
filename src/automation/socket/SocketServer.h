#pragma once

#include "automation/Object.h"

#include <QString>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class QLocalServer;

namespace automation::socket {

class RunningObjectDirectory;
class ServerConnection;

// A window-service request's handler: the arguments in, a value out, an AutomationError
// for a failure.
using ServiceHandler = std::function<Variant(std::span<const Variant>)>;

// What the server and its connections share. Lives as long as the last connection that
// is still finishing a call, which may outlast the server itself.
struct ServerState {
    ObjectRef root;
    std::function<bool()> isBusy;
    std::function<void()> busyObserver;
    std::vector<std::pair<std::u16string, ServiceHandler>> services;
    std::vector<std::shared_ptr<ServerConnection>> connections;
    int callDepth = 0;  // Automation calls executing now (more than one only via nested loops)
    std::atomic<int64_t> exportedObjects{0};
    std::atomic<int64_t> memberAccesses{0};
    std::atomic<int64_t> busyReplies{0};
};

// Serves one root object, and everything reachable from it, to clients over a local
// socket. Lives in one thread with an event loop; calls run in that thread, and while one
// runs (a pick may spin a nested event loop for minutes) every other call is told to come
// back later rather than being let in.
class SocketServer {
public:
    explicit SocketServer(ObjectRef root);
    ~SocketServer();
    SocketServer(const SocketServer&) = delete;
    SocketServer& operator=(const SocketServer&) = delete;

    // Listens at a socket path. Throws AutomationError(hr::Fail) when that is impossible.
    void listen(const QString& socketPath);

    // Registers progId in the directory and listens at its socket. Throws when another
    // server already answers there.
    void serve(const RunningObjectDirectory& directory, std::u16string_view progId);

    // Stops listening and drops every connection, releasing what they held.
    void close();

    QString socketPath() const;

    // Fault injection and diagnostics. While isBusy answers true, calls are answered busy,
    // as are calls that the object itself turns away with hr::CallRejected; the observer
    // hears of every busy answer.
    void setBusyPredicate(std::function<bool()> isBusy);
    void setBusyObserver(std::function<void()> observer);

    // Window services: requests outside the object model, matched by name regardless of
    // case, served even while a call is executing.
    void setServiceHandler(std::u16string name, ServiceHandler handler);

    // Safe to ask from any thread. Member accesses are the calls that ran, failed ones
    // included, busy answers not.
    int64_t exportedObjectCount() const { return state_->exportedObjects; }
    int64_t memberAccessCount() const { return state_->memberAccesses; }
    int64_t busyReplyCount() const { return state_->busyReplies; }

private:
    std::shared_ptr<ServerState> state_;
    std::unique_ptr<QLocalServer> server_;
};

}  // namespace automation::socket
