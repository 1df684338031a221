#pragma once

#include "automation/socket/FrameBuffer.h"
#include "automation/socket/ObjectTable.h"
#include "automation/socket/VariantCodec.h"

#include <QCborMap>

#include <memory>

class QLocalSocket;

namespace automation::socket {

struct ServerState;

// One client's connection to a SocketServer: reads its requests, runs them against the
// objects it holds, answers, and releases everything when the client goes away.
class ServerConnection : public std::enable_shared_from_this<ServerConnection> {
public:
    ServerConnection(std::shared_ptr<ServerState> state, QLocalSocket* socket);
    ~ServerConnection();
    ServerConnection(const ServerConnection&) = delete;
    ServerConnection& operator=(const ServerConnection&) = delete;

    void start();
    // Drops the connection. Safe to call more than once and from inside a call.
    void close();

private:
    void readAvailable();
    void handle(const QByteArray& payload);
    void handleRequest(const QCborMap& request, int64_t id);
    QCborMap invoke(const QCborMap& request);
    QCborMap service(const QCborMap& request);
    bool mustAnswerBusy() const;
    void answerBusy(int64_t id);
    void reply(int64_t id, QCborMap body);

    std::shared_ptr<ServerState> state_;
    QLocalSocket* socket_;
    FrameBuffer input_;
    ObjectTable table_;
    VariantCodec codec_;
    bool closed_ = false;
};

}  // namespace automation::socket
