#include "automation/socket/SocketClient.h"

#include "automation/AutomationError.h"
#include "automation/socket/SocketProxy.h"
#include "common/Utf.h"

#include <QCborValue>
#include <QLocalSocket>

#include <limits>
#include <thread>

namespace automation::socket {

namespace {

// How long one wait on the socket lasts before its state is looked at again. Only the
// responsiveness to a dead peer depends on it, never how long a live server may take.
constexpr int pollMilliseconds = 250;
constexpr int connectMilliseconds = 2000;

}  // namespace

std::shared_ptr<SocketClient> SocketClient::connect(const QString& socketPath, std::chrono::milliseconds retryInterval)
{
    auto client = std::make_shared<SocketClient>(Passkey{}, retryInterval);
    client->socket_->connectToServer(socketPath);
    if (!client->socket_->waitForConnected(connectMilliseconds))
        throw AutomationError(hr::NotRunning, u"No server answers at " + socketPath.toStdU16String());
    return client;
}

std::shared_ptr<SocketClient> SocketClient::of(const ObjectRef& object)
{
    const auto* proxy = dynamic_cast<const SocketProxy*>(object.get());
    return proxy ? proxy->client() : nullptr;
}

SocketClient::SocketClient(Passkey, std::chrono::milliseconds retryInterval)
    : socket_(std::make_unique<QLocalSocket>()),
      retryInterval_(retryInterval),
      codec_([this](const ObjectRef& o) { return exportObject(o); }, [this](int64_t id) { return importObject(id); })
{
}

SocketClient::~SocketClient()
{
    socket_->abort();
}

bool SocketClient::isConnected() const
{
    return !broken_ && socket_->state() == QLocalSocket::ConnectedState;
}

ObjectRef SocketClient::rootObject()
{
    QCborMap request;
    request.insert(key::type, static_cast<qint64>(MessageType::Root));
    return roundTrip(std::move(request)).toObject();
}

Variant SocketClient::invoke(int64_t objectId, InvokeKind kind, std::u16string_view member,
                             std::span<const Variant> args, const Variant& value)
{
    QCborMap request;
    request.insert(key::type, static_cast<qint64>(MessageType::Invoke));
    request.insert(key::object, static_cast<qint64>(objectId));
    request.insert(key::kind, static_cast<qint64>(kind));
    request.insert(key::member, VariantCodec::encodeString(member));
    if (!args.empty())
        request.insert(key::args, codec_.encodeList(args));
    if (kind == InvokeKind::Put)
        request.insert(key::value, codec_.encode(value));
    return roundTrip(std::move(request));
}

Variant SocketClient::service(std::u16string_view name, std::span<const Variant> args)
{
    QCborMap request;
    request.insert(key::type, static_cast<qint64>(MessageType::Service));
    request.insert(key::name, VariantCodec::encodeString(name));
    request.insert(key::args, codec_.encodeList(args));
    return roundTrip(std::move(request));
}

int64_t SocketClient::exportedObjectCount()
{
    QCborMap request;
    request.insert(key::type, static_cast<qint64>(MessageType::TableSize));
    return roundTrip(std::move(request)).toInt();
}

void SocketClient::releaseProxy(int64_t objectId)
{
    const auto found = proxies_.find(objectId);
    if (found == proxies_.end() || !found->second.proxy.expired())
        return;
    const int64_t references = found->second.references;
    proxies_.erase(found);
    if (!isConnected())
        return;
    try {
        QCborMap message;
        message.insert(key::type, static_cast<qint64>(MessageType::Release));
        message.insert(key::object, static_cast<qint64>(objectId));
        message.insert(key::count, static_cast<qint64>(references));
        // No answer is awaited; the next request, or closing the connection, flushes it.
        socket_->write(FrameBuffer::frame(message.toCborValue().toCbor()));
        socket_->flush();
    } catch (...) {
        // Runs from a destructor. The server releases everything when the connection ends.
    }
}

ObjectRef SocketClient::importObject(int64_t id)
{
    auto& entry = proxies_[id];
    auto proxy = entry.proxy.lock();
    if (!proxy) {
        proxy = std::make_shared<SocketProxy>(shared_from_this(), id);
        entry.proxy = proxy;
        entry.references = 0;
    }
    ++entry.references;
    return proxy;
}

int64_t SocketClient::exportObject(const ObjectRef& object) const
{
    const auto* proxy = dynamic_cast<const SocketProxy*>(object.get());
    if (!proxy || proxy->client().get() != this)
        throw AutomationError(hr::TypeMismatch, u"Only objects of the same server connection can be passed");
    return proxy->id();
}

Variant SocketClient::roundTrip(QCborMap request)
{
    for (;;) {
        const int64_t id = nextRequestId_++;
        request.insert(key::id, static_cast<qint64>(id));
        send(FrameBuffer::frame(request.toCborValue().toCbor()));
        const QCborMap reply = awaitReply(id);
        switch (static_cast<ReplyStatus>(reply.value(key::status).toInteger(-1))) {
        case ReplyStatus::Ok:
            try {
                return codec_.decode(reply.value(key::value));
            } catch (const ProtocolError& e) {
                throw AutomationError(hr::ServerFault, u"Malformed answer: " + common::fromUtf8(e.what()));
            }
        case ReplyStatus::Busy:
            // The server is busy with its user; ask again, as patiently as it takes.
            std::this_thread::sleep_for(retryInterval_);
            continue;
        case ReplyStatus::Error: {
            const qint64 code = reply.value(key::code).toInteger(hr::ServerFault);
            std::u16string text;
            try {
                text = VariantCodec::decodeString(reply.value(key::text));
            } catch (const ProtocolError&) {
            }
            if (code < std::numeric_limits<int32_t>::min() || code > std::numeric_limits<int32_t>::max())
                throw AutomationError(hr::ServerFault, text);
            throw AutomationError(static_cast<int32_t>(code), text);
        }
        default: throw AutomationError(hr::ServerFault, u"Malformed answer");
        }
    }
}

void SocketClient::send(const QByteArray& frame)
{
    if (!isConnected())
        disconnected(u"The connection to the server is closed");
    socket_->write(frame);
    socket_->flush();
    while (socket_->bytesToWrite() > 0) {
        if (!socket_->waitForBytesWritten(pollMilliseconds) && socket_->state() != QLocalSocket::ConnectedState)
            disconnected(u"The server has closed the connection");
    }
}

QCborMap SocketClient::awaitReply(int64_t id)
{
    for (;;) {
        std::optional<QByteArray> frame;
        try {
            frame = input_.takeFrame();
        } catch (const ProtocolError&) {
            disconnected(u"The server sent a malformed answer");
        }
        if (frame) {
            QCborParserError error;
            const QCborValue message = QCborValue::fromCbor(*frame, &error);
            const QCborMap map = message.toMap();
            if (error.error != QCborError::NoError || !message.isMap() ||
                map.value(key::type).toInteger() != static_cast<qint64>(MessageType::Reply) ||
                map.value(key::id).toInteger(-1) != id)
                disconnected(u"The server sent a malformed answer");
            return map;
        }
        if (socket_->bytesAvailable() > 0) {
            input_.append(socket_->readAll());
            continue;
        }
        if (socket_->state() != QLocalSocket::ConnectedState)
            disconnected(u"The server has closed the connection");
        // A live server may take minutes (its user is picking); a dead one is noticed here.
        // The loop looks at the socket's state again either way.
        if (socket_->waitForReadyRead(pollMilliseconds))
            input_.append(socket_->readAll());
    }
}

void SocketClient::disconnected(std::u16string_view why)
{
    broken_ = true;
    socket_->abort();
    throw AutomationError(hr::Disconnected, std::u16string(why));
}

}  // namespace automation::socket
