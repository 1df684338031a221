#include "ServedCadSession.h"

#include <stdexcept>

namespace sockettest {

using automation::socket::SocketClient;
using automation::socket::SocketServer;

namespace {

std::shared_ptr<SocketClient> listenAndConnect(ServerThread& server, const QTemporaryDir& dir,
                                               std::chrono::milliseconds retryInterval)
{
    if (!dir.isValid())
        throw std::runtime_error("no temporary directory for the socket: " + dir.errorString().toStdString());
    const QString path = dir.filePath(QStringLiteral("kelvocad.socket"));
    server.run([&](SocketServer& s) { s.listen(path); });
    return SocketClient::connect(path, retryInterval);
}

}  // namespace

ServedCadSession::ServedCadSession(std::shared_ptr<kelvocad::CadSession> session,
                                   std::chrono::milliseconds retryInterval)
    : session_(std::move(session)),
      server_(session_->application()),
      client_(listenAndConnect(server_, dir_, retryInterval)),
      runningObjects_(client_),
      link_{runningObjects_, windows_, ownWindow_, u"BricscadApp.AcadApplication"}
{
}

}  // namespace sockettest
