#pragma once

// What the socket server fuzzer checks of every input, shared with the test that replays
// its findings: a KelvoCAD session served in this process gets the input's messages over
// one connection; every answer must be a well-formed reply, and afterwards the server must
// answer a new connection. A malformed message may cost its sender the connection, never
// the server its life.
#include "SocketMessages.h"

#include "automation/socket/SocketServer.h"
#include "kelvocad/objects/CadSession.h"

#include <QCborMap>
#include <QCborValue>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QString>

#include <string>

namespace fuzzing {

inline constexpr int64_t sentinelId = 0x7FFFFFFFFFFFLL;

struct ConversationResult {
    bool answered = false;   // the sentinel's reply came
    bool dropped = false;    // the server closed the connection
    std::string fault;
};

// Sends the messages, then a TableSize request, and reads replies until that one is
// answered or the server closes the connection.
inline ConversationResult converse(const QString& socketPath, const std::vector<QByteArray>& messages)
{
    using automation::socket::FrameBuffer;
    namespace key = automation::socket::key;
    ConversationResult result;
    QLocalSocket socket;
    socket.connectToServer(socketPath);
    if (!socket.waitForConnected(5000)) {
        result.fault = "the server does not accept a connection";
        return result;
    }
    QByteArray out;
    for (const QByteArray& m : messages)
        out += FrameBuffer::frame(m);
    out += FrameBuffer::frame(request(automation::socket::MessageType::TableSize, sentinelId));
    socket.write(out);

    FrameBuffer in;
    const QDeadlineTimer deadline(30000);
    while (!result.answered && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        in.append(socket.readAll());
        while (auto frame = in.takeFrame()) {
            const QCborValue reply = QCborValue::fromCbor(*frame);
            const QCborMap map = reply.toMap();
            if (!reply.isMap() || map.value(key::type).toInteger() != static_cast<qint64>(automation::socket::MessageType::Reply) ||
                !map.value(key::id).isInteger() || !map.value(key::status).isInteger()) {
                result.fault = "the server sent something other than a reply: " + frame->toHex().toStdString();
                return result;
            }
            if (map.value(key::id).toInteger() == sentinelId)
                result.answered = true;
        }
        if (socket.state() != QLocalSocket::ConnectedState && socket.bytesAvailable() == 0) {
            result.dropped = true;
            break;
        }
    }
    if (!result.answered && !result.dropped)
        result.fault = "the server neither answered nor closed the connection";
    socket.abort();
    return result;
}

// The served root: forwards to the application of the session of the current input, so
// that one server can be kept while no input sees what an earlier one did to the drawing.
class SessionRoot : public automation::Object {
public:
    void startSession() { application_ = kelvocad::CadSession::create()->application(); }
    automation::Variant get(std::u16string_view member, std::span<const automation::Variant> args) override
    {
        return application_->get(member, args);
    }
    void put(std::u16string_view member, const automation::Variant& value,
             std::span<const automation::Variant> args) override
    {
        application_->put(member, value, args);
    }
    automation::Variant call(std::u16string_view member, std::span<const automation::Variant> args) override
    {
        return application_->call(member, args);
    }

private:
    automation::ObjectRef application_;
};

inline std::string checkServerConversation(SessionRoot& root, const QString& socketPath, std::string_view input)
{
    root.startSession();
    const ConversationResult first = converse(socketPath, messagesOf(input));
    if (!first.fault.empty())
        return first.fault;
    if (first.dropped) {
        const ConversationResult again = converse(socketPath, {});
        if (!again.fault.empty() || !again.answered)
            return "after dropping a connection the server no longer answers" +
                   (again.fault.empty() ? std::string() : ": " + again.fault);
    }
    // Sockets of closed connections are deleted from the event loop.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return {};
}

// A server of its own for one input, as the replaying tests use it.
inline std::string checkServerConversation(const QString& socketPath, std::string_view input)
{
    const auto root = std::make_shared<SessionRoot>();
    automation::socket::SocketServer server(root);
    QLocalServer::removeServer(socketPath);
    server.listen(socketPath);
    std::string fault = checkServerConversation(*root, socketPath, input);
    server.close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return fault;
}

}  // namespace fuzzing
