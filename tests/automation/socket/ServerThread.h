#pragma once

#include "automation/socket/SocketServer.h"

#include <QObject>
#include <QThread>

#include <functional>
#include <memory>

namespace sockettest {

// A SocketServer living in a thread of its own with its own event loop, as it would in
// the drawing host's process, so that the test thread can play the blocked client.
class ServerThread {
public:
    explicit ServerThread(automation::ObjectRef root);
    ~ServerThread();

    // Runs f in the server's thread and waits for it. Also works while the server thread
    // is inside a call that spins a nested event loop.
    void run(const std::function<void(automation::socket::SocketServer&)>& f);

    // The counters are safe to read from any thread.
    const automation::socket::SocketServer& server() const { return *server_; }

private:
    QThread thread_;
    std::unique_ptr<QObject> context_;
    std::unique_ptr<automation::socket::SocketServer> server_;
};

}  // namespace sockettest
