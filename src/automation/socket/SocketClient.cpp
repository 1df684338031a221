#include "automation/socket/SocketClient.h"

#include "automation/AutomationError.h"
#include "automation/socket/SocketProxy.h"
#include "common/Utf.h"

#include <QCborValue>
#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <limits>
#include <thread>

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace automation::socket {

namespace {

// How long one wait on the socket lasts before its state is looked at again. Only the
// responsiveness to a dead peer depends on it, never how long a live server may take.
constexpr int pollMilliseconds = 250;
constexpr int connectMilliseconds = 2000;

timeval interval(int milliseconds)
{
    return timeval{milliseconds / 1000, (milliseconds % 1000) * 1000};
}

// A connected local stream socket to the server at `name` (a bare name lives in the
// temporary folder, as QLocalServer puts it), or -1.
int connectTo(const QString& name)
{
    const QString path = name.startsWith(u'/') ? name : QDir::tempPath() + u'/' + name;
    const QByteArray encoded = QFile::encodeName(path);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (encoded.isEmpty() || static_cast<size_t>(encoded.size()) >= sizeof address.sun_path)
        return -1;
    std::memcpy(address.sun_path, encoded.constData(), static_cast<size_t>(encoded.size()));
    const int descriptor = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (descriptor < 0)
        return -1;
    // A listener whose backlog is full makes connect() wait; the send timeout bounds that.
    // Waits for an answer are bounded by the receive timeout, after which the loop that
    // waits looks again (see awaitReply).
    const timeval connectTimeout = interval(connectMilliseconds);
    const timeval pollTimeout = interval(pollMilliseconds);
    if (::setsockopt(descriptor, SOL_SOCKET, SO_SNDTIMEO, &connectTimeout, sizeof connectTimeout) != 0 ||
        ::setsockopt(descriptor, SOL_SOCKET, SO_RCVTIMEO, &pollTimeout, sizeof pollTimeout) != 0 ||
        ::connect(descriptor, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        ::close(descriptor);
        return -1;
    }
    return descriptor;
}

}  // namespace

std::shared_ptr<SocketClient> SocketClient::connect(const QString& socketPath, std::chrono::milliseconds retryInterval)
{
    auto client = std::make_shared<SocketClient>(Passkey{}, retryInterval);
    client->descriptor_ = connectTo(socketPath);
    if (client->descriptor_ < 0)
        throw AutomationError(hr::NotRunning, u"No server answers at " + socketPath.toStdU16String());
    return client;
}

std::shared_ptr<SocketClient> SocketClient::of(const ObjectRef& object)
{
    const auto* proxy = dynamic_cast<const SocketProxy*>(object.get());
    return proxy ? proxy->client() : nullptr;
}

SocketClient::SocketClient(Passkey, std::chrono::milliseconds retryInterval)
    : retryInterval_(retryInterval),
      codec_([this](const ObjectRef& o) { return exportObject(o); }, [this](int64_t id) { return importObject(id); })
{
}

SocketClient::~SocketClient()
{
    closeDescriptor();
}

void SocketClient::closeDescriptor()
{
    if (descriptor_ >= 0)
        ::close(descriptor_);
    descriptor_ = -1;
}

bool SocketClient::isConnected() const
{
    if (broken_ || descriptor_ < 0)
        return false;
    // Nothing is due between calls; a hang-up shows without reading.
    pollfd watch{descriptor_, POLLRDHUP, 0};
    return ::poll(&watch, 1, 0) == 0 || !(watch.revents & (POLLHUP | POLLRDHUP | POLLERR | POLLNVAL));
}

ObjectRef SocketClient::rootObject()
{
    Request request;
    request.field(key::type).integer(static_cast<int64_t>(MessageType::Root));
    return roundTrip(request).toObject();
}

Variant SocketClient::invoke(int64_t objectId, InvokeKind kind, std::u16string_view member,
                             std::span<const Variant> args, const Variant& value)
{
    Request request;
    request.field(key::type).integer(static_cast<int64_t>(MessageType::Invoke));
    request.field(key::object).integer(objectId);
    request.field(key::kind).integer(static_cast<int64_t>(kind));
    VariantCodec::writeString(member, request.field(key::member));
    if (!args.empty())
        codec_.writeList(args, request.field(key::args));
    if (kind == InvokeKind::Put)
        codec_.write(value, request.field(key::value));
    return roundTrip(request);
}

Variant SocketClient::service(std::u16string_view name, std::span<const Variant> args)
{
    Request request;
    request.field(key::type).integer(static_cast<int64_t>(MessageType::Service));
    VariantCodec::writeString(name, request.field(key::name));
    codec_.writeList(args, request.field(key::args));
    return roundTrip(request);
}

int64_t SocketClient::exportedObjectCount()
{
    Request request;
    request.field(key::type).integer(static_cast<int64_t>(MessageType::TableSize));
    return roundTrip(request).toInt();
}

void SocketClient::releaseProxy(int64_t objectId)
{
    const auto found = proxies_.find(objectId);
    if (found == proxies_.end() || !found->second.proxy.expired())
        return;
    const int64_t references = found->second.references;
    proxies_.erase(found);
    // Not isConnected(): a release follows every dropped proxy, and a hang-up shows in the
    // send anyway.
    if (broken_ || descriptor_ < 0)
        return;
    try {
        Request message;
        message.field(key::type).integer(static_cast<int64_t>(MessageType::Release));
        message.field(key::object).integer(objectId);
        message.field(key::count).integer(references);
        // No answer is awaited.
        send(message.frame());
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

CborWriter& SocketClient::Request::field(QLatin1StringView name)
{
    ++fields_;
    cbor_.text(name);
    return cbor_;
}

QByteArray SocketClient::Request::frame(std::optional<int64_t> id) const
{
    FrameWriter frame;
    frame.cbor().map(fields_ + (id ? 1 : 0));
    frame.append(body_);
    if (id) {
        frame.cbor().text(key::id);
        frame.cbor().integer(*id);
    }
    return frame.take();
}

Variant SocketClient::roundTrip(const Request& request)
{
    for (;;) {
        // A request asked again after a busy answer goes with a new id.
        const int64_t id = nextRequestId_++;
        send(request.frame(id));
        MessageFields reply;
        awaitReply(id, reply);
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
    if (broken_ || descriptor_ < 0)
        disconnected(u"The connection to the server is closed");
    qsizetype sent = 0;
    for (;;) {
        const qsizetype put = sendAvailable(descriptor_, frame.constData() + sent, frame.size() - sent);
        if (put < 0)
            disconnected(u"The server has closed the connection");
        sent += put;
        if (sent == frame.size())
            return;
        // The server has not read what came before; wait for room, as long as it lives.
        pollfd watch{descriptor_, POLLOUT, 0};
        if (::poll(&watch, 1, pollMilliseconds) > 0 && (watch.revents & (POLLHUP | POLLERR | POLLNVAL)))
            disconnected(u"The server has closed the connection");
    }
}

void SocketClient::awaitReply(int64_t id, MessageFields& reply)
{
    for (;;) {
        std::optional<QByteArray> frame;
        try {
            frame = input_.takeFrame();
        } catch (const ProtocolError&) {
            disconnected(u"The server sent a malformed answer");
        }
        if (frame) {
            if (!reply.parse(*frame) ||
                reply.value(key::type).toInteger() != static_cast<qint64>(MessageType::Reply) ||
                reply.value(key::id).toInteger(-1) != id)
                disconnected(u"The server sent a malformed answer");
            return;
        }
        // A live server may take minutes (its user is picking); a dead one ends the stream,
        // which ends the wait at once. The receive timeout only brings the loop round again.
        const ssize_t got = input_.receive(descriptor_, 0);
        if (got == 0 || (got < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR))
            disconnected(u"The server has closed the connection");
    }
}

void SocketClient::disconnected(std::u16string_view why)
{
    broken_ = true;
    closeDescriptor();
    throw AutomationError(hr::Disconnected, std::u16string(why));
}

}  // namespace automation::socket
