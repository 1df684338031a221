#pragma once

#include "ClientRunningObjects.h"
#include "ServerThread.h"

#include "automation/socket/SocketClient.h"
#include "cadlink/CadConnection.h"
#include "cadlink/FakeWindowServices.h"
#include "kelvocad/objects/CadSession.h"

#include <QTemporaryDir>

#include <chrono>
#include <memory>

namespace sockettest {

// A KelvoCAD session, filled by the caller, served over the local socket from a thread of
// its own; a client connected to it, and a CadLink that reaches it through that client as
// kelvoedit does on Linux, with fake window services.
class ServedCadSession {
public:
    // retryInterval: how long the client waits before repeating a request the server
    // answered busy.
    explicit ServedCadSession(std::shared_ptr<kelvocad::CadSession> session,
                              std::chrono::milliseconds retryInterval = std::chrono::milliseconds(5));
    ServedCadSession(const ServedCadSession&) = delete;
    ServedCadSession& operator=(const ServedCadSession&) = delete;

    kelvocad::CadSession& session() { return *session_; }
    ServerThread& server() { return server_; }
    automation::socket::SocketClient& client() { return *client_; }
    cadlink::fakes::FakeWindowServices& windows() { return windows_; }
    const cadlink::CadLink& link() const { return link_; }

private:
    std::shared_ptr<kelvocad::CadSession> session_;
    QTemporaryDir dir_;
    ServerThread server_;
    std::shared_ptr<automation::socket::SocketClient> client_;
    ClientRunningObjects runningObjects_;
    cadlink::fakes::FakeWindowServices windows_;
    cadlink::fakes::FakeOwnWindow ownWindow_{windows_.log, 7};
    cadlink::CadLink link_;
};

}  // namespace sockettest
