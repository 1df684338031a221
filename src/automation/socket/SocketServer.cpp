#include "automation/socket/SocketServer.h"

#include "automation/AutomationError.h"
#include "automation/socket/RunningObjectDirectory.h"
#include "automation/socket/ServerConnection.h"

#include <QLocalServer>
#include <QLocalSocket>

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace automation::socket {

namespace {

// Hands each accepted descriptor over as it is, rather than wrapped in a QLocalSocket: the
// connection reads and writes it itself.
class Listener : public QLocalServer {
public:
    explicit Listener(std::function<void(int)> accept) : accept_(std::move(accept)) {}

protected:
    void incomingConnection(quintptr descriptor) override { accept_(static_cast<int>(descriptor)); }

private:
    std::function<void(int)> accept_;
};

}  // namespace

SocketServer::SocketServer(ObjectRef root) : state_(std::make_shared<ServerState>())
{
    state_->root = std::move(root);
}

SocketServer::~SocketServer()
{
    close();
}

void SocketServer::listen(const QString& socketPath)
{
    auto listener = std::make_unique<Listener>([state = state_](int descriptor) {
        const int flags = ::fcntl(descriptor, F_GETFL);
        if (!isSameUser(peerUid(descriptor), ::geteuid()) || flags < 0 ||
            ::fcntl(descriptor, F_SETFL, flags | O_NONBLOCK) != 0 ||
            ::fcntl(descriptor, F_SETFD, FD_CLOEXEC) != 0) {
            ::close(descriptor);
            return;
        }
        auto connection = std::make_shared<ServerConnection>(state, descriptor);
        state->connections.push_back(connection);
        connection->start();
    });
    listener->setSocketOptions(QLocalServer::UserAccessOption);
    if (!listener->listen(socketPath))
        throw AutomationError(hr::Fail, u"Cannot listen at " + socketPath.toStdU16String() + u": " +
                                            listener->errorString().toStdU16String());
    listeners_.push_back(std::move(listener));
}

bool SocketServer::isSameUser(std::optional<uint32_t> peerUid, uint32_t ownUid)
{
    return peerUid && *peerUid == ownUid;
}

std::optional<uint32_t> SocketServer::peerUid(intptr_t descriptor)
{
    if (descriptor < 0)
        return std::nullopt;
    ucred credentials{};
    socklen_t size = sizeof credentials;
    if (::getsockopt(static_cast<int>(descriptor), SOL_SOCKET, SO_PEERCRED, &credentials, &size) != 0 ||
        size != sizeof credentials)
        return std::nullopt;
    return credentials.uid;
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
    // Closing a listener removes its socket file. close() may be reached from inside a
    // listener's own signal, so the object itself goes later.
    for (auto& listener : listeners_) {
        listener->close();
        QObject::disconnect(listener.get(), nullptr, nullptr, nullptr);
        listener.release()->deleteLater();
    }
    listeners_.clear();
    // Closing removes each connection from the list.
    while (!state_->connections.empty())
        state_->connections.back()->close();
}

std::vector<QString> SocketServer::socketPaths() const
{
    std::vector<QString> paths;
    for (const auto& listener : listeners_)
        paths.push_back(listener->fullServerName());
    return paths;
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
