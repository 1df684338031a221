#include "automation/socket/SocketServer.h"

#include "automation/AutomationError.h"
#include "automation/socket/RunningObjectDirectory.h"
#include "automation/socket/ServerConnection.h"

#include <QLocalServer>
#include <QLocalSocket>

namespace automation::socket {

SocketServer::SocketServer(ObjectRef root)
    : state_(std::make_shared<ServerState>()), server_(std::make_unique<QLocalServer>())
{
    state_->root = std::move(root);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    QObject::connect(server_.get(), &QLocalServer::newConnection, server_.get(), [this] {
        while (QLocalSocket* socket = server_->nextPendingConnection()) {
            // The connection owns its socket, which must not die with the listener.
            socket->setParent(nullptr);
            auto connection = std::make_shared<ServerConnection>(state_, socket);
            state_->connections.push_back(connection);
            connection->start();
        }
    });
}

SocketServer::~SocketServer()
{
    close();
}

void SocketServer::listen(const QString& socketPath)
{
    if (!server_->listen(socketPath))
        throw AutomationError(hr::Fail, u"Cannot listen at " + socketPath.toStdU16String() + u": " +
                                            server_->errorString().toStdU16String());
}

void SocketServer::serve(const RunningObjectDirectory& directory, std::u16string_view progId)
{
    directory.registerProgId(progId);
    const QString path = directory.socketPath(progId);
    QLocalSocket probe;
    probe.connectToServer(path);
    if (probe.waitForConnected(1000)) {
        probe.abort();
        throw AutomationError(hr::Fail, u"Another server already serves " + std::u16string(progId));
    }
    // Whatever is left at the path belongs to a server that ended without cleaning up.
    QLocalServer::removeServer(path);
    listen(path);
}

void SocketServer::close()
{
    server_->close();
    // Closing removes each connection from the list.
    while (!state_->connections.empty())
        state_->connections.back()->close();
}

QString SocketServer::socketPath() const
{
    return server_->fullServerName();
}

void SocketServer::setBusyPredicate(std::function<bool()> isBusy)
{
    state_->isBusy = std::move(isBusy);
}

void SocketServer::setBusyObserver(std::function<void()> observer)
{
    state_->busyObserver = std::move(observer);
}

void SocketServer::setServiceHandler(std::u16string name, ServiceHandler handler)
{
    for (auto& [existing, current] : state_->services) {
        if (memberNameEquals(existing, name)) {
            current = std::move(handler);
            return;
        }
    }
    state_->services.emplace_back(std::move(name), std::move(handler));
}

}  // namespace automation::socket
