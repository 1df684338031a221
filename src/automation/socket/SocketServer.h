#pragma once

#include "automation/socket/ServerState.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class QLocalServer;

namespace automation::socket {

class RunningObjectDirectory;

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

    // Listens at a socket path, in addition to any it listens at already. Throws
    // AutomationError(hr::Fail) when that is impossible.
    void listen(const QString& socketPath);

    // Registers progId in the directory and listens at its socket; may be called for
    // several ProgIDs. Throws when another server already answers there.
    void serve(const RunningObjectDirectory& directory, std::u16string_view progId);

    // Stops listening everywhere and drops every connection, releasing what they held.
    void close();

    std::vector<QString> socketPaths() const;

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

    // Only a client running as the same user is served: the socket's file mode alone would
    // leave every process of root's or of a careless umask free to drive the drawing. A peer
    // whose user cannot be told is refused.
    static bool isSameUser(std::optional<uint32_t> peerUid, uint32_t ownUid);
    // The effective user id of the process at the other end of a connected local socket.
    static std::optional<uint32_t> peerUid(intptr_t descriptor);

private:
    std::shared_ptr<ServerState> state_;
    std::vector<std::unique_ptr<QLocalServer>> listeners_;
};

}  // namespace automation::socket
