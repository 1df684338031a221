#pragma once

#include "ServerThread.h"
#include "cadlink/FakeWindowServices.h"

#include "automation/RunningObjects.h"
#include "automation/socket/SocketClient.h"
#include "cadlink/CadConnection.h"
#include "kelvocad/objects/CadSession.h"

#include <QTemporaryDir>

#include <cstdint>
#include <memory>

namespace bench {

// CPU time of the calling thread, in seconds.
double threadCpuSeconds();

// The running object table of a client attached to one server.
class ClientRunningObjects : public automation::RunningObjects {
public:
    explicit ClientRunningObjects(std::shared_ptr<automation::socket::SocketClient> client)
        : client_(std::move(client))
    {
    }
    bool isRunning(std::u16string_view) override { return true; }
    automation::ObjectRef activeObject(std::u16string_view) override { return client_->rootObject(); }

private:
    std::shared_ptr<automation::socket::SocketClient> client_;
};

// What both sides did between two readings.
struct Counts {
    int64_t roundTrips = 0;     // requests the server took in
    uint64_t modelCalls = 0;    // member accesses KelvoCAD's object model ran
    double serverCpu = 0.0;     // CPU seconds of the server's thread
};

// A KelvoCAD session whose drawing the caller has filled, served over the local socket from
// a thread of its own, and a CadLink that reaches it as kelvoedit does on Linux.
class ServedDrawing {
public:
    explicit ServedDrawing(std::shared_ptr<kelvocad::CadSession> session);

    kelvocad::CadSession& session() { return *session_; }
    sockettest::ServerThread& server() { return server_; }
    automation::socket::SocketClient& client() { return *client_; }
    const cadlink::CadLink& link() const { return link_; }

    // The counters now, read in the server's thread.
    Counts counts();

private:
    std::shared_ptr<kelvocad::CadSession> session_;
    QTemporaryDir dir_;
    sockettest::ServerThread server_;
    std::shared_ptr<automation::socket::SocketClient> client_;
    ClientRunningObjects runningObjects_;
    cadlink::fakes::FakeWindowServices windows_;
    cadlink::fakes::FakeOwnWindow ownWindow_{windows_.log, 7};
    cadlink::CadLink link_;
};

Counts operator-(const Counts& after, const Counts& before);

}  // namespace bench
