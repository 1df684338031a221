#include "automation/socket/ServerConnection.h"

#include "automation/AutomationError.h"
#include "automation/socket/Protocol.h"
#include "automation/socket/ServerState.h"
#include "common/Utf.h"

#include <QCborValue>
#include <QLocalSocket>
#include <QMetaObject>

#include <algorithm>
#include <limits>

namespace automation::socket {

namespace {

// Keeps the count of running calls right however a call ends.
class CallScope {
public:
    explicit CallScope(ServerState& state) : state_(state) { ++state_.callDepth; }
    ~CallScope() { --state_.callDepth; }
    CallScope(const CallScope&) = delete;
    CallScope& operator=(const CallScope&) = delete;

private:
    ServerState& state_;
};

int64_t integerField(const QCborMap& map, QLatin1StringView name, int64_t min, int64_t max)
{
    const QCborValue v = map.value(name);
    if (!v.isInteger() || v.toInteger() < min || v.toInteger() > max)
        throw ProtocolError(std::string("missing or bad field ") + name.data());
    return v.toInteger();
}

QCborMap errorBody(int32_t code, std::u16string_view text)
{
    QCborMap body;
    body.insert(key::status, static_cast<qint64>(ReplyStatus::Error));
    body.insert(key::code, static_cast<qint64>(code));
    body.insert(key::text, VariantCodec::encodeString(text));
    return body;
}

QCborMap okBody(QCborValue value)
{
    QCborMap body;
    body.insert(key::status, static_cast<qint64>(ReplyStatus::Ok));
    body.insert(key::value, std::move(value));
    return body;
}

}  // namespace

ServerConnection::ServerConnection(std::shared_ptr<ServerState> state, QLocalSocket* socket)
    : state_(std::move(state)),
      socket_(socket),
      table_(&state_->exportedObjects),
      codec_([this](const ObjectRef& o) { return table_.exportObject(o); },
             [this](int64_t id) { return table_.lookup(id); })
{
}

ServerConnection::~ServerConnection()
{
    QObject::disconnect(socket_, nullptr, nullptr, nullptr);
    socket_->abort();
    socket_->deleteLater();
}

void ServerConnection::start()
{
    const std::weak_ptr<ServerConnection> weak = weak_from_this();
    QObject::connect(socket_, &QLocalSocket::readyRead, socket_, [weak] {
        if (const auto self = weak.lock())
            self->readAvailable();
    });
    QObject::connect(socket_, &QLocalSocket::disconnected, socket_, [weak] {
        if (const auto self = weak.lock())
            self->close();
    });
    QObject::connect(socket_, &QLocalSocket::errorOccurred, socket_, [weak](QLocalSocket::LocalSocketError error) {
        if (error == QLocalSocket::SocketTimeoutError)
            return;
        if (const auto self = weak.lock())
            self->close();
    });
    // Bytes may have arrived before the signals were connected. They are read from the
    // event loop rather than from here, so that no call runs inside the listener's signal.
    if (socket_->bytesAvailable() > 0) {
        QMetaObject::invokeMethod(
            socket_,
            [weak] {
                if (const auto self = weak.lock())
                    self->readAvailable();
            },
            Qt::QueuedConnection);
    }
}

void ServerConnection::close()
{
    if (closed_)
        return;
    closed_ = true;
    const auto self = shared_from_this();  // the server's list may hold the last reference
    table_.clear();
    auto& list = state_->connections;
    list.erase(std::remove(list.begin(), list.end(), self), list.end());
    socket_->abort();
}

void ServerConnection::readAvailable()
{
    // A call below may spin a nested event loop that delivers further frames of this same
    // connection to a nested readAvailable; frames are taken out of the buffer before they
    // are handled so that each is handled exactly once.
    const auto self = shared_from_this();
    if (closed_)
        return;
    input_.append(socket_->readAll());
    try {
        while (!closed_) {
            auto frame = input_.takeFrame();
            if (!frame)
                break;
            handle(*frame);
        }
    } catch (const ProtocolError&) {
        // A stream whose framing is lost, or a message without an id to answer, cannot be
        // answered sensibly: the client is cut off, the server carries on.
        close();
    }
}

void ServerConnection::handle(const QByteArray& payload)
{
    QCborParserError parseError;
    const QCborValue message = QCborValue::fromCbor(payload, &parseError);
    if (parseError.error != QCborError::NoError || !message.isMap())
        throw ProtocolError("not a CBOR map");
    const QCborMap map = message.toMap();
    const auto type = static_cast<MessageType>(
        integerField(map, key::type, static_cast<int64_t>(MessageType::Root), static_cast<int64_t>(MessageType::Reply)));
    if (type == MessageType::Release) {
        table_.release(integerField(map, key::object, 1, std::numeric_limits<int64_t>::max()),
                       integerField(map, key::count, 1, std::numeric_limits<int64_t>::max()));
        return;
    }
    handleRequest(map, integerField(map, key::id, 0, std::numeric_limits<int64_t>::max()));
}

void ServerConnection::answerBusy(int64_t id)
{
    ++state_->busyReplies;
    QCborMap body;
    body.insert(key::status, static_cast<qint64>(ReplyStatus::Busy));
    reply(id, std::move(body));
    if (state_->busyObserver)
        state_->busyObserver();
}

bool ServerConnection::mustAnswerBusy() const
{
    return state_->callDepth > 0 || (state_->isBusy && state_->isBusy());
}

void ServerConnection::handleRequest(const QCborMap& request, int64_t id)
{
    const auto type = static_cast<MessageType>(request.value(key::type).toInteger());
    try {
        switch (type) {
        case MessageType::TableSize:
            reply(id, okBody(QCborValue(static_cast<qint64>(table_.size()))));
            return;
        case MessageType::Service:
            reply(id, service(request));
            return;
        case MessageType::Root:
        case MessageType::Invoke: {
            if (mustAnswerBusy()) {
                answerBusy(id);
                return;
            }
            QCborMap body;
            try {
                CallScope scope(*state_);
                body = type == MessageType::Root ? okBody(codec_.encode(Variant(state_->root))) : invoke(request);
            } catch (const AutomationError& e) {
                // The object itself may turn a call away as busy, the way a server's
                // message filter answers "retry later".
                if (e.code() != hr::CallRejected) {
                    ++state_->memberAccesses;
                    throw;
                }
                answerBusy(id);
                return;
            } catch (...) {
                ++state_->memberAccesses;
                throw;
            }
            ++state_->memberAccesses;
            reply(id, std::move(body));
            return;
        }
        default:
            reply(id, errorBody(hr::InvalidArg, u"Unexpected message type"));
            return;
        }
    } catch (const AutomationError& e) {
        reply(id, errorBody(e.code(), e.description()));
    } catch (const ProtocolError& e) {
        reply(id, errorBody(hr::InvalidArg, u"Malformed request: " + common::fromUtf8(e.what())));
    } catch (const std::exception& e) {
        reply(id, errorBody(hr::Exception, common::fromUtf8(e.what())));
    } catch (...) {
        reply(id, errorBody(hr::Fail, u"Unknown failure in the server"));
    }
}

QCborMap ServerConnection::invoke(const QCborMap& request)
{
    const ObjectRef target = table_.lookup(integerField(request, key::object, 1, std::numeric_limits<int64_t>::max()));
    const auto kind = static_cast<InvokeKind>(
        integerField(request, key::kind, static_cast<int64_t>(InvokeKind::Get), static_cast<int64_t>(InvokeKind::Call)));
    const std::u16string member = VariantCodec::decodeString(request.value(key::member));
    const std::vector<Variant> args = codec_.decodeList(request.value(key::args));
    switch (kind) {
    case InvokeKind::Get: return okBody(codec_.encode(target->get(member, args)));
    case InvokeKind::Call: return okBody(codec_.encode(target->call(member, args)));
    case InvokeKind::Put: {
        const Variant value = codec_.decode(request.value(key::value));
        target->put(member, value, args);
        return okBody(QCborValue(QCborValue::Undefined));
    }
    }
    return {};
}

QCborMap ServerConnection::service(const QCborMap& request)
{
    const std::u16string name = VariantCodec::decodeString(request.value(key::name));
    const std::vector<Variant> args = codec_.decodeList(request.value(key::args));
    for (const auto& [serviceName, handler] : state_->services) {
        if (memberNameEquals(serviceName, name))
            return okBody(codec_.encode(handler(args)));
    }
    throw AutomationError(hr::MemberNotFound, u"Unknown window service: " + name);
}

void ServerConnection::reply(int64_t id, QCborMap body)
{
    if (closed_)
        return;
    body.insert(key::type, static_cast<qint64>(MessageType::Reply));
    body.insert(key::id, static_cast<qint64>(id));
    socket_->write(FrameBuffer::frame(body.toCborValue().toCbor()));
    socket_->flush();
}

}  // namespace automation::socket
