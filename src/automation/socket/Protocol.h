#pragma once

#include <QLatin1StringView>

#include <cstdint>
#include <stdexcept>

// The messages exchanged between a client and a server of the local-socket transport.
//
// Every message is one frame: a 4-byte big-endian length followed by that many bytes of
// CBOR holding one map. Clients send Root, Invoke, Service, TableSize (each answered by
// exactly one Reply, in order) and Release (never answered).
namespace automation::socket {

enum class MessageType : int64_t {
    Root = 1,       // export the served root object and answer its id
    Invoke = 2,     // get, put or call a member of an exported object
    Release = 3,    // the client dropped `count` references to an object id
    Service = 4,    // a window-service request, outside the object model
    TableSize = 5,  // how many objects this connection holds exported
    Reply = 6,
};

enum class InvokeKind : int64_t { Get = 1, Put = 2, Call = 3 };

enum class ReplyStatus : int64_t {
    Ok = 0,
    Error = 1,  // failed call: code and description
    Busy = 2,   // the server is in the middle of something; ask again later
};

// Map keys.
namespace key {
inline constexpr QLatin1StringView type{"type"};
inline constexpr QLatin1StringView id{"id"};
inline constexpr QLatin1StringView object{"object"};
inline constexpr QLatin1StringView member{"member"};
inline constexpr QLatin1StringView kind{"kind"};
inline constexpr QLatin1StringView args{"args"};
inline constexpr QLatin1StringView value{"value"};
inline constexpr QLatin1StringView status{"status"};
inline constexpr QLatin1StringView code{"code"};
inline constexpr QLatin1StringView text{"text"};
inline constexpr QLatin1StringView count{"count"};
inline constexpr QLatin1StringView name{"name"};
}  // namespace key

// Frames larger than this are refused; nothing the object model exchanges comes close.
inline constexpr uint32_t maxFrameSize = 16u * 1024u * 1024u;

// A message that cannot be understood. The receiver answers an error or drops the peer;
// it never lets this escape to its event loop.
class ProtocolError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace automation::socket
