#pragma once

#include "automation/Object.h"

#include <QStringList>

#include <memory>
#include <vector>

namespace automation::socket {
class RunningObjectDirectory;
class SocketServer;
}  // namespace automation::socket

namespace kelvocad {

class CadMainWindow;
class CadSession;
class WindowServiceHandlers;

// Serves a session's Application object under one or more ProgIDs, with the window's
// services beside it. While the window runs a pick, every server asks callers to come
// back later, whichever ProgID they came through.
//
// One further request, `Statistics()`, lets a benchmark see what a client cost the server:
// an array of five numbers (doubles), read when the request arrives:
//   0 member accesses the server ran (Automation round trips)
//   1 objects held for clients in the exported-object table, over all connections
//   2 calls answered "busy"
//   3 window-service requests handled (all ProgIDs together; Statistics itself not counted)
//   4 the longest repaint of the drawing view since the previous Statistics request, in ms
class CadAutomationHost {
public:
    CadAutomationHost(std::shared_ptr<CadSession> session, CadMainWindow* window);
    ~CadAutomationHost();

    // Registers and serves each ProgID. Throws AutomationError when one cannot be served
    // (another server answers there, or the directory is not private); nothing is served then.
    void serve(const automation::socket::RunningObjectDirectory& directory, const QStringList& progIds);
    // Stops answering; clients' calls fail from now on.
    void close();

    const std::vector<std::unique_ptr<automation::socket::SocketServer>>& servers() const noexcept { return servers_; }

private:
    void installStatistics(automation::socket::SocketServer& server);

    std::shared_ptr<CadSession> session_;
    CadMainWindow* window_;
    automation::ObjectRef root_;
    std::unique_ptr<WindowServiceHandlers> services_;
    std::vector<std::unique_ptr<automation::socket::SocketServer>> servers_;
};

}  // namespace kelvocad
