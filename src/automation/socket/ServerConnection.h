#pragma once

#include "automation/socket/FrameBuffer.h"
#include "automation/socket/MessageFields.h"
#include "automation/socket/ObjectTable.h"
#include "automation/socket/VariantCodec.h"

#include <QCborMap>

#include <memory>

class QSocketNotifier;

namespace automation::socket {

struct ServerState;

// One client's connection to a SocketServer: reads its requests, runs them against the
// objects it holds, answers, and releases everything when the client goes away.
//
// It owns the accepted descriptor and watches it with a notifier of its own: requests are
// received straight into the frame buffer and answers sent at once, so a round trip costs
// the server one wake-up, one receive and one send, with no buffering layer in between.
class ServerConnection : public std::enable_shared_from_this<ServerConnection> {
public:
    // Takes the connected descriptor over; it is closed with the connection.
    ServerConnection(std::shared_ptr<ServerState> state, int descriptor);
    ~ServerConnection();
    ServerConnection(const ServerConnection&) = delete;
    ServerConnection& operator=(const ServerConnection&) = delete;

    void start();
    // Drops the connection. Safe to call more than once and from inside a call.
    void close();

private:
    void readAvailable();
    void writePending();
    void write(const QByteArray& frame);
    void handle(const QByteArray& payload);
    void handleRequest(const MessageFields& request, int64_t id);
    Variant invoke(const MessageFields& request);
    Variant service(const MessageFields& request);
    QByteArray okFrame(int64_t id, const Variant& value) const;
    void answer(const QByteArray& frame);
    bool mustAnswerBusy() const;
    void answerBusy(int64_t id);
    void reply(int64_t id, QCborMap body);

    std::shared_ptr<ServerState> state_;
    int descriptor_;
    std::unique_ptr<QSocketNotifier> readNotifier_;
    std::unique_ptr<QSocketNotifier> writeNotifier_;  // on only while an answer waits for room
    FrameBuffer input_;
    QByteArray output_;  // what the socket had no room for yet
    ObjectTable table_;
    VariantCodec codec_;
    bool closed_ = false;
};

}  // namespace automation::socket
