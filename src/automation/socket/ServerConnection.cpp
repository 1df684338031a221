#include "automation/socket/ServerConnection.h"

#include "automation/AutomationError.h"
#include "automation/socket/CborWriter.h"
#include "automation/socket/Protocol.h"
#include "automation/socket/ServerState.h"
#include "common/Utf.h"

#include <QCborValue>
#include <QSocketNotifier>

#include <algorithm>
#include <cerrno>
#include <limits>

#include <sys/socket.h>
#include <unistd.h>

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

int64_t integerField(const MessageFields& map, QLatin1StringView name, int64_t min, int64_t max)
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

ServerConnection::ServerConnection(std::shared_ptr<ServerState> state, int descriptor)
    : state_(std::move(state)),
      descriptor_(descriptor),
      table_(&state_->exportedObjects),
      codec_([this](const ObjectRef& o) { return table_.exportObject(o); },
             [this](int64_t id) { return table_.lookup(id); })
{
}

namespace {

// The connection may end inside its notifier's own signal, so the notifier goes later.
void retire(std::unique_ptr<QSocketNotifier>& notifier)
{
    if (!notifier)
        return;
    notifier->setEnabled(false);
    QObject::disconnect(notifier.get(), nullptr, nullptr, nullptr);
    notifier.release()->deleteLater();
}

}  // namespace

ServerConnection::~ServerConnection()
{
    retire(readNotifier_);
    retire(writeNotifier_);
    if (descriptor_ >= 0)
        ::close(descriptor_);
}

void ServerConnection::start()
{
    // Requests that arrived before the notifier existed are seen on its first round through
    // the event loop, not from here, so that no call runs inside the listener's signal.
    const std::weak_ptr<ServerConnection> weak = weak_from_this();
    readNotifier_ = std::make_unique<QSocketNotifier>(descriptor_, QSocketNotifier::Read);
    QObject::connect(readNotifier_.get(), &QSocketNotifier::activated, readNotifier_.get(), [weak] {
        if (const auto self = weak.lock())
            self->readAvailable();
    });
    writeNotifier_ = std::make_unique<QSocketNotifier>(descriptor_, QSocketNotifier::Write);
    writeNotifier_->setEnabled(false);
    QObject::connect(writeNotifier_.get(), &QSocketNotifier::activated, writeNotifier_.get(), [weak] {
        if (const auto self = weak.lock())
            self->writePending();
    });
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
    retire(readNotifier_);
    retire(writeNotifier_);
    if (descriptor_ >= 0)
        ::close(descriptor_);
    descriptor_ = -1;
    output_.clear();
}

void ServerConnection::readAvailable()
{
    // A call below may spin a nested event loop that delivers further frames of this same
    // connection to a nested readAvailable; frames are taken out of the buffer before they
    // are handled so that each is handled exactly once.
    const auto self = shared_from_this();
    if (closed_)
        return;
    bool ended = false;
    for (;;) {
        qsizetype requested = 0;
        const ssize_t got = input_.receive(descriptor_, MSG_DONTWAIT, &requested);
        if (got > 0) {
            if (got < requested)
                break;  // that was all there was
            continue;
        }
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            break;
        ended = true;  // the client hung up, or the connection failed
        break;
    }
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
    if (ended)
        close();
}

void ServerConnection::handle(const QByteArray& payload)
{
    MessageFields map;
    if (!map.parse(payload))
        throw ProtocolError("not a CBOR map");
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

void ServerConnection::handleRequest(const MessageFields& request, int64_t id)
{
    const auto type = static_cast<MessageType>(request.value(key::type).toInteger());
    try {
        switch (type) {
        case MessageType::TableSize:
            reply(id, okBody(QCborValue(static_cast<qint64>(table_.size()))));
            return;
        case MessageType::Service:
            answer(okFrame(id, service(request)));
            return;
        case MessageType::Root:
        case MessageType::Invoke: {
            if (mustAnswerBusy()) {
                answerBusy(id);
                return;
            }
            QByteArray frame;
            try {
                CallScope scope(*state_);
                frame = okFrame(id, type == MessageType::Root ? Variant(state_->root) : invoke(request));
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
            answer(frame);
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

Variant ServerConnection::invoke(const MessageFields& request)
{
    const ObjectRef target = table_.lookup(integerField(request, key::object, 1, std::numeric_limits<int64_t>::max()));
    const auto kind = static_cast<InvokeKind>(
        integerField(request, key::kind, static_cast<int64_t>(InvokeKind::Get), static_cast<int64_t>(InvokeKind::Call)));
    const std::u16string member = VariantCodec::decodeString(request.value(key::member));
    const std::vector<Variant> args = codec_.decodeList(request.value(key::args));
    switch (kind) {
    case InvokeKind::Get: return target->get(member, args);
    case InvokeKind::Call: return target->call(member, args);
    case InvokeKind::Put: {
        const Variant value = codec_.decode(request.value(key::value));
        target->put(member, value, args);
        return {};
    }
    }
    return {};
}

Variant ServerConnection::service(const MessageFields& request)
{
    const std::u16string name = VariantCodec::decodeString(request.value(key::name));
    const std::vector<Variant> args = codec_.decodeList(request.value(key::args));
    for (const auto& [serviceName, handler] : state_->services) {
        if (memberNameEquals(serviceName, name))
            return handler(args);
    }
    throw AutomationError(hr::MemberNotFound, u"Unknown window service: " + name);
}

void ServerConnection::reply(int64_t id, QCborMap body)
{
    if (closed_)
        return;
    body.insert(key::type, static_cast<qint64>(MessageType::Reply));
    body.insert(key::id, static_cast<qint64>(id));
    answer(FrameBuffer::frame(body.toCborValue().toCbor()));
}

QByteArray ServerConnection::okFrame(int64_t id, const Variant& value) const
{
    // The keys in the order reply() gives them.
    FrameWriter frame;
    CborWriter& cbor = frame.cbor();
    cbor.map(4);
    cbor.text(key::status);
    cbor.integer(static_cast<int64_t>(ReplyStatus::Ok));
    cbor.text(key::value);
    codec_.write(value, cbor);
    cbor.text(key::type);
    cbor.integer(static_cast<int64_t>(MessageType::Reply));
    cbor.text(key::id);
    cbor.integer(id);
    return frame.take();
}

void ServerConnection::answer(const QByteArray& frame)
{
    if (!closed_)
        write(frame);
}

void ServerConnection::write(const QByteArray& frame)
{
    // Behind an answer that is still waiting, this one waits too.
    if (!output_.isEmpty()) {
        output_.append(frame);
        return;
    }
    const qsizetype sent = sendAvailable(descriptor_, frame.constData(), frame.size());
    if (sent < 0) {
        close();  // the client is gone
        return;
    }
    if (sent < frame.size()) {
        // The client is not reading yet; the rest goes when the socket has room.
        output_ = frame.mid(sent);
        writeNotifier_->setEnabled(true);
    }
}

void ServerConnection::writePending()
{
    const auto self = shared_from_this();
    if (!closed_ && !output_.isEmpty()) {
        const qsizetype sent = sendAvailable(descriptor_, output_.constData(), output_.size());
        if (sent < 0) {
            close();
            return;
        }
        output_.remove(0, sent);
        if (!output_.isEmpty())
            return;  // still full
    }
    if (writeNotifier_)
        writeNotifier_->setEnabled(false);
}

}  // namespace automation::socket
