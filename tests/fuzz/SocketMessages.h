#pragma once

// Requests of the socket transport as a client sends them, for the seeds of the socket
// fuzzers and the tests that replay their findings.
#include "automation/Variant.h"
#include "automation/socket/FrameBuffer.h"
#include "automation/socket/Protocol.h"
#include "automation/socket/VariantCodec.h"

#include <QByteArray>
#include <QCborMap>

#include <string_view>
#include <vector>

namespace fuzzing {

inline automation::socket::VariantCodec plainCodec()
{
    return automation::socket::VariantCodec([](const automation::ObjectRef&) -> int64_t { return 1; },
                                            [](int64_t) -> automation::ObjectRef { return nullptr; });
}

inline QByteArray request(automation::socket::MessageType type, int64_t id)
{
    QCborMap map;
    map.insert(automation::socket::key::type, static_cast<qint64>(type));
    map.insert(automation::socket::key::id, static_cast<qint64>(id));
    return map.toCborValue().toCbor();
}

inline QByteArray invokeRequest(int64_t id, int64_t object, automation::socket::InvokeKind kind,
                                std::u16string_view member, const std::vector<automation::Variant>& args = {},
                                const automation::Variant* value = nullptr)
{
    namespace key = automation::socket::key;
    const auto codec = plainCodec();
    QCborMap map;
    map.insert(key::type, static_cast<qint64>(automation::socket::MessageType::Invoke));
    map.insert(key::id, static_cast<qint64>(id));
    map.insert(key::object, static_cast<qint64>(object));
    map.insert(key::kind, static_cast<qint64>(kind));
    map.insert(key::member, automation::socket::VariantCodec::encodeString(member));
    map.insert(key::args, codec.encodeList(args));
    if (value)
        map.insert(key::value, codec.encode(*value));
    return map.toCborValue().toCbor();
}

inline QByteArray releaseMessage(int64_t object, int64_t count)
{
    namespace key = automation::socket::key;
    QCborMap map;
    map.insert(key::type, static_cast<qint64>(automation::socket::MessageType::Release));
    map.insert(key::object, static_cast<qint64>(object));
    map.insert(key::count, static_cast<qint64>(count));
    return map.toCborValue().toCbor();
}

// The server fuzzer's input: each message behind a two-byte big-endian length.
inline QByteArray serverInput(const std::vector<QByteArray>& messages)
{
    QByteArray input;
    for (const QByteArray& m : messages) {
        input += static_cast<char>((m.size() >> 8) & 0xFF);
        input += static_cast<char>(m.size() & 0xFF);
        input += m;
    }
    return input;
}

inline std::vector<QByteArray> messagesOf(std::string_view input)
{
    std::vector<QByteArray> messages;
    while (input.size() >= 2) {
        const size_t length = (static_cast<unsigned char>(input[0]) << 8) | static_cast<unsigned char>(input[1]);
        input.remove_prefix(2);
        const size_t n = std::min(length, input.size());
        messages.emplace_back(input.data(), static_cast<qsizetype>(n));
        input.remove_prefix(n);
    }
    return messages;
}

// A session's worth of requests: the root, the document, its model space and an entity.
inline std::vector<std::vector<QByteArray>> seedConversations()
{
    using automation::Variant;
    using automation::socket::InvokeKind;
    using automation::socket::MessageType;
    const Variant text(u"NEW");
    return {
        {request(MessageType::Root, 1)},
        {request(MessageType::TableSize, 1)},
        {request(MessageType::Root, 1), invokeRequest(2, 1, InvokeKind::Get, u"ActiveDocument"),
         invokeRequest(3, 2, InvokeKind::Get, u"ModelSpace"), invokeRequest(4, 3, InvokeKind::Get, u"Count"),
         invokeRequest(5, 3, InvokeKind::Call, u"Item", {Variant(int32_t(0))}),
         invokeRequest(6, 4, InvokeKind::Put, u"TextString", {}, &text), releaseMessage(4, 1),
         request(MessageType::TableSize, 7)},
        {request(MessageType::Root, 1), invokeRequest(2, 1, InvokeKind::Get, u"ActiveDocument"),
         invokeRequest(3, 2, InvokeKind::Get, u"SelectionSets"),
         invokeRequest(4, 3, InvokeKind::Call, u"Add", {Variant(u"SSTEMP")}),
         invokeRequest(5, 4, InvokeKind::Call, u"Select",
                       {Variant(int32_t(5)), Variant::omitted(), Variant::omitted(), Variant::int16Array({0}),
                        Variant::variantArray({Variant(u"TEXT")})}),
         invokeRequest(6, 4, InvokeKind::Get, u"Count"), invokeRequest(7, 4, InvokeKind::Call, u"Delete")},
        {request(MessageType::Root, 1), invokeRequest(2, 1, InvokeKind::Call, u"ZoomCenter",
                                                       {Variant::point(1, 2, 0), Variant(10.0)}),
         invokeRequest(3, 1, InvokeKind::Get, u"ActiveDocument"),
         invokeRequest(4, 2, InvokeKind::Call, u"GetVariable", {Variant(u"VIEWSIZE")}),
         invokeRequest(5, 2, InvokeKind::Call, u"StartUndoMark"), invokeRequest(6, 2, InvokeKind::Call, u"EndUndoMark")},
        {request(MessageType::Service, 1), releaseMessage(9, 3), request(MessageType::Reply, 2)},
    };
}

}  // namespace fuzzing
