#include "ServedDrawing.h"

#include <chrono>
#include <ctime>

namespace bench {

using automation::socket::SocketClient;
using automation::socket::SocketServer;

double threadCpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

namespace {

std::shared_ptr<SocketClient> listenAndConnect(sockettest::ServerThread& server, const QTemporaryDir& dir)
{
    const QString path = dir.filePath(QStringLiteral("kelvocad.socket"));
    server.run([&](SocketServer& s) { s.listen(path); });
    return SocketClient::connect(path, std::chrono::milliseconds(1000));
}

}  // namespace

ServedDrawing::ServedDrawing(std::shared_ptr<kelvocad::CadSession> session)
    : session_(std::move(session)),
      server_(session_->application()),
      client_(listenAndConnect(server_, dir_)),
      runningObjects_(client_),
      link_{runningObjects_, windows_, ownWindow_, u"BricscadApp.AcadApplication"}
{
    windows_.ownWindow = 7;
    session_->applicationWindow = 99;
}

Counts ServedDrawing::counts()
{
    Counts c;
    server_.run([&](SocketServer& s) {
        c.roundTrips = s.memberAccessCount();
        c.modelCalls = session_->callCount();
        c.serverCpu = threadCpuSeconds();
    });
    return c;
}

Counts operator-(const Counts& after, const Counts& before)
{
    return {after.roundTrips - before.roundTrips, after.modelCalls - before.modelCalls,
            after.serverCpu - before.serverCpu};
}

}  // namespace bench
