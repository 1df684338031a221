#pragma once

#include "automation/Object.h"
#include "automation/socket/CborWriter.h"
#include "automation/socket/FrameBuffer.h"
#include "automation/socket/MessageFields.h"
#include "automation/socket/Protocol.h"
#include "automation/socket/VariantCodec.h"

#include <QCborMap>
#include <QString>

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string_view>
#include <unordered_map>

namespace automation::socket {

class SocketProxy;

// One connection to a SocketServer, shared by the proxies of the objects obtained through
// it; it closes when the last of them is dropped.
//
// Every request is one round trip: the request is written and the thread blocks on the
// socket until the answer arrives, without running an event loop, so no window message is
// handled while a call waits. The client owns the connected descriptor outright, with no
// QObject watching it, so the caller's event loop between calls never touches its bytes. A busy answer is followed, after retryInterval, by the same
// request again, without limit: the server may be waiting for its user. A server that
// dies, or closes the connection, fails the waiting call with hr::Disconnected at once.
//
// A client belongs to the thread that connected it.
class SocketClient : public std::enable_shared_from_this<SocketClient> {
    struct Passkey {};

public:
    static constexpr std::chrono::milliseconds defaultRetryInterval{1000};

    // Throws AutomationError(hr::NotRunning) when no server answers at socketPath.
    static std::shared_ptr<SocketClient> connect(const QString& socketPath,
                                                 std::chrono::milliseconds retryInterval = defaultRetryInterval);

    // The connection an object came through; null for an object that is not a proxy.
    static std::shared_ptr<SocketClient> of(const ObjectRef& object);

    SocketClient(Passkey, std::chrono::milliseconds retryInterval);
    ~SocketClient();
    SocketClient(const SocketClient&) = delete;
    SocketClient& operator=(const SocketClient&) = delete;

    // The object the server serves.
    ObjectRef rootObject();

    Variant invoke(int64_t objectId, InvokeKind kind, std::u16string_view member, std::span<const Variant> args,
                   const Variant& value = {});

    // A window-service request (names in WindowService.h), answered by the server's
    // handler of that name. Served even while another call runs there.
    Variant service(std::u16string_view name, std::span<const Variant> args = {});

    // How many objects the server holds for this connection, once it has taken in every
    // release sent before.
    int64_t exportedObjectCount();

    bool isConnected() const;

    // A proxy's last reference is gone.
    void releaseProxy(int64_t objectId);

private:
    struct ProxyEntry {
        std::weak_ptr<SocketProxy> proxy;
        int64_t references = 0;  // how many times the server sent this id
    };

    // A request's fields as they go on the wire, the id (which changes when the request is
    // asked again) left to the frame.
    class Request {
    public:
        Request() = default;
        Request(const Request&) = delete;
        Request& operator=(const Request&) = delete;
        CborWriter& field(QLatin1StringView name);  // writes the key; the value follows
        QByteArray frame(std::optional<int64_t> id = std::nullopt) const;

    private:
        QByteArray body_;
        CborWriter cbor_{body_};
        size_t fields_ = 0;
    };

    ObjectRef importObject(int64_t id);
    int64_t exportObject(const ObjectRef& object) const;
    Variant roundTrip(const Request& request);
    void send(const QByteArray& frame);
    void awaitReply(int64_t id, MessageFields& reply);
    [[noreturn]] void disconnected(std::u16string_view why);

    void closeDescriptor();

    int descriptor_ = -1;
    std::chrono::milliseconds retryInterval_;
    FrameBuffer input_;
    VariantCodec codec_;
    std::unordered_map<int64_t, ProxyEntry> proxies_;
    int64_t nextRequestId_ = 1;
    bool broken_ = false;
};

}  // namespace automation::socket
